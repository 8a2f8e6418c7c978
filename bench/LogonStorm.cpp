// A log-on in miniature: eight stand-in programs that each read about 30 MB and use about one
// second of processor time when they start, and a probe standing for the user, a foreground
// task that wakes every 10 ms and records how late it woke. Runs, in one process: the idle
// machine (the anchor), all eight at once (what Windows does), Kestrune's delayed run with
// delays 1 to 8, and its idle phase (delays -8 to -1) at a few idle settings. The starts go
// through the platform's launcher, the run through the delayed run's own state machine and
// processor meter; Kestrune's runs start each program at the starting class and put it back
// to Normal after 30 s, as the delayed run does, and once more at Normal for contrast. Prints
// the probe's median and 95th-percentile lateness, the time until the last program started,
// and each run's ratio to the idle machine.
//
//   LogonStorm [--benchmark_...] [--idle=THRESHOLD:SECONDS,...] [--probe-work-ms=N]
//              [--only-lowered]
//              (defaults 20:5,50:1,80:1 and 2 ms of work per wake-up; --only-lowered leaves
//              out the runs at Normal)
//   LogonStorm --stand-in FILE                                      (what each program does)

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/Table.h"
#include "delayed/CpuMeter.h"
#include "delayed/DelayedRun.h"
#include "delayed/StartingPriority.h"
#include "platform/Platform.h"
#include "support/TempFolder.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kPrograms = 8;
constexpr std::size_t kReadBytes = 30u * 1024 * 1024;
constexpr double kBusySeconds = 1.0;
constexpr auto kProbePeriod = 10ms;
// What the user's task does each time it wakes (a frame of work, say): a task that only sleeps
// is always first in line on Linux, whatever else runs.
double probeWorkMs = 2.0;
constexpr auto kIdleAnchor = 6s;
// A run that cannot find an idle processor on a busy machine gives up here and says so.
constexpr auto kGiveUp = 90s;
constexpr auto kLoweredFor = std::chrono::seconds(kestrune::kFollowSeconds);

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

int StandIn(const char* file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<char> buffer(1 << 20);
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
    }
    volatile unsigned spin = 0;
    while (ProcessCpuSeconds() < kBusySeconds) spin = spin + 1;
    return 0;
}

// The user: wakes every 10 ms and records how late each wake-up was, in milliseconds.
class Probe {
public:
    void Start() {
        stop_ = false;
        lateness_.clear();
        thread_ = std::thread([this] {
            auto due = Clock::now() + kProbePeriod;
            while (!stop_) {
                std::this_thread::sleep_until(due);
                const auto late = Clock::now() - due;
                lateness_.push_back(std::chrono::duration<double, std::milli>(late).count());
                const auto workUntil = Clock::now() + std::chrono::duration<double, std::milli>(probeWorkMs);
                volatile unsigned spin = 0;
                while (Clock::now() < workUntil) spin = spin + 1;
                due += kProbePeriod;
                // A wake-up missed by more than a period is late once, not a second time.
                if (Clock::now() > due) due = Clock::now() + kProbePeriod;
            }
        });
    }
    std::vector<double> Stop() {
        stop_ = true;
        thread_.join();
        return lateness_;
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
    std::vector<double> lateness_;
};

double Percentile(std::vector<double> values, double share) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

struct Result {
    std::string name;
    double p50 = 0, p95 = 0;
    double lastStart = 0;  // seconds from the log-on
    double length = 0;     // seconds until the last program ended
    int started = 0;
};

// One started stand-in: its meter tells when it has ended.
struct Started {
    std::unique_ptr<kestrune::platform::ProcessMeter> meter;
    std::uint32_t id = 0;
    Clock::time_point at;
    bool lowered = false;
};
using StartedList = std::vector<Started>;

struct Storm {
    std::unique_ptr<kestrune::platform::Platform> platform;
    std::string command;
    std::vector<Result> results;
};

Storm& TheStorm() {
    static Storm storm;
    return storm;
}

// Starts one stand-in, at the starting class when `lower`; nothing when it could not start.
Started Launch(Storm& storm, bool lower) {
    const auto launched =
        storm.platform->launcher().StartCommand(storm.command, kestrune::platform::ShowWindow::Minimised);
    if (!launched.ok) return {};
    Started started{storm.platform->processes().Meter(launched.processId), launched.processId, Clock::now(), false};
    if (lower && started.meter) started.lowered = kestrune::LowerWhileStarting(storm.platform->processes(), started.id);
    return started;
}

// Puts back to Normal the stand-ins that have been low long enough.
void RestoreDue(Storm& storm, StartedList& started) {
    for (Started& one : started) {
        if (!one.lowered || Clock::now() - one.at < kLoweredFor) continue;
        one.lowered = false;
        if (one.meter->Read().ended) continue;
        kestrune::RestoreAfterStarting(storm.platform->processes(), one.id);
    }
}

bool AllEnded(StartedList& started) {
    for (Started& one : started)
        if (one.meter && !one.meter->Read().ended) return false;
    return true;
}

// One log-on: `schedule` starts the programs (and answers when the last one started), then
// the probe goes on until every one has ended.
template <typename Schedule>
Result Logon(const std::string& name, Schedule schedule) {
    Probe probe;
    StartedList meters;
    const auto begin = Clock::now();
    probe.Start();
    const auto lastStart = schedule(meters, begin);
    while (!AllEnded(meters) && Clock::now() - begin < kGiveUp) {
        RestoreDue(TheStorm(), meters);
        std::this_thread::sleep_for(50ms);
    }
    const auto end = Clock::now();
    const std::vector<double> lateness = probe.Stop();
    Result result;
    result.name = name;
    result.p50 = Percentile(lateness, 0.5);
    result.p95 = Percentile(lateness, 0.95);
    result.lastStart = std::chrono::duration<double>(lastStart - begin).count();
    result.length = std::chrono::duration<double>(end - begin).count();
    result.started =
        static_cast<int>(std::count_if(meters.begin(), meters.end(), [](auto& m) { return m.meter != nullptr; }));
    return result;
}

// Kestrune's own run: the entries in run order, advanced once a second by the delayed run's
// state machine, the processor read by its meter in the idle phase.
Clock::time_point DelayedRunOf(const std::vector<int>& delays, int threshold, int seconds, bool lower,
                               StartedList& meters, Clock::time_point begin) {
    Storm& storm = TheStorm();
    kestrune::DelayedRun run;
    for (const int delay : delays) run.entries.push_back({delay, storm.command, ""});
    kestrune::SortRunEntries(run.entries);
    run.idlePhase = true;
    for (int i = 0; i < static_cast<int>(run.entries.size()); ++i) {
        if (run.entries[static_cast<std::size_t>(i)].delay > 0) {
            run.currentIndex = i;
            run.idlePhase = false;
            break;
        }
    }
    run.running = true;
    const auto meter = kestrune::CreateCpuMeter(*storm.platform);
    kestrune::RunConditions conditions;
    conditions.idleThreshold = threshold;
    conditions.idleSeconds = seconds;
    auto last = begin;
    for (auto tick = begin + 1s; run.running && Clock::now() - begin < kGiveUp; tick += 1s) {
        std::this_thread::sleep_until(tick);
        RestoreDue(storm, meters);
        conditions.cpuUsage = run.idlePhase ? meter->Query() : -1;
        const kestrune::DelayedStep step = kestrune::AdvanceDelayedRun(run, conditions);
        for (std::size_t i = 0; i < step.launch.size(); ++i) {
            meters.push_back(Launch(storm, lower));
            last = Clock::now();
        }
        if (step.finished) run.running = false;
    }
    return last;
}

void Record(benchmark::State& state, Result result) {
    const double idleP95 = TheStorm().results.empty() ? result.p95 : TheStorm().results.front().p95;
    state.counters["p50_ms"] = result.p50;
    state.counters["p95_ms"] = result.p95;
    state.counters["p95_vs_idle"] = idleP95 > 0 ? result.p95 / idleP95 : 0;
    state.counters["last_start_s"] = result.lastStart;
    state.counters["started"] = result.started;
    TheStorm().results.push_back(std::move(result));
}

void IdleMachine(benchmark::State& state) {
    for (auto _ : state) {
        Record(state, Logon("idle machine (anchor)", [](auto&, Clock::time_point begin) {
                   std::this_thread::sleep_for(kIdleAnchor);
                   return begin;
               }));
    }
}

void AllAtOnce(benchmark::State& state) {
    for (auto _ : state) {
        Record(state, Logon("all eight at once", [](auto& meters, Clock::time_point) {
                   for (int i = 0; i < kPrograms; ++i) meters.push_back(Launch(TheStorm(), false));
                   return Clock::now();
               }));
    }
}

const char* StartedAt(bool lower) { return lower ? ", started Low" : ", at Normal"; }

void DelayedOneToEight(benchmark::State& state, bool lower) {
    for (auto _ : state) {
        Record(state, Logon(std::string("delayed run, delays 1..8") + StartedAt(lower),
                            [lower](auto& meters, Clock::time_point begin) {
                                return DelayedRunOf({1, 2, 3, 4, 5, 6, 7, 8}, 20, 5, lower, meters, begin);
                            }));
    }
}

void IdlePhase(benchmark::State& state, int threshold, int seconds, bool lower) {
    for (auto _ : state) {
        const std::string name = "idle phase, delays -8..-1, " + std::to_string(threshold) + " %, " +
                                 std::to_string(seconds) + " s" + StartedAt(lower);
        Record(state, Logon(name, [&](auto& meters, Clock::time_point begin) {
                   return DelayedRunOf({-8, -7, -6, -5, -4, -3, -2, -1}, threshold, seconds, lower, meters, begin);
               }));
    }
}

void PrintTable() {
    const auto& results = TheStorm().results;
    if (results.empty()) return;
    const double idle = results.front().p95;
    std::printf("\n| run | probe lateness median (ms) | p95 (ms) | p95 / idle | last start (s) | all ended (s) |\n");
    std::printf("|---|---:|---:|---:|---:|---:|\n");
    for (const Result& r : results) {
        std::printf("| %s | %.2f | %.2f | %.2f | %.1f | %.1f%s |\n", r.name.c_str(), r.p50, r.p95,
                    idle > 0 ? r.p95 / idle : 0.0, r.lastStart, r.length,
                    r.started < kPrograms && r.name.find("idle machine") == std::string::npos
                        ? (" (" + std::to_string(r.started) + " of 8 started)").c_str()
                        : "");
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--stand-in") == 0) return StandIn(argv[2]);

    std::vector<std::pair<int, int>> settings = {{20, 5}, {50, 1}, {80, 1}};
    std::vector<char*> rest;
    bool onlyLowered = false;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--only-lowered") == 0) {
            onlyLowered = true;
        } else if (std::strncmp(argv[i], "--probe-work-ms=", 16) == 0) {
            probeWorkMs = std::stod(argv[i] + 16);
        } else if (std::strncmp(argv[i], "--idle=", 7) == 0) {
            settings.clear();
            std::istringstream list(argv[i] + 7);
            std::string item;
            while (std::getline(list, item, ',')) {
                const auto colon = item.find(':');
                if (colon != std::string::npos)
                    settings.emplace_back(std::stoi(item.substr(0, colon)), std::stoi(item.substr(colon + 1)));
            }
        } else {
            rest.push_back(argv[i]);
        }
    }

    const kestrune::test::TempFolder temp{"logon-storm"};
    const std::filesystem::path work = temp.Path();
    std::filesystem::create_directories(work / "app");
    const std::string data = (work / "data.bin").string();
    {
        std::ofstream out(data, std::ios::binary);
        const std::string block(1 << 20, 'k');
        for (std::size_t written = 0; written < kReadBytes; written += block.size()) out << block;
    }
    Storm& storm = TheStorm();
    storm.platform = kestrune::platform::CreatePlatform({(work / "app").string(), (work / "machine").string()});
    storm.command = "\"" + std::filesystem::canonical("/proc/self/exe").string() + "\" --stand-in \"" + data + "\"";

    benchmark::RegisterBenchmark("LogonStorm/IdleMachine", IdleMachine)->Iterations(1)->Unit(benchmark::kSecond);
    benchmark::RegisterBenchmark("LogonStorm/AllAtOnce", AllAtOnce)->Iterations(1)->Unit(benchmark::kSecond);
    std::vector<bool> starts = {true};
    if (!onlyLowered) starts.push_back(false);
    for (const bool lower : starts) {
        const std::string how = lower ? "/Lowered" : "/Normal";
        benchmark::RegisterBenchmark(("LogonStorm/Delayed1to8" + how).c_str(),
                                     [lower](benchmark::State& state) { DelayedOneToEight(state, lower); })
            ->Iterations(1)
            ->Unit(benchmark::kSecond);
        for (const auto& [threshold, seconds] : settings) {
            benchmark::RegisterBenchmark(
                ("LogonStorm/IdlePhase/" + std::to_string(threshold) + "pct/" + std::to_string(seconds) + "s" + how)
                    .c_str(),
                [threshold, seconds, lower](benchmark::State& state) { IdlePhase(state, threshold, seconds, lower); })
                ->Iterations(1)
                ->Unit(benchmark::kSecond);
        }
    }
    int count = static_cast<int>(rest.size());
    benchmark::Initialize(&count, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintTable();
    return 0;
}
