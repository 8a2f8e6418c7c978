#pragma once
// Running processes, their priority classes, ending them, and the program's own privileges.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ProcessCost.h"

namespace kestrune::platform {

// Windows priority class values.
enum class PriorityClass : std::uint32_t {
    Idle = 0x40,
    BelowNormal = 0x4000,
    Normal = 0x20,
    AboveNormal = 0x8000,
    High = 0x80,
    Realtime = 0x100,
};

struct ProcessInfo {
    std::uint32_t id = 0;
    std::string name;      // the executable's file name, e.g. "notepad.exe"
    int basePriority = 8;  // Windows base priority: 4, 6, 8, 10, 13 or 24
    std::string path;      // full executable path; "" when it cannot be read
};

class Processes {
public:
    virtual ~Processes() = default;

    virtual std::vector<ProcessInfo> List() = 0;
    virtual std::string PathOf(std::uint32_t id) = 0;
    virtual bool SetPriorityClass(std::uint32_t id, std::uint32_t priorityClass) = 0;
    // Sets the class on every process whose name equals `name` ignoring case; answers how
    // many processes were asked.
    virtual int SetPriorityClassByName(const std::string& name, std::uint32_t priorityClass) = 0;
    virtual bool Terminate(std::uint32_t id) = 0;
    // 0 when the privilege was enabled, otherwise the system's error number.
    virtual int EnablePrivilege(const std::string& name) = 0;
    // Raises the program's own thread and process priority (a no-op where not allowed).
    virtual void RaiseOwnPriority() = 0;
    // Follows the cost of one process from now on; null when it cannot be followed (it has
    // gone, it may not be read, or this system cannot say).
    virtual std::unique_ptr<ProcessMeter> Meter(std::uint32_t id) {
        (void)id;
        return nullptr;
    }
};

}  // namespace kestrune::platform
