#include "platform/win32/Win32Processes.h"

#include <windows.h>
// after windows.h
#include <tlhelp32.h>

#include <algorithm>
#include <utility>

#include "platform/win32/Handles.h"
#include "platform/win32/Utf.h"

namespace kestrune::platform::win32 {

namespace {

// Long enough for any path the system can report, "\\?\" paths included.
constexpr DWORD kPathChars = 32768;

template <typename Visit>
void ForEachProcess(Visit visit) {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.Valid()) return;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry))
        visit(entry);
}

// The base priority that each priority class gives a process's threads.
int BasePriorityOfClass(DWORD priorityClass, int reported) {
    switch (priorityClass) {
        case IDLE_PRIORITY_CLASS: return 4;
        case BELOW_NORMAL_PRIORITY_CLASS: return 6;
        case NORMAL_PRIORITY_CLASS: return 8;
        case ABOVE_NORMAL_PRIORITY_CLASS: return 10;
        case HIGH_PRIORITY_CLASS: return 13;
        case REALTIME_PRIORITY_CLASS: return 24;
        default: return reported;
    }
}

std::string ImagePath(HANDLE process) {
    std::wstring path(kPathChars, L'\0');
    DWORD length = kPathChars;
    if (!QueryFullProcessImageNameW(process, 0, path.data(), &length)) return "";
    path.resize(length);
    return Narrow(path);
}

bool SetClassOf(DWORD id, DWORD priorityClass) {
    UniqueHandle process(OpenProcess(PROCESS_SET_INFORMATION, FALSE, id));
    return process.Valid() && ::SetPriorityClass(process.Get(), priorityClass) != 0;
}

std::int64_t Ticks(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

class Win32ProcessMeter final : public ProcessMeter {
public:
    explicit Win32ProcessMeter(UniqueHandle process) : process_(std::move(process)) {}

    CostReading Read() override {
        if (ended_) return {last_, true};
        // Whether it has ended is asked first: the figures read after that are then final.
        const bool ended = WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0;
        FILETIME created{}, exited{}, kernel{}, user{};
        if (GetProcessTimes(process_.Get(), &created, &exited, &kernel, &user))
            last_.cpuTime = std::max(last_.cpuTime, Ticks(kernel) + Ticks(user));
        IO_COUNTERS io{};
        if (GetProcessIoCounters(process_.Get(), &io)) {
            last_.bytesRead = std::max<std::uint64_t>(last_.bytesRead, io.ReadTransferCount);
            last_.bytesWritten = std::max<std::uint64_t>(last_.bytesWritten, io.WriteTransferCount);
        }
        ended_ = ended;
        return {last_, ended};
    }

private:
    UniqueHandle process_;
    ProcessCost last_;
    bool ended_ = false;
};

}  // namespace

std::vector<ProcessInfo> Win32Processes::List() {
    std::vector<ProcessInfo> processes;
    ForEachProcess([&](const PROCESSENTRY32W& entry) {
        ProcessInfo info;
        info.id = entry.th32ProcessID;
        info.name = Narrow(entry.szExeFile);
        info.basePriority = static_cast<int>(entry.pcPriClassBase);
        processes.push_back(std::move(info));
    });
    // Each process is opened after the snapshot is closed. Its class is asked for directly:
    // the snapshot's base priority is what Windows reports, but Wine fills that field with
    // its own class numbers (1 to 6), which would read as "Normal" for every process.
    for (ProcessInfo& info : processes) {
        UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, info.id));
        if (!process.Valid()) continue;
        info.path = ImagePath(process.Get());
        info.basePriority = BasePriorityOfClass(GetPriorityClass(process.Get()), info.basePriority);
    }
    return processes;
}

std::string Win32Processes::PathOf(std::uint32_t id) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    return process.Valid() ? ImagePath(process.Get()) : "";
}

bool Win32Processes::SetPriorityClass(std::uint32_t id, std::uint32_t priorityClass) {
    return SetClassOf(id, priorityClass);
}

int Win32Processes::SetPriorityClassByName(const std::string& name, std::uint32_t priorityClass) {
    const std::wstring wanted = Widen(name);
    int asked = 0;
    ForEachProcess([&](const PROCESSENTRY32W& entry) {
        if (CompareStringOrdinal(entry.szExeFile, -1, wanted.c_str(), static_cast<int>(wanted.size()), TRUE) !=
            CSTR_EQUAL)
            return;
        ++asked;
        SetClassOf(entry.th32ProcessID, priorityClass);
    });
    return asked;
}

bool Win32Processes::Terminate(std::uint32_t id) {
    UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, id));
    return process.Valid() && TerminateProcess(process.Get(), 0) != 0;
}

int Win32Processes::EnablePrivilege(const std::string& name) {
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &rawToken))
        return static_cast<int>(GetLastError());
    UniqueHandle token(rawToken);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, Widen(name).c_str(), &privileges.Privileges[0].Luid))
        return static_cast<int>(GetLastError());
    // The call succeeds even when the token lacks the privilege; only the error number
    // (ERROR_NOT_ALL_ASSIGNED) tells, so it is read in both cases.
    AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr);
    return static_cast<int>(GetLastError());
}

void Win32Processes::RaiseOwnPriority() {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    ::SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
}

std::unique_ptr<ProcessMeter> Win32Processes::Meter(std::uint32_t id) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, id));
    if (!process.Valid()) return nullptr;
    // An id that named a program which has already ended may be open for a while yet: it is
    // no program to follow any more.
    if (WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0) return nullptr;
    return std::make_unique<Win32ProcessMeter>(std::move(process));
}

}  // namespace kestrune::platform::win32
