// The desktop program from its start to "Finished loading" (offscreen; it ends there when
// KESTRUNE_EXIT_WHEN_LOADED is set), with 200 entries in each place and with an empty machine,
// against its anchor in the same run: a minimal Qt Widgets program showing ten tabs of 200
// rows (bench/minimal-qt.cpp).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "BenchProcess.h"
#include "support/TempFolder.h"

namespace kestrune {
namespace {

namespace fs = std::filesystem;

struct StartMachine {
    explicit StartMachine(int perPlace) : root(temp.Path()) {
        fs::create_directories(root + "app");
        timing::RunProgram({MACHINE_FILLER_PATH, root + "app/", root + "machine", std::to_string(perPlace)}, {});
    }
    std::vector<std::string> Environment() const {
        return {"KESTRUNE_APP_DIR=" + root + "app/", "KESTRUNE_MACHINE=" + root + "machine",
                "KESTRUNE_EXIT_WHEN_LOADED=1", "QT_QPA_PLATFORM=offscreen"};
    }
    test::TempFolder temp{"kestrune-start"};
    std::string root;
};

void TimeProgram(benchmark::State& state, const std::string& program, const std::vector<std::string>& environment) {
    timing::RunProgram({program}, environment);  // warms the file cache
    for (auto _ : state) {
        const timing::ProcessRun run = timing::RunProgram({program}, environment);
        state.SetIterationTime(run.seconds);
        if (run.status != 0) state.SkipWithError("the program failed");
    }
}

void BM_DesktopStart(benchmark::State& state) {
    StartMachine machine(static_cast<int>(state.range(0)));
    TimeProgram(state, DESKTOP_PATH, machine.Environment());
    state.SetLabel(std::to_string(state.range(0)) + " entries per place");
}
BENCHMARK(BM_DesktopStart)->Arg(200)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(11);

void BM_DesktopStartAnchorMinimalQt(benchmark::State& state) {
    TimeProgram(state, MINIMAL_QT_PATH, {"QT_QPA_PLATFORM=offscreen"});
}
BENCHMARK(BM_DesktopStartAnchorMinimalQt)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(11);

}  // namespace
}  // namespace kestrune
