// A delayed run on the emulated machine measures what each program costs: one that burns
// processor time is rated High, one that only sleeps Low; both rows keep their figures, `list`
// shows them, and the run's timeline names both programs.

#include <gtest/gtest.h>
#include <sys/stat.h>

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
    Json DelayedRows() const {
        const ProcessResult list = Kestrunec({"list", "Delayed", "--format", "json"});
        EXPECT_EQ(list.status, 0) << list.err;
        return Json::parse(list.out)["tables"][0]["rows"];
    }
};

TEST_F(ImpactScenarioTest, ABusyProgramIsRatedHighAndASleepingOneLowAndTheTimelineNamesBoth) {
    AddTicked("Burner", Burner(150), "1");
    AddTicked("Sleeper", "/bin/sleep 2", "1");
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

}  // namespace
}  // namespace kestrune::cli
