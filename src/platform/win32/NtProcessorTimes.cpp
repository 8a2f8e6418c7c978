#include "platform/win32/NtProcessorTimes.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace kestrune::platform::win32 {

namespace {

constexpr int kSystemBasicInformation = 0;
constexpr int kSystemPerformanceInformation = 2;
constexpr int kSystemTimeOfDayInformation = 3;
constexpr long kStatusInfoLengthMismatch = static_cast<long>(0xC0000004L);

// The leading fields of the system's own structures. The basic information must be asked
// for with its exact size, which differs between 32- and 64-bit processes (44 and 64
// bytes) because of the pointer-sized fields; declaring them here keeps that right for both.
struct BasicInformation {
    ULONG reserved;
    ULONG timerResolution;
    ULONG pageSize;
    ULONG physicalPages;
    ULONG lowestPhysicalPage;
    ULONG highestPhysicalPage;
    ULONG allocationGranularity;
    ULONG_PTR minimumUserAddress;
    ULONG_PTR maximumUserAddress;
    ULONG_PTR activeProcessorsMask;
    CCHAR processorCount;
};

// Only the first two times are read; the older systems' 32-byte size is what every
// version accepts.
struct TimeOfDayInformation {
    LARGE_INTEGER bootTime;
    LARGE_INTEGER currentTime;
    LARGE_INTEGER timeZoneBias;
    ULONG timeZoneId;
    ULONG reserved;
};

}  // namespace

NtProcessorTimes::NtProcessorTimes() {
    if (const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll"))
        query_ =
            reinterpret_cast<QueryFunction>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQuerySystemInformation")));
}

std::optional<int> NtProcessorTimes::ProcessorCount() {
    BasicInformation basic{};
    if (!query_ || query_(kSystemBasicInformation, &basic, sizeof(basic), nullptr) < 0) return std::nullopt;
    if (basic.processorCount <= 0) return std::nullopt;
    return static_cast<int>(basic.processorCount);
}

std::optional<std::int64_t> NtProcessorTimes::CurrentTime() {
    TimeOfDayInformation time{};
    if (!query_ || query_(kSystemTimeOfDayInformation, &time, sizeof(time), nullptr) < 0) return std::nullopt;
    return time.currentTime.QuadPart;
}

std::optional<std::int64_t> NtProcessorTimes::IdleTime() {
    if (!query_) return std::nullopt;
    // The performance structure has grown with each Windows version; a larger buffer is
    // accepted, and a too-small one is answered with the size wanted.
    std::vector<unsigned char> buffer(512);
    for (int attempt = 0; attempt < 2; ++attempt) {
        unsigned long needed = 0;
        const long status =
            query_(kSystemPerformanceInformation, buffer.data(), static_cast<unsigned long>(buffer.size()), &needed);
        if (status == kStatusInfoLengthMismatch && needed > buffer.size()) {
            buffer.resize(needed);
            continue;
        }
        if (status < 0) return std::nullopt;
        std::int64_t idle = 0;
        std::memcpy(&idle, buffer.data(), sizeof(idle));
        return idle;
    }
    return std::nullopt;
}

}  // namespace kestrune::platform::win32
