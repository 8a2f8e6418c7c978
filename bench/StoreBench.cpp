// Saving and loading the settings document with 10,000 rows spread over the nine tables.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/Clock.h"
#include "app/FrontEnd.h"
#include "app/MainState.h"
#include "platform/Platform.h"
#include "store/SettingsDocument.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TempFolder.h"

namespace kestrune {
namespace {

constexpr int kRows = 10000;

// Every backup of a run goes to one file name.
class StoppedClock final : public Clock {
public:
    LocalTime Now() override { return {2026, 12, 7, 8, 15, 2}; }
};

// A program folder on a temporary emulated machine, its state and 10,000 rows.
struct Setup {
    Setup() {
        const std::string appFolder = temp.Path() + "app/";
        std::filesystem::create_directories(appFolder);
        platform = platform::CreatePlatform({appFolder, temp.Path() + "machine"});
        state = std::make_unique<MainState>(*platform, clock);
        state->paths.appFolder = appFolder;
        state->paths.logPath = appFolder + "log.txt";
        state->paths.settingsDocumentPath = appFolder + "settings.xml";
        Fill();
    }
    ~Setup() { state.reset(); }

    void Fill() {
        for (int i = 0; i < kRows; ++i) {
            const TableKind kind = kAllTables[static_cast<size_t>(i % kTableCount)];
            const std::string n = std::to_string(i);
            const std::string path = "C:\\Program Files\\Vendor " + n + "\\app" + n + ".exe";
            Table& table = state->model.tables[kind];
            switch (kind) {
                case TableKind::Delayed:
                    table.Add({"App " + n, path, std::to_string(i % 60 - 10), "User", "Normal"}, i % 2);
                    break;
                case TableKind::Known: table.Add({path}, i % 2); break;
                case TableKind::Process: table.Add({"app" + n + ".exe", path, "High", n}, true); break;
                default: table.Add({"App " + n, path, "--start " + n}, i % 2 == 0); break;
            }
        }
    }

    test::TempFolder temp{"kestrune-store"};
    test::ScriptedFrontEnd frontEnd;
    StoppedClock clock;
    std::unique_ptr<platform::Platform> platform;
    std::unique_ptr<MainState> state;
};

void BM_SaveSettingsDocument(benchmark::State& bench) {
    Setup setup;
    for (auto _ : bench) {
        setup.state->model.settingsChanged = true;
        SaveSettingsDocument(*setup.state, false);
    }
    bench.SetItemsProcessed(bench.iterations() * kRows);
}
BENCHMARK(BM_SaveSettingsDocument)->Unit(benchmark::kMillisecond);

void BM_LoadSettingsDocument(benchmark::State& bench) {
    Setup setup;
    setup.state->model.settingsChanged = true;
    SaveSettingsDocument(*setup.state, false);
    for (auto _ : bench) {
        bench.PauseTiming();
        setup.state->model.tables.ClearAll();
        bench.ResumeTiming();
        LoadSettingsDocument(*setup.state);
    }
    bench.SetItemsProcessed(bench.iterations() * kRows);
}
BENCHMARK(BM_LoadSettingsDocument)->Unit(benchmark::kMillisecond);

// A backup holds the ticked location rows too, so every row is written and read back.
void BM_BackupSaveAndLoad(benchmark::State& bench) {
    Setup setup;
    const std::string backup = setup.state->paths.appFolder + BackupFileName(setup.clock.Now());
    for (auto _ : bench) {
        SaveSettingsDocument(*setup.state, true);
        LoadSettingsFile(*setup.state, backup);
    }
    bench.SetItemsProcessed(bench.iterations() * kRows);
}
BENCHMARK(BM_BackupSaveAndLoad)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrune
