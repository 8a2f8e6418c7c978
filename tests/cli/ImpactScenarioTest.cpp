// A delayed run on the emulated machine measures what each program costs: one that burns
// processor time is rated High, one that only sleeps Low; both rows keep their figures, `list`
// shows them, and the run's timeline names both programs.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>

#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include "MachineScenario.h"

namespace kestrune::cli {
namespace {

using Json = nlohmann::json;
using test::ProcessResult;

class ImpactScenarioTest : public MachineScenario {
protected:
    // A script that burns `ticks` hundredths of a second of processor time, counted from /proc
    // (its own time and that of the children it waited for), so that a busy machine makes it
    // last longer rather than cost less.
    std::string Burner(int ticks) const {
        const std::string script = folder.Path() + "burn.sh";
        kestrune::test::WriteText(script,
                                  "#!/bin/sh\nwhile :; do set -- $(cat /proc/$$/stat); "
                                  "[ $(( ${14} + ${15} + ${16} + ${17} )) -ge " +
                                      std::to_string(ticks) + " ] && break; done\n");
        ::chmod(script.c_str(), 0755);
        return script;
    }
    void AddTicked(const std::string& name, const std::string& path, const std::string& delay) const {
        ASSERT_EQ(Kestrunec({"add", "Delayed", "--name", name, "--path", path, "--delay", delay}).status, 0);
        ASSERT_EQ(Kestrunec({"enable", "Delayed", name}).status, 0);
    }
    // A script that writes its own nice value and its session's (where the kernel groups by
    // session, else nothing) to `log` ten times a second, `samples` times.
    std::string NiceRecorder(const std::string& name, const std::string& log, int samples) const {
        const std::string script = folder.Path() + name;
        kestrune::test::WriteText(script,
                                  "#!/bin/sh\ni=0\nwhile [ $i -lt " + std::to_string(samples) +
                                      " ]; do set -- $(cat /proc/$$/stat); g=$(cat /proc/$$/autogroup 2>/dev/null); "
                                      "echo ${19} ${g##* } >> '" +
                                      log + "'; sleep 0.1; i=$((i + 1)); done\n");
        ::chmod(script.c_str(), 0755);
        return script;
    }
    // The nice values, and the session's beside them (-100 where there is none).
    static std::pair<std::vector<int>, std::vector<int>> WaitForSamples(const std::string& log, std::size_t samples) {
        std::vector<int> values, sessions;
        for (int i = 0; i < 100 && values.size() < samples; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            values.clear();
            sessions.clear();
            std::ifstream in(log);
            for (std::string line; std::getline(in, line);) {
                std::istringstream fields(line);
                int nice = 0, session = -100;
                if (!(fields >> nice)) continue;
                fields >> session;
                values.push_back(nice);
                sessions.push_back(session);
            }
        }
        return {values, sessions};
    }
    Json DelayedRows() const {
        const ProcessResult list = Kestrunec({"list", "Delayed", "--format", "json"});
        EXPECT_EQ(list.status, 0) << list.err;
        return Json::parse(list.out)["tables"][0]["rows"];
    }
};

TEST_F(ImpactScenarioTest, ABusyProgramIsRatedHighAndASleepingOneLowAndTheTimelineNamesBoth) {
    AddTicked("Burner", Burner(150), "1");
    AddTicked("Sleeper", "/bin/sleep 2", "1");
    // At Normal, as its row asks: started low on a busy machine it might not get its 1.5 s of
    // processor time within the 30 s it is measured.
    ASSERT_EQ(Kestrunec({"edit", "Delayed", "Burner", "--priority", "Normal"}).status, 0);
    ASSERT_EQ(DelayedRows()[0]["impact"]["band"], "Not measured");
    ASSERT_TRUE(DelayedRows()[0]["impact"]["cpuMs"].is_null());

    const std::string svgPath = folder.Path() + "run.svg";
    const ProcessResult run = Kestrunec({"run-delayed", "--timeline", svgPath});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Impact of burn.sh: High ("), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Impact of sleep: Low ("), std::string::npos) << run.out;

    // Stored with the rows: a later listing, in a new process, has them.
    const Json rows = DelayedRows();
    ASSERT_EQ(rows.size(), 2u);
    const Json& burner = rows[0]["values"]["Name"] == "Burner" ? rows[0] : rows[1];
    const Json& sleeper = rows[0]["values"]["Name"] == "Burner" ? rows[1] : rows[0];
    EXPECT_EQ(burner["impact"]["band"], "High") << burner.dump();
    EXPECT_GT(burner["impact"]["cpuMs"].get<int>(), 1000);
    EXPECT_LT(burner["impact"]["cpuMs"].get<int>(), 5000);
    EXPECT_EQ(sleeper["impact"]["band"], "Low") << sleeper.dump();
    EXPECT_LT(sleeper["impact"]["cpuMs"].get<int>(), 300);
    EXPECT_GE(sleeper["impact"]["seconds"].get<int>(), 2) << "followed until it ended";
    EXPECT_NE(kestrune::test::ReadText(app + "/settings.xml").find("<impact>"), std::string::npos);

    pugi::xml_document svg;
    ASSERT_TRUE(svg.load_file(svgPath.c_str())) << kestrune::test::ReadText(svgPath);
    ASSERT_STREQ(svg.document_element().name(), "svg");
    std::vector<std::string> texts;
    for (const pugi::xpath_node& text : svg.select_nodes("//text")) texts.emplace_back(text.node().text().get());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "burn.sh"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "sleep"), texts.end());
}

TEST_F(ImpactScenarioTest, TheRunsTimelineAsJsonCarriesTheStartsAndTheFigures) {
    AddTicked("Quick", "/bin/true", "1");
    const ProcessResult run = Kestrunec({"run-delayed", "--format", "json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const Json timeline = Json::parse(run.out);  // nothing else on standard output
    ASSERT_EQ(timeline["programs"].size(), 1u);
    const Json& quick = timeline["programs"][0];
    EXPECT_EQ(quick["name"], "true");
    EXPECT_EQ(quick["command"], "/bin/true");
    EXPECT_GE(quick["startedMs"].get<int>(), 500);
    EXPECT_TRUE(quick["impact"].contains("band"));
    EXPECT_TRUE(timeline["cpu"].is_array());
}

TEST_F(ImpactScenarioTest, MeasuringNothingEndsTheRunWithItsLastStart) {
    AddTicked("Long", "/bin/sleep 20", "1");
    const auto begin = std::chrono::steady_clock::now();
    const ProcessResult run = Kestrunec({"run-delayed", "--measure", "0"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(15));
    EXPECT_EQ(DelayedRows()[0]["impact"]["band"], "Not measured");
}

// Whether this account may give a process a higher priority again once it has been lowered.
bool MayRaisePriority() {
    const pid_t child = ::fork();
    if (child == 0) _exit(::setpriority(PRIO_PROCESS, 0, 19) == 0 && ::setpriority(PRIO_PROCESS, 0, 0) == 0 ? 0 : 1);
    int status = 1;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(ImpactScenarioTest, AStartedProgramRunsAtIdleWhileMeasuredThenNormalAndAStoredPriorityStays) {
    if (!MayRaisePriority()) GTEST_SKIP() << "this account may not raise a priority again (no CAP_SYS_NICE)";
    const std::string plainLog = folder.Path() + "plain.log";
    const std::string ownLog = folder.Path() + "own.log";
    AddTicked("Plain", NiceRecorder("plain.sh", plainLog, 30), "1");
    AddTicked("Own", NiceRecorder("own.sh", ownLog, 30), "1");
    ASSERT_EQ(Kestrunec({"edit", "Delayed", "Own", "--priority", "Below Normal"}).status, 0);

    const ProcessResult run = Kestrunec({"run-delayed", "--measure", "1"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto [plain, plainSessions] = WaitForSamples(plainLog, 30);
    const auto [own, ownSessions] = WaitForSamples(ownLog, 30);
    ASSERT_EQ(plain.size(), 30u);
    ASSERT_EQ(own.size(), 30u);

    // The first sample may be taken before the class is set; then low while measured (one
    // second), then back to Normal for good.
    const auto low = std::find(plain.begin(), plain.end(), 19);
    ASSERT_NE(low, plain.end()) << ::testing::PrintToString(plain);
    EXPECT_TRUE(std::all_of(plain.begin(), low, [](int nice) { return nice == 0; }));
    const auto normal = std::find(low, plain.end(), 0);
    // How many samples it takes while low depends on what else the machine runs.
    ASSERT_LE(normal - low, 25) << ::testing::PrintToString(plain);
    EXPECT_TRUE(std::all_of(normal, plain.end(), [](int nice) { return nice == 0; }))
        << ::testing::PrintToString(plain);

    EXPECT_EQ(std::count(own.begin(), own.end(), 19), 0) << ::testing::PrintToString(own);
    EXPECT_EQ(own.back(), 10) << "Below Normal, as its row asks, also after it was measured";
    // The program is alone in the session it was started in: where sessions weigh against each
    // other, the session carries the class too, or the lower class would change nothing. A
    // sample taken while the class goes back may find the session already back and the
    // program not yet, so the session is looked for over the samples taken while low.
    if (::access("/proc/self/autogroup", F_OK) == 0) {
        const auto lowFrom = plainSessions.begin() + (low - plain.begin());
        const auto lowUntil = plainSessions.begin() + (normal - plain.begin());
        EXPECT_NE(std::find(lowFrom, lowUntil, 19), lowUntil) << ::testing::PrintToString(plainSessions);
        EXPECT_EQ(plainSessions.back(), 0) << ::testing::PrintToString(plainSessions);
        EXPECT_EQ(ownSessions.back(), 10) << ::testing::PrintToString(ownSessions);
    }
}

}  // namespace
}  // namespace kestrune::cli
