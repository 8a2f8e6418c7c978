// One change-monitor tick over places holding 200 entries each, nothing changed between ticks:
// the cost the monitor adds every second while it runs.

#include <benchmark/benchmark.h>

#include "app/CommandLine.h"
#include "app/MainState.h"
#include "locations/Places.h"
#include "locations/Scanning.h"
#include "monitor/ChangeMonitor.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TestMachine.h"

namespace kestrune {
namespace {

void BM_MonitorTick(benchmark::State& run) {
    const int perPlace = static_cast<int>(run.range(0));
    test::TestMachine machine;
    test::ScriptedFrontEnd fe;
    test::FixedClock clock;
    test::ManualTimers timers;
    MainState state(*machine.platform, fe, clock);
    state.appFolder = machine.appFolder;
    state.tmrMonitor = timers.Create(1000, [] {});
    DetermineStartupFolders(state);

    auto& registry = state.platform.registry();
    for (int i = 0; i < perPlace; ++i) {
        const std::string n = std::to_string(i);
        for (auto [root, key] : {std::pair{platform::RootKey::LocalMachine, kRunKey},
                                 std::pair{platform::RootKey::CurrentUser, kRunKey},
                                 std::pair{platform::RootKey::LocalMachine, kRunOnceKey}})
            registry.SetValue(root, key, {"App " + n, platform::ValueType::String, "/opt/app" + n + "/app --x"});
        for (const std::string& folder : {state.userStartupFolder, state.commonStartupFolder}) {
            platform::ShortcutInfo link;
            link.target = "/opt/app" + n + "/app";
            link.arguments = "--start";
            state.platform.shell().WriteShortcut(AddBackslash(folder) + "App " + n + ".lnk", link);
        }
    }
    MonitorState monitor;
    OnMonitorTick(state, monitor);  // takes the first snapshot
    for (auto _ : run) OnMonitorTick(state, monitor);
    run.SetLabel(std::to_string(perPlace) + " entries per place");
}

BENCHMARK(BM_MonitorTick)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrune
