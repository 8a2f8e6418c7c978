// One change-monitor tick over places holding 200 entries each, nothing changed between ticks:
// the cost the monitor adds every second while it runs; the same tick when it must look (no
// watch), and the processor time of an idle `kestrunec monitor` over ten seconds.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "BenchProcess.h"
#include "app/CommandLine.h"
#include "app/MainState.h"
#include "locations/Places.h"
#include "locations/Scanning.h"
#include "monitor/ChangeMonitor.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TestMachine.h"

namespace kestrune {
namespace {

void Tick(benchmark::State& run, bool watched) {
    const int perPlace = static_cast<int>(run.range(0));
    test::TestMachine machine;
    test::ScriptedFrontEnd fe;
    test::FixedClock clock;
    test::ManualTimers timers{clock};
    MainState state(*machine.platform, clock);
    state.paths.appFolder = machine.appFolder;
    DetermineStartupFolders(state.services.platform, state.paths);

    auto& registry = state.services.platform.registry();
    for (int i = 0; i < perPlace; ++i) {
        const std::string n = std::to_string(i);
        for (auto [root, key] :
             {std::pair{platform::RootKey::LocalMachine, kRunKey}, std::pair{platform::RootKey::CurrentUser, kRunKey},
              std::pair{platform::RootKey::LocalMachine, kRunOnceKey}})
            registry.SetValue(root, key, {"App " + n, platform::ValueType::String, "/opt/app" + n + "/app --x"});
        for (const std::string& folder : {state.paths.userStartupFolder, state.paths.commonStartupFolder}) {
            platform::ShortcutInfo link;
            link.target = "/opt/app" + n + "/app";
            link.arguments = "--start";
            state.services.platform.shell().WriteShortcut(AddBackslash(folder) + "App " + n + ".lnk", link);
        }
    }
    MonitorState monitor;
    monitor.timer = timers.Create(1000, [] {});
    OnMonitorTick(state, fe, monitor);  // takes the first snapshot
    if (!watched) monitor.watch.reset();
    for (auto _ : run) OnMonitorTick(state, fe, monitor);
    run.SetLabel(std::to_string(perPlace) + " entries per place");
}

void BM_MonitorTick(benchmark::State& run) { Tick(run, true); }
BENCHMARK(BM_MonitorTick)->Arg(200)->Unit(benchmark::kMicrosecond);

// The anchor: the same tick reading every place, as it did before it had a watch.
void BM_MonitorTickLooking(benchmark::State& run) { Tick(run, false); }
BENCHMARK(BM_MonitorTickLooking)->Arg(200)->Unit(benchmark::kMicrosecond);

// Processor time of `kestrunec monitor` for 11 seconds less that of a 1-second run (start-up
// and the first look), over the 10 seconds between: the share of a core the idle monitor takes.
void BM_MonitorIdleCpu(benchmark::State& run) {
    namespace fs = std::filesystem;
    const test::TempFolder temp{"kestrune-idle"};
    const std::string& root = temp.Path();
    fs::create_directories(root + "app");
    timing::RunProgram({MACHINE_FILLER_PATH, root + "app/", root + "machine", "200"}, {});
    const std::vector<std::string> environment{"KESTRUNE_APP_DIR=" + root + "app/",
                                               "KESTRUNE_MACHINE=" + root + "machine"};
    double share = 0;
    for (auto _ : run) {
        const auto shortRun =
            timing::RunProgram({KESTRUNEC_PATH, "monitor", "--seconds", "1", "--answer", "deny"}, environment);
        const auto longRun =
            timing::RunProgram({KESTRUNEC_PATH, "monitor", "--seconds", "11", "--answer", "deny"}, environment);
        share = std::max(0.0, longRun.cpuSeconds - shortRun.cpuSeconds) / (longRun.seconds - shortRun.seconds);
        run.SetIterationTime(share);
    }
    run.counters["core_percent"] = share * 100;
}
BENCHMARK(BM_MonitorIdleCpu)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace kestrune
