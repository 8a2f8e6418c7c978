// `kestrunec list --format json` on a machine with 200 entries in each start-up place and
// 1,000 stored Delayed rows, with the real process list, against its anchor measured in the
// same run: a bare read of every file of the program folder and the machine and of
// /proc/*/stat (what the listing cannot do without). The programs the entries name are real
// files outside both folders: 200 of 64 KB and one of 8 MB behind all the Delayed rows.

#include <benchmark/benchmark.h>
#include <dirent.h>

#include <cstdlib>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "BenchProcess.h"
#include "platform/Platform.h"
#include "support/TempFolder.h"

namespace kestrune {
namespace {

namespace fs = std::filesystem;

constexpr int kPerPlace = 200;
constexpr int kDelayedRows = 1000;
constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunOnce = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

struct ListMachine {
    ListMachine() : root(temp.Path()) {
        app = root + "app/";
        machine = root + "machine";
        fs::create_directories(app);
        fs::create_directories(root + "programs");
        auto platform = platform::CreatePlatform({app, machine});
        auto& registry = platform->registry();
        auto& shell = platform->shell();
        const std::string user = shell.SpecialFolder(platform::kCsidlStartup),
                          common = shell.SpecialFolder(platform::kCsidlCommonStartup);
        for (auto [r, key] :
             {std::pair{platform::RootKey::LocalMachine, kRun}, std::pair{platform::RootKey::CurrentUser, kRun},
              std::pair{platform::RootKey::LocalMachine, kRunOnce}})
            registry.CreateKey(r, key);
        for (int i = 0; i < kPerPlace; ++i) {
            const std::string n = std::to_string(i);
            const std::string program = root + "programs/app" + n + ".exe";
            std::string content(64 * 1024, static_cast<char>(i));
            content.replace(0, n.size(), n);
            std::ofstream(program, std::ios::binary) << content;
            for (auto [r, key] :
                 {std::pair{platform::RootKey::LocalMachine, kRun}, std::pair{platform::RootKey::CurrentUser, kRun},
                  std::pair{platform::RootKey::LocalMachine, kRunOnce}})
                registry.SetValue(r, key, {"App " + n, platform::ValueType::String, "\"" + program + "\" -min"});
            platform::ShortcutInfo link;
            link.target = program;
            link.arguments = "-min";
            for (const std::string& folder : {user, common})
                if (!folder.empty()) shell.WriteShortcut(folder + "App " + n + ".lnk", link);
        }
        const std::string big = root + "programs/big.exe";
        std::ofstream(big, std::ios::binary) << std::string(8 << 20, 'B');
        std::ofstream xml(app + "settings.xml", std::ios::binary);
        xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Root>\n<Delayed>\n";
        for (int i = 1; i <= kDelayedRows; ++i)
            xml << "<item_" << i << "><name>Big " << i << "</name><path>" << big
                << "</path><delay>30</delay><prev>User</prev><active>1</active><priority>Normal</priority></item_" << i
                << ">\n";
        xml << "</Delayed>\n</Root>\n";
    }
    test::TempFolder temp{"kestrune-list"};
    std::string root, app, machine;
};

ListMachine& Machine() {
    static ListMachine machine;
    return machine;
}

void ListJson(benchmark::State& bench, const std::string& program) {
    ListMachine& m = Machine();
    timing::ProcessRun run;
    double peak = 0;
    for (auto _ : bench) {
        run = timing::RunProgram({program, "list", "--format", "json"},
                                 {"KESTRUNE_APP_DIR=" + m.app, "KESTRUNE_MACHINE=" + m.machine});
        bench.SetIterationTime(run.seconds);
        peak = std::max(peak, run.peakMegabytes);
        if (run.status != 0) bench.SkipWithError("kestrunec list failed");
    }
    bench.counters["peak_MB"] = peak;
}

void BM_ListJson(benchmark::State& bench) { ListJson(bench, KESTRUNEC_PATH); }
BENCHMARK(BM_ListJson)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

// The same listing by another kestrunec named in KESTRUNE_BENCH_OTHER (a build of the old
// main, or one without a step under suspicion), in the same run; skipped without it.
void BM_ListJsonOtherBuild(benchmark::State& bench) {
    const char* other = std::getenv("KESTRUNE_BENCH_OTHER");
    if (!other || !*other) {
        bench.SkipWithError("KESTRUNE_BENCH_OTHER names no other kestrunec");
        return;
    }
    ListJson(bench, other);
}
BENCHMARK(BM_ListJsonOtherBuild)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

std::size_t ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char buffer[64 * 1024];
    std::size_t total = 0;
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) total += static_cast<std::size_t>(in.gcount());
    return total;
}

void BM_ListAnchorBareRead(benchmark::State& bench) {
    ListMachine& m = Machine();
    for (auto _ : bench) {
        std::size_t bytes = 0;
        for (const std::string& folder : {m.app, m.machine})
            for (const auto& entry : fs::recursive_directory_iterator(folder))
                if (entry.is_regular_file()) bytes += ReadAll(entry.path().string());
        if (DIR* proc = ::opendir("/proc")) {
            while (const dirent* e = ::readdir(proc))
                if (e->d_name[0] >= '1' && e->d_name[0] <= '9')
                    bytes += ReadAll(std::string("/proc/") + e->d_name + "/stat");
            ::closedir(proc);
        }
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_ListAnchorBareRead)->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace
}  // namespace kestrune
