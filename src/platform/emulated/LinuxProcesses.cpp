#include "platform/emulated/LinuxProcesses.h"

#include <dirent.h>
#include <sched.h>
#include <signal.h>  // NOLINT(modernize-deprecated-headers): kill() is POSIX, which <csignal> need not declare
#include <sys/resource.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unordered_map>

#include "platform/emulated/LinuxProcessMeter.h"
#include "platform/emulated/TextCodec.h"

namespace kestrune::platform {

namespace {

struct ClassNice {
    PriorityClass priorityClass;
    int nice;
};

constexpr std::array<ClassNice, 6> kClassNice = {{
    {PriorityClass::Realtime, -20},
    {PriorityClass::High, -10},
    {PriorityClass::AboveNormal, -5},
    {PriorityClass::Normal, 0},
    {PriorityClass::BelowNormal, 10},
    {PriorityClass::Idle, 19},
}};

constexpr const char* kDeletedSuffix = " (deleted)";

// A process id that names one real process: 0 and values beyond pid_t would address the
// caller itself or a process group.
std::optional<pid_t> ProcessId(std::uint32_t id) {
    if (id == 0 || id > static_cast<std::uint32_t>(INT_MAX)) return std::nullopt;
    return static_cast<pid_t>(id);
}

std::string ReadSmallFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Link(const std::string& path) {
    std::array<char, PATH_MAX> buffer{};
    const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size() - 1);
    if (n <= 0) return "";
    std::string target(buffer.data(), static_cast<size_t>(n));
    const std::string suffix(kDeletedSuffix);
    if (target.size() > suffix.size() && target.compare(target.size() - suffix.size(), suffix.size(), suffix) == 0)
        target.resize(target.size() - suffix.size());
    return target;
}

std::string FileName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

struct StatFields {
    std::string command;  // the kernel's short name (comm)
    int parent = 0;
    int session = 0;
    int nice = 0;
    bool realtime = false;
};

// /proc/<id>/stat: the name sits in parentheses and may itself hold spaces and ")".
std::optional<StatFields> ReadStat(const std::string& folder) {
    const std::string text = ReadSmallFile(folder + "/stat");
    const size_t open = text.find('(');
    const size_t close = text.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open) return std::nullopt;
    StatFields fields;
    fields.command = text.substr(open + 1, close - open - 1);
    std::istringstream rest(text.substr(close + 1));
    std::string field;
    // Fields after the name count from 3 (state); parent is field 4, session 6, nice 19,
    // policy 41.
    for (int number = 3; rest >> field; ++number) {
        if (number == 4) fields.parent = std::atoi(field.c_str());
        if (number == 6) fields.session = std::atoi(field.c_str());
        if (number == 19) fields.nice = std::atoi(field.c_str());
        if (number == 41) {
            const int policy = std::atoi(field.c_str());
            fields.realtime = policy == SCHED_FIFO || policy == SCHED_RR;
            break;
        }
    }
    return fields;
}

// The executable's file name; for processes whose executable we may not see, the first word
// of the command line, and for kernel threads the kernel's name.
std::string NameOf(const std::string& folder, const std::string& path, const std::string& command) {
    if (!path.empty()) return FileName(path);
    const std::string commandLine = ReadSmallFile(folder + "/cmdline");
    const std::string first = commandLine.substr(0, commandLine.find('\0'));
    if (!first.empty()) {
        std::string name = FileName(first.substr(0, first.find(' ')));
        if (!name.empty()) return name;
    }
    return command;
}

std::vector<pid_t> Threads(pid_t id) {
    std::vector<pid_t> threads;
    const std::string folder = "/proc/" + std::to_string(id) + "/task";
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const int tid = std::atoi(entry->d_name);
            if (tid > 0) threads.push_back(tid);
        }
        ::closedir(dir);
    }
    return threads;
}

std::vector<SessionMember> SessionMembers() {
    std::vector<SessionMember> members;
    if (DIR* dir = ::opendir("/proc")) {
        while (const dirent* entry = ::readdir(dir)) {
            const int id = std::atoi(entry->d_name);
            if (id <= 0) continue;
            if (const auto stat = ReadStat(std::string("/proc/") + entry->d_name))
                members.push_back({id, stat->parent, stat->session});
        }
        ::closedir(dir);
    }
    return members;
}

// The weight of the process's session where the kernel groups by session; nothing where it
// does not (the file is absent), or when the session holds other programs too.
void SetSessionNice(pid_t id, int nice) {
    const std::string file = "/proc/" + std::to_string(id) + "/autogroup";
    if (::access(file.c_str(), W_OK) != 0) return;
    // The priority watcher asks again every few seconds: a session that already has the value
    // must not cost a walk over every process. The file reads "/autogroup-42 nice 0".
    std::string group, word;
    int current = 0;
    if (std::ifstream(file) >> group >> word >> current && current == nice) return;
    if (!SessionIsOwnedBy(id, SessionMembers())) return;
    std::ofstream(file) << nice;
}

// Windows' Idle class runs a program only when nothing else wants the processor. A nice
// value alone still lets the program finish its slice before a program that wakes gets its
// turn (milliseconds late, which a user feels), so Idle also takes the idle policy.
void SetIdlePolicy(pid_t thread, bool idle) {
    const int policy = ::sched_getscheduler(thread);
    const sched_param none{};
    if (idle && policy == SCHED_OTHER) ::sched_setscheduler(thread, SCHED_IDLE, &none);
    if (!idle && policy == SCHED_IDLE) ::sched_setscheduler(thread, SCHED_OTHER, &none);
}

}  // namespace

bool SessionIsOwnedBy(int id, const std::vector<SessionMember>& processes) {
    std::unordered_map<int, const SessionMember*> byId;
    for (const SessionMember& process : processes) byId[process.id] = &process;
    const auto self = byId.find(id);
    if (self == byId.end()) return false;
    const int session = self->second->session;
    // Our own session is the user's (a terminal, the desktop): never only this program.
    if (session == ::getsid(0)) return false;
    for (const SessionMember& member : processes) {
        if (member.session != session) continue;
        int at = member.id;
        // Bounded: a parent link read while processes come and go may form a loop.
        for (std::size_t steps = 0; at != id && steps <= processes.size(); ++steps) {
            const auto up = byId.find(at);
            if (up == byId.end()) return false;
            at = up->second->parent;
        }
        if (at != id) return false;
    }
    return true;
}

std::optional<int> NiceForClass(std::uint32_t priorityClass) {
    for (const ClassNice& entry : kClassNice) {
        if (static_cast<std::uint32_t>(entry.priorityClass) == priorityClass) return entry.nice;
    }
    return std::nullopt;
}

int BasePriorityForNice(int nice, bool realtimePolicy) {
    if (realtimePolicy || nice <= -20) return 24;
    if (nice <= -10) return 13;
    if (nice <= -5) return 10;
    if (nice <= 4) return 8;
    if (nice <= 14) return 6;
    return 4;
}

std::vector<ProcessInfo> LinuxProcesses::List() {
    std::vector<ProcessInfo> processes;
    DIR* dir = ::opendir("/proc");
    if (!dir) return processes;
    while (const dirent* entry = ::readdir(dir)) {
        char* end = nullptr;
        const unsigned long id = std::strtoul(entry->d_name, &end, 10);
        if (!end || *end != '\0' || id == 0 || id > INT_MAX) continue;
        const std::string folder = std::string("/proc/") + entry->d_name;
        const std::optional<StatFields> stat = ReadStat(folder);
        if (!stat) continue;  // ended while we looked
        ProcessInfo info;
        info.id = static_cast<std::uint32_t>(id);
        info.path = Link(folder + "/exe");
        info.name = NameOf(folder, info.path, stat->command);
        info.basePriority = BasePriorityForNice(stat->nice, stat->realtime);
        processes.push_back(std::move(info));
    }
    ::closedir(dir);
    return processes;
}

std::string LinuxProcesses::PathOf(std::uint32_t id) {
    const auto pid = ProcessId(id);
    return pid ? Link("/proc/" + std::to_string(*pid) + "/exe") : "";
}

bool LinuxProcesses::SetPriorityClass(std::uint32_t id, std::uint32_t priorityClass) {
    const auto pid = ProcessId(id);
    const auto nice = NiceForClass(priorityClass);
    if (!pid || !nice) return false;
    if (::setpriority(PRIO_PROCESS, static_cast<id_t>(*pid), *nice) != 0) return false;
    const bool idle = priorityClass == static_cast<std::uint32_t>(PriorityClass::Idle);
    SetIdlePolicy(*pid, idle);
    for (pid_t thread : Threads(*pid)) {
        if (thread == *pid) continue;
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(thread), *nice);
        SetIdlePolicy(thread, idle);
    }
    SetSessionNice(*pid, *nice);
    return true;
}

int LinuxProcesses::SetPriorityClassByName(const std::string& name, std::uint32_t priorityClass) {
    int asked = 0;
    for (const ProcessInfo& process : List()) {
        if (!EqualsIgnoreCase(process.name, name)) continue;
        ++asked;
        SetPriorityClass(process.id, priorityClass);
    }
    return asked;
}

bool LinuxProcesses::Terminate(std::uint32_t id) {
    const auto pid = ProcessId(id);
    return pid && ::kill(*pid, SIGKILL) == 0;
}

int LinuxProcesses::EnablePrivilege(const std::string&) { return 0; }

void LinuxProcesses::RaiseOwnPriority() {
    const int high = *NiceForClass(static_cast<std::uint32_t>(PriorityClass::High));
    errno = 0;
    const int current = ::getpriority(PRIO_PROCESS, 0);
    if (errno == 0 && current <= high) return;
    ::setpriority(PRIO_PROCESS, 0, high);  // refused without CAP_SYS_NICE, which is fine
}

std::unique_ptr<ProcessMeter> LinuxProcesses::Meter(std::uint32_t id) { return CreateLinuxProcessMeter(id); }

}  // namespace kestrune::platform
