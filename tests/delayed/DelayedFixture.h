#pragma once
// A program state for the delayed-run tests: the emulated machine's files and system, with a
// launcher that records instead of starting, a processor meter and processes that the test
// scripts, a shell that records shortcuts, manual timers and the scripted front end.

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>

#include "app/Text.h"
#include "delayed/DelayedRun.h"
#include "support/LogReader.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TestMachine.h"
#include "support/TestState.h"

namespace kestrune::test {

class RecordingLauncher : public platform::Launcher {
public:
    struct Launch {
        std::string command;
        int second;
        platform::ShowWindow show;
    };
    std::vector<Launch> launches;
    std::set<std::string> failing;  // commands that cannot be started
    int second = 0;                 // the test's clock, in ticks
    std::uint32_t nextId = 4000;    // the started processes' ids, one up per start

    platform::LaunchResult StartCommand(const std::string& commandLine, platform::ShowWindow show) override {
        launches.push_back({commandLine, second, show});
        if (failing.count(commandLine)) return {false, 2, "The system cannot find the file specified.", 0};
        return {true, 0, "", ++nextId};
    }
    std::vector<std::string> Commands() const {
        std::vector<std::string> out;
        for (const auto& l : launches) out.push_back(l.command);
        return out;
    }
};

class ScriptedMeter : public CpuMeter {
public:
    std::deque<int> readings;  // answered in order, then `otherwise`
    int otherwise = 5;
    int queries = 0;
    void Initialize() override {}
    int Query() override {
        ++queries;
        if (readings.empty()) return otherwise;
        const int reading = readings.front();
        readings.pop_front();
        return reading;
    }
    void Terminate() override {}
};

class ScriptedTimes : public platform::ProcessorTimes {
public:
    std::optional<int> processors = 1;
    std::optional<std::int64_t> now = 0;
    std::optional<std::int64_t> idle = 0;
    std::optional<int> ProcessorCount() override { return processors; }
    std::optional<std::int64_t> CurrentTime() override { return now; }
    std::optional<std::int64_t> IdleTime() override { return idle; }
};

// Keys and values kept in memory; key and value names compare ignoring case.
class MemoryRegistry : public platform::Registry {
public:
    std::map<std::string, std::map<std::string, platform::RegistryValue>> keys;  // by lower-case key
    std::vector<std::string> reads;                                              // "key|value" in order

    void Put(const std::string& key, const std::string& name, std::string data) {
        keys[ToLower(key)][ToLower(name)] = {name, platform::ValueType::Binary, std::move(data)};
    }
    bool KeyExists(platform::RootKey, std::string_view subkey) override { return keys.count(ToLower(subkey)) > 0; }
    std::optional<std::vector<platform::RegistryValue>> EnumValues(platform::RootKey, std::string_view) override {
        return std::nullopt;
    }
    std::optional<platform::RegistryValue> QueryValue(platform::RootKey root, std::string_view subkey,
                                                      std::string_view name) override {
        reads.push_back(std::string(subkey) + "|" + std::string(name));
        if (root != platform::RootKey::DynData) return std::nullopt;
        const auto key = keys.find(ToLower(subkey));
        if (key == keys.end()) return std::nullopt;
        const auto value = key->second.find(ToLower(name));
        if (value == key->second.end()) return std::nullopt;
        return value->second;
    }
    platform::RegistryStatus SetValue(platform::RootKey, std::string_view, const platform::RegistryValue&) override {
        return {5};
    }
    platform::RegistryStatus DeleteValue(platform::RootKey, std::string_view, std::string_view) override { return {5}; }
    platform::RegistryStatus CreateKey(platform::RootKey, std::string_view) override { return {5}; }
    // Holds only processor-usage values, which no view moves.
    platform::Registry& InView(platform::RegistryView) override { return *this; }
};

class RecordingShell : public platform::Shell {
public:
    std::string commonStartup;
    std::map<std::string, platform::ShortcutInfo> written;
    std::string SpecialFolder(int csidl) override {
        return csidl == platform::kCsidlCommonStartup ? commonStartup : "";
    }
    std::optional<platform::ShortcutInfo> ReadShortcut(const std::string& path) override {
        const auto found = written.find(path);
        if (found == written.end()) return std::nullopt;
        return found->second;
    }
    platform::Status WriteShortcut(const std::string& path, const platform::ShortcutInfo& info) override {
        written[path] = info;
        WriteText(path, "shortcut");
        return {};
    }
    platform::Status DeleteShortcut(const std::string& path) override {
        written.erase(path);
        return {std::remove(path.c_str()) == 0 ? 0 : platform::kErrorFileNotFound};
    }
    platform::Status RelocateFile(const std::string& from, const std::string& to) override {
        return {std::rename(from.c_str(), to.c_str()) == 0 ? 0 : platform::kErrorFileNotFound};
    }
    bool OpenDocument(const std::string&) override { return true; }
    bool OpenFolder(const std::string&) override { return true; }
};

// A process whose cost the test sets, and ends when it says so.
struct ScriptedCost {
    platform::ProcessCost cost;
    bool ended = false;
    int reads = 0;
};

class ScriptedCostMeter : public platform::ProcessMeter {
public:
    explicit ScriptedCostMeter(ScriptedCost& process) : process_(process) {}
    platform::CostReading Read() override {
        ++process_.reads;
        return {process_.cost, process_.ended};
    }

private:
    ScriptedCost& process_;
};

class ScriptedProcesses : public platform::Processes {
public:
    // By process id; a process without an entry cannot be followed.
    std::map<std::uint32_t, ScriptedCost> costs;
    std::unique_ptr<platform::ProcessMeter> Meter(std::uint32_t id) override {
        const auto found = costs.find(id);
        if (found == costs.end()) return nullptr;
        return std::make_unique<ScriptedCostMeter>(found->second);
    }

    std::vector<platform::ProcessInfo> running;
    std::vector<std::pair<std::string, std::uint32_t>> priorityByName;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> priorityById;
    std::vector<platform::ProcessInfo> List() override { return running; }
    std::string PathOf(std::uint32_t id) override {
        for (const auto& p : running)
            if (p.id == id) return p.path;
        return "";
    }
    // A running process takes the class, as the system would report it back.
    bool SetPriorityClass(std::uint32_t id, std::uint32_t priorityClass) override {
        priorityById.emplace_back(id, priorityClass);
        for (platform::ProcessInfo& process : running)
            if (process.id == id) process.basePriority = BaseOfClass(priorityClass);
        return true;
    }
    static int BaseOfClass(std::uint32_t priorityClass) {
        switch (static_cast<platform::PriorityClass>(priorityClass)) {
            case platform::PriorityClass::Idle: return 4;
            case platform::PriorityClass::BelowNormal: return 6;
            case platform::PriorityClass::AboveNormal: return 10;
            case platform::PriorityClass::High: return 13;
            case platform::PriorityClass::Realtime: return 24;
            default: return 8;
        }
    }
    int SetPriorityClassByName(const std::string& name, std::uint32_t priorityClass) override {
        priorityByName.emplace_back(name, priorityClass);
        return 1;
    }
    bool Terminate(std::uint32_t) override { return false; }
    int EnablePrivilege(const std::string&) override { return 0; }
    void RaiseOwnPriority() override {}
};

// The emulated machine's files, system and lock, with the scripted parts above.
class ScriptedPlatform : public platform::Platform {
public:
    TestMachine machine;
    MemoryRegistry memoryRegistry;
    RecordingShell recordingShell;
    ScriptedProcesses scriptedProcesses;
    ScriptedTimes scriptedTimes;
    RecordingLauncher recordingLauncher;

    platform::Registry& registry() override { return memoryRegistry; }
    platform::Shell& shell() override { return recordingShell; }
    platform::FileSystem& files() override { return machine.platform->files(); }
    platform::Processes& processes() override { return scriptedProcesses; }
    platform::ProcessorTimes& processorTimes() override { return scriptedTimes; }
    platform::Launcher& launcher() override { return recordingLauncher; }
    platform::InstanceLock& instanceLock() override { return machine.platform->instanceLock(); }
    platform::System& system() override { return machine.platform->system(); }
};

// What a run works on, as the session gives it: the state's parts and the status line on the
// scripted window.
inline RunParts PartsOf(TestState& state, ScriptedFrontEnd& fe) {
    return {state.model, state.services, state.options, state.view.slimlineMode,
            [&fe](const std::string& text) { fe.SetStatus(text); }};
}

class DelayedFixture : public ::testing::Test {
protected:
    DelayedFixture() : state(platform, clock) {
        state.InProgramFolder(platform.machine.appFolder).BeginLog("test begins");
        state.options.idleThreshold = kDefaultIdleThreshold;
        state.options.idleSeconds = kDefaultIdleSeconds;
        auto scripted = std::make_unique<ScriptedMeter>();
        meter = scripted.get();
        run.cpuMeter = std::move(scripted);
        run.timer = timers.Create(1000, [this] {
            CarryOut(
                OnDelayedRunTick(parts(), run), [this] { ++closeDowns; }, [this] { ++tripsToTray; });
        });
        state.model.events.Attach(launches);
    }

    void AddDelayed(const std::string& path, const std::string& delay, const std::string& priority = "",
                    bool ticked = true) {
        state.model.table(TableKind::Delayed).Add({FileNameOf(path), path, delay, "", priority}, ticked);
    }

    // Lets `seconds` seconds pass on the manual timers.
    void Seconds(int seconds) {
        for (int i = 0; i < seconds; ++i) {
            ++launcher().second;
            timers.Advance(1000);
        }
    }

    RunParts parts() { return PartsOf(state, fe); }

    // The log's texts after the fixture's own first line, without their time stamps.
    std::vector<std::string> LogTexts() { return test::LogTexts(state.paths.logPath, 1); }

    RecordingLauncher& launcher() { return platform.recordingLauncher; }
    std::vector<int> LaunchSeconds() {
        std::vector<int> out;
        for (const auto& l : launcher().launches) out.push_back(l.second);
        return out;
    }

    ScriptedPlatform platform;
    ScriptedFrontEnd fe;
    FixedClock clock;
    ManualTimers timers{clock};
    TestState state;
    DelayedRun run;
    ScriptedMeter* meter = nullptr;
    int closeDowns = 0;
    int tripsToTray = 0;
    // What the run announced it starts.
    struct Launches final : ModelObserver {
        std::vector<std::string> texts;
        void DelayedLaunch(const std::string& text) override { texts.push_back(text); }
    } launches;
};

}  // namespace kestrune::test
