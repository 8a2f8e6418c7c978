// How long a full scan of the five places takes when each holds 200 entries, and how fast the
// checksum calculator that keys the icon cache runs.
//
// Run with --benchmark_repetitions=10 --benchmark_report_aggregates_only=true for medians.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/MainState.h"
#include "locations/Crc.h"
#include "locations/IconCache.h"
#include "locations/Places.h"
#include "locations/RegistryOps.h"
#include "locations/Scanning.h"
#include "platform/Platform.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TempFolder.h"

namespace kestrune {
namespace {

namespace fs = std::filesystem;

constexpr int kEntriesPerPlace = 200;
constexpr std::size_t kProgramBytes = 64 * 1024;

// A machine whose two Startup folders and three Run keys hold 200 entries each, pointing at
// 200 distinct program files.
struct FullMachine {
    FullMachine() : root(temp.Path()) {
        fs::create_directories(root + "app");
        platform = platform::CreatePlatform({root + "app/", root + "machine"});
        state = std::make_unique<MainState>(*platform, clock);
        icons = std::make_unique<IconCache>(platform->files(), frontEnd, state->view);
        state->services.icons = icons.get();

        auto& registry = platform->registry();
        registry.CreateKey(platform::RootKey::CurrentUser, kShellFoldersKey);
        registry.SetValue(platform::RootKey::CurrentUser, kShellFoldersKey,
                          {"Startup", platform::ValueType::String, root + "machine/User Startup"});
        for (TableKind kind : {TableKind::HKLM_Run, TableKind::HKCU_Run, TableKind::RunOnce})
            registry.CreateKey(RunKeyOf(kind)->root, RunKeyOf(kind)->subkey);
        DetermineStartupFolders(state->services.platform, state->paths);
        if (state->paths.commonStartupFolder.empty())
            state->paths.commonStartupFolder = root + "machine/Common Startup/";
        fs::create_directories(state->paths.userStartupFolder);
        fs::create_directories(state->paths.commonStartupFolder);

        fs::create_directories(root + "programs");
        for (int i = 0; i < kEntriesPerPlace; ++i) {
            const std::string program = root + "programs/app" + std::to_string(i) + ".exe";
            std::string content(kProgramBytes, static_cast<char>(i));
            content.replace(0, std::to_string(i).size(), std::to_string(i));
            std::ofstream(program, std::ios::binary) << content;
            const std::string name = "Entry " + std::to_string(i);
            platform::ShortcutInfo link;
            link.target = program;
            link.arguments = "-min";
            platform->shell().WriteShortcut(AddBackslash(state->paths.userStartupFolder) + name + ".lnk", link);
            platform->shell().WriteShortcut(AddBackslash(state->paths.commonStartupFolder) + name + ".lnk", link);
            for (TableKind kind : {TableKind::HKLM_Run, TableKind::HKCU_Run, TableKind::RunOnce})
                registry.SetValue(RunKeyOf(kind)->root, RunKeyOf(kind)->subkey,
                                  {name, platform::ValueType::String, "\"" + program + "\" -min"});
        }
    }
    ~FullMachine() {
        state.reset();
        platform.reset();
    }

    test::TempFolder temp{"kestrune-scan"};
    std::string root;
    test::ScriptedFrontEnd frontEnd;
    SystemClock clock;
    std::unique_ptr<platform::Platform> platform;
    std::unique_ptr<MainState> state;
    std::unique_ptr<IconCache> icons;
};

void BM_ScanPlaces(benchmark::State& bench) {
    FullMachine machine;
    MainState& state = *machine.state;
    std::int64_t rows = 0;
    for (auto _ : bench) {
        state.model.tables.ClearAll();
        ScanPlaces(state);
        rows = 0;
        for (TableKind kind : kAllTables) rows += state.model.tables[kind].Count();
    }
    bench.counters["rows"] = static_cast<double>(rows);
    if (rows != 5 * kEntriesPerPlace) bench.SkipWithError("the scan did not find every entry");
}
BENCHMARK(BM_ScanPlaces)->Unit(benchmark::kMillisecond);

void BM_ScanAllLocations(benchmark::State& bench) {
    FullMachine machine;
    MainState& state = *machine.state;
    for (auto _ : bench) ScanAllLocations(state);
    std::int64_t rows = 0;
    for (TableKind kind : kAllTables) rows += state.model.tables[kind].Count();
    bench.counters["rows"] = static_cast<double>(rows);
    if (rows < 5 * kEntriesPerPlace) bench.SkipWithError("the scan did not find every entry");
}
BENCHMARK(BM_ScanAllLocations)->Unit(benchmark::kMillisecond);

void BM_CrcBytes(benchmark::State& bench) {
    const std::size_t size = static_cast<std::size_t>(bench.range(0));
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 31 + (i >> 8));
    Crc crc(bench.range(1) != 0);
    for (auto _ : bench) benchmark::DoNotOptimize(crc.CalculateBytes(bytes));
    bench.SetBytesProcessed(static_cast<std::int64_t>(bench.iterations()) * static_cast<std::int64_t>(size));
}
BENCHMARK(BM_CrcBytes)->Args({16 << 20, 1})->Args({16 << 20, 0})->Args({64 << 10, 1})->Unit(benchmark::kMillisecond);

void BM_CrcFile(benchmark::State& bench) {
    const test::TempFolder temp{"kestrune-crc"};
    const std::string& folder = temp.Path();
    const std::size_t size = 16 << 20;
    {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7);
        std::ofstream(folder + "big.bin", std::ios::binary) << bytes;
    }
    auto platform = platform::CreatePlatform({folder, folder + "machine"});
    Crc crc;
    for (auto _ : bench) benchmark::DoNotOptimize(crc.CalculateFile(platform->files(), folder + "big.bin"));
    bench.SetBytesProcessed(static_cast<std::int64_t>(bench.iterations()) * static_cast<std::int64_t>(size));
}
BENCHMARK(BM_CrcFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrune
