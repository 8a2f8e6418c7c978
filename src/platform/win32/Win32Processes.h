#pragma once
// Running processes through a Toolhelp snapshot; priority classes, ending processes and
// the program's own privileges through the process and token functions.

#include "platform/Processes.h"

namespace kestrune::platform::win32 {

class Win32Processes final : public Processes {
public:
    std::vector<ProcessInfo> List() override;
    std::string PathOf(std::uint32_t id) override;
    bool SetPriorityClass(std::uint32_t id, std::uint32_t priorityClass) override;
    int SetPriorityClassByName(const std::string& name, std::uint32_t priorityClass) override;
    bool Terminate(std::uint32_t id) override;
    int EnablePrivilege(const std::string& name) override;
    void RaiseOwnPriority() override;
    // GetProcessTimes and GetProcessIoCounters on a handle held for as long as the meter
    // lives, which keeps the final figures readable after the program has ended. The
    // programs it started are not counted: Windows keeps no such tree outside a job.
    std::unique_ptr<ProcessMeter> Meter(std::uint32_t id) override;
};

}  // namespace kestrune::platform::win32
