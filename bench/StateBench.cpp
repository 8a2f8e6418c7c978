// `kestrunec check` and `kestrunec apply --check` with a state file naming 2,000 entries in each
// of the five places (in "exact" mode, one entry drifted), against `kestrunec list --format
// json` on the same machine in the same run: comparing with a wanted state should cost little
// more than listing, which reads the same places. Measured in the programs' processor time.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "BenchProcess.h"
#include "platform/Platform.h"
#include "support/TempFolder.h"

namespace kestrune {
namespace {

namespace fs = std::filesystem;

constexpr int kPerPlace = 2000;

struct StateMachine {
    StateMachine() : root(temp.Path()) {
        fs::create_directories(root + "app");
        timing::RunProgram({MACHINE_FILLER_PATH, root + "app/", root + "machine", std::to_string(kPerPlace)}, {});
        environment = {"KESTRUNE_APP_DIR=" + root + "app/", "KESTRUNE_MACHINE=" + root + "machine"};
        state = root + "state.json";
        if (timing::RunProgram({KESTRUNEC_PATH, "export", state, "--mode", "exact"}, environment).status != 0)
            throw std::runtime_error("kestrunec export failed");
        // Another program changes one entry after the export.
        auto platform = platform::CreatePlatform({root + "app/", root + "machine"});
        platform->registry().SetValue(platform::RootKey::CurrentUser,
                                      "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                                      {"User 7", platform::ValueType::String, "C:\\elsewhere.exe"});
    }
    test::TempFolder temp{"kestrune-state"};
    std::string root, state;
    std::vector<std::string> environment;
};

StateMachine& Machine() {
    static StateMachine machine;
    return machine;
}

// The time is the program's own processor time (user and system): on a machine shared with
// busy compilers the wall clock mostly measures the others. The wall clock is a counter.
void Time(benchmark::State& bench, const std::vector<std::string>& arguments, int wantedStatus) {
    StateMachine& m = Machine();
    double wall = 0;
    for (auto _ : bench) {
        const timing::ProcessRun run = timing::RunProgram(arguments, m.environment);
        bench.SetIterationTime(run.cpuSeconds);
        wall += run.seconds;
        if (run.status != wantedStatus) bench.SkipWithError("unexpected exit status");
    }
    bench.counters["wall_ms"] = benchmark::Counter(wall * 1000, benchmark::Counter::kAvgIterations);
}

void BM_StateAnchorListJson(benchmark::State& bench) { Time(bench, {KESTRUNEC_PATH, "list", "--format", "json"}, 0); }
BENCHMARK(BM_StateAnchorListJson)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_Check(benchmark::State& bench) { Time(bench, {KESTRUNEC_PATH, "check", Machine().state}, 1); }
BENCHMARK(BM_Check)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_ApplyCheck(benchmark::State& bench) {
    Time(bench, {KESTRUNEC_PATH, "apply", Machine().state, "--check", "--format", "json"}, 0);
}
BENCHMARK(BM_ApplyCheck)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace
}  // namespace kestrune
