#pragma once
// Processor times from NtQuerySystemInformation, found in ntdll at run time because it is
// not part of the documented import libraries.

#include "platform/ProcessorTimes.h"

namespace kestrune::platform::win32 {

class NtProcessorTimes final : public ProcessorTimes {
public:
    NtProcessorTimes();
    std::optional<int> ProcessorCount() override;
    std::optional<std::int64_t> CurrentTime() override;
    std::optional<std::int64_t> IdleTime() override;

private:
    using QueryFunction = long(__stdcall*)(int, void*, unsigned long, unsigned long*);
    QueryFunction query_ = nullptr;
};

}  // namespace kestrune::platform::win32
