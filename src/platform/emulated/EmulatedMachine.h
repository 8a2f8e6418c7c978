#pragma once
// The emulated Windows machine kept in one folder (the machine root): registry files, the two
// Startup folders with their shortcut files, and the real Linux processes and processor times.

#include <memory>
#include <string>

#include "platform/Launcher.h"
#include "platform/Processes.h"
#include "platform/ProcessorTimes.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

namespace kestrune::platform {

class EmulatedRegistry;
class MachineLayout;

class EmulatedMachine {
public:
    // Creates the root with an empty layout when it does not exist yet, and any missing part
    // of the layout (see MachineLayout).
    explicit EmulatedMachine(std::string root);
    // The machine tool acts as the machine's administrator: what refuses the program's changes
    // does not refuse the tool's (see Refusals).
    void IgnoreRefusals();
    ~EmulatedMachine();

    const std::string& Root() const { return root_; }
    Registry& registry();
    Shell& shell();
    Processes& processes();
    ProcessorTimes& processorTimes();
    Launcher& launcher();
    // The registry with the machine tool's extra operations (import, export, deleting keys).
    EmulatedRegistry& emulatedRegistry();
    const MachineLayout& layout() const;

private:
    std::string root_;
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace kestrune::platform
