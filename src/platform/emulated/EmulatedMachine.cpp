#include "platform/emulated/EmulatedMachine.h"

#include "platform/emulated/EmulatedRegistry.h"
#include "platform/emulated/EmulatedShell.h"
#include "platform/emulated/LinuxProcesses.h"
#include "platform/emulated/LinuxProcessorTimes.h"
#include "platform/emulated/MachineLayout.h"
#include "platform/emulated/ShellLauncher.h"

namespace kestrune::platform {

struct EmulatedMachine::Parts {
    explicit Parts(const std::string& root) : layout(root), registry(layout.Root()), shell(layout, registry) {
        layout.Ensure(registry);
    }
    MachineLayout layout;
    EmulatedRegistry registry;
    EmulatedShell shell;
    LinuxProcesses processes;
    LinuxProcessorTimes times;
    ShellLauncher launcher;
};

EmulatedMachine::EmulatedMachine(std::string root) : root_(std::move(root)), parts_(std::make_unique<Parts>(root_)) {}
EmulatedMachine::~EmulatedMachine() = default;
void EmulatedMachine::IgnoreRefusals() {
    parts_->registry.IgnoreRefusals();
    parts_->shell.IgnoreRefusals();
}
Registry& EmulatedMachine::registry() { return parts_->registry; }
Shell& EmulatedMachine::shell() { return parts_->shell; }
Processes& EmulatedMachine::processes() { return parts_->processes; }
ProcessorTimes& EmulatedMachine::processorTimes() { return parts_->times; }
Launcher& EmulatedMachine::launcher() { return parts_->launcher; }
EmulatedRegistry& EmulatedMachine::emulatedRegistry() { return parts_->registry; }
const MachineLayout& EmulatedMachine::layout() const { return parts_->layout; }

}  // namespace kestrune::platform
