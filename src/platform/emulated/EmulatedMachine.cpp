// Placeholder parts until the emulated machine is built: an empty registry and shell.
#include "platform/emulated/EmulatedMachine.h"

namespace kestrune::platform {

namespace {

class NullRegistry final : public Registry {
public:
    bool KeyExists(RootKey, std::string_view) override { return false; }
    std::optional<std::vector<RegistryValue>> EnumValues(RootKey, std::string_view) override { return std::nullopt; }
    std::optional<RegistryValue> QueryValue(RootKey, std::string_view, std::string_view) override {
        return std::nullopt;
    }
    RegistryStatus SetValue(RootKey, std::string_view, const RegistryValue&) override { return {2}; }
    RegistryStatus DeleteValue(RootKey, std::string_view, std::string_view) override { return {2}; }
    RegistryStatus CreateKey(RootKey, std::string_view) override { return {5}; }
};

class NullShell final : public Shell {
public:
    std::string SpecialFolder(int) override { return ""; }
    std::optional<ShortcutInfo> ReadShortcut(const std::string&) override { return std::nullopt; }
    bool WriteShortcut(const std::string&, const ShortcutInfo&) override { return false; }
    bool OpenDocument(const std::string&) override { return false; }
    bool OpenFolder(const std::string&) override { return false; }
};

class NullProcesses final : public Processes {
public:
    std::vector<ProcessInfo> List() override { return {}; }
    std::string PathOf(std::uint32_t) override { return ""; }
    bool SetPriorityClass(std::uint32_t, std::uint32_t) override { return false; }
    int SetPriorityClassByName(const std::string&, std::uint32_t) override { return 0; }
    bool Terminate(std::uint32_t) override { return false; }
    int EnablePrivilege(const std::string&) override { return 0; }
    void RaiseOwnPriority() override {}
};

class NullTimes final : public ProcessorTimes {
public:
    std::optional<int> ProcessorCount() override { return std::nullopt; }
    std::optional<std::int64_t> CurrentTime() override { return std::nullopt; }
    std::optional<std::int64_t> IdleTime() override { return std::nullopt; }
};

class NullLauncher final : public Launcher {
public:
    LaunchResult StartCommand(const std::string&, ShowWindow) override { return {false, 2, "not available"}; }
};

}  // namespace

struct EmulatedMachine::Parts {
    NullRegistry registry;
    NullShell shell;
    NullProcesses processes;
    NullTimes times;
    NullLauncher launcher;
};

EmulatedMachine::EmulatedMachine(std::string root) : root_(std::move(root)), parts_(std::make_unique<Parts>()) {}
EmulatedMachine::~EmulatedMachine() = default;
Registry& EmulatedMachine::registry() { return parts_->registry; }
Shell& EmulatedMachine::shell() { return parts_->shell; }
Processes& EmulatedMachine::processes() { return parts_->processes; }
ProcessorTimes& EmulatedMachine::processorTimes() { return parts_->times; }
Launcher& EmulatedMachine::launcher() { return parts_->launcher; }

}  // namespace kestrune::platform
