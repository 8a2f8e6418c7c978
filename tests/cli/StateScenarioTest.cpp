// A wanted start-up state driven from outside, as a management engine drives it: export, drift
// made by another program, check, apply --check, apply, and the refusals of a state file that
// is not one.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "MachineScenario.h"

namespace kestrune::cli {
namespace {

using test::ProcessResult;
namespace fs = std::filesystem;
using Json = nlohmann::json;

class StateScenarioTest : public MachineScenario {
protected:
    std::string statePath = folder.Path() + "state.json";

    void WriteState(const std::string& text) const { kestrune::test::WriteText(statePath, text); }
    void WriteState(const Json& json) const { WriteState(json.dump()); }
    // Everything a state file could change: the Run keys, the user's Startup folder, the
    // program's settings document.
    std::string Snapshot() const {
        std::string all = RegList(kHkcuRun) + "|" + RegList(kHklmRun) + "|";
        for (const auto& entry : fs::directory_iterator(UserFolder())) all += entry.path().filename().string() + ",";
        const std::string document = app + "/settings.xml";
        return all + "|" + (fs::exists(document) ? kestrune::test::ReadText(document) : "");
    }
    Json ApplyJson(std::vector<std::string> arguments, int wantedStatus) const {
        arguments.insert(arguments.begin(), {"apply", statePath, "--format", "json"});
        const ProcessResult result = Kestrunec(arguments);
        EXPECT_EQ(result.status, wantedStatus) << result.out << result.err;
        return Json::parse(result.out);
    }
};

TEST_F(StateScenarioTest, ExportDriftCheckApplyCheckAgainAndASecondApplyChangesNothing) {
    RegSet(kHkcuRun, "Updater", "C:\\up.exe /quiet");
    RegSet(kHklmRun, "Agent", "C:\\agent.exe");
    ASSERT_EQ(
        Machine({"lnk", "create", UserFolder() + "/Notes.lnk", "--target", "C:\\notes.exe", "--args", "-m"}).status, 0);
    ASSERT_EQ(Kestrunec({"disable", "HKLM_Run", "Agent"}).status, 0);

    const ProcessResult exported = Kestrunec({"export", statePath});
    ASSERT_EQ(exported.status, 0) << exported.err;
    const std::string first = kestrune::test::ReadText(statePath);
    const ProcessResult toStdout = Kestrunec({"export"});
    EXPECT_EQ(toStdout.out, first) << "export twice, the same bytes";
    const Json state = Json::parse(first);
    EXPECT_EQ(state["kestrune-state"], 1);
    EXPECT_EQ(state["places"]["HKLM_Run"]["entries"][0],
              Json({{"name", "Agent"}, {"command", "C:\\agent.exe"}, {"enabled", false}}));
    EXPECT_EQ(state["places"]["UserStartup"]["entries"][0],
              Json({{"name", "Notes"}, {"target", "C:\\notes.exe"}, {"arguments", "-m"}, {"enabled", true}}));

    const ProcessResult matching = Kestrunec({"check", statePath});
    EXPECT_EQ(matching.status, 0) << matching.out << matching.err;

    // Another program changes the machine: a changed command, a re-enabled entry, a lost shortcut.
    RegSet(kHkcuRun, "Updater", "C:\\other.exe");
    RegSet(kHklmRun, "Agent", "C:\\agent.exe");
    fs::remove(UserFolder() + "/Notes.lnk");

    const ProcessResult drift = Kestrunec({"check", statePath});
    EXPECT_EQ(drift.status, 1) << drift.out << drift.err;
    const std::string summary = drift.out.substr(0, drift.out.find('\n'));
    EXPECT_LT(summary.size(), 2048u);
    EXPECT_EQ(summary.rfind("Kestrune state drifts: 3 difference(s)", 0), 0u) << summary;
    EXPECT_NE(drift.out.find("HKCU Run \"Updater\": runs \"C:\\other.exe\", wanted \"C:\\up.exe /quiet\""),
              std::string::npos)
        << drift.out;
    EXPECT_NE(drift.out.find("HKLM Run \"Agent\": enabled, wanted disabled"), std::string::npos) << drift.out;
    EXPECT_NE(drift.out.find("Startup (user) \"Notes\": missing, wanted enabled"), std::string::npos) << drift.out;

    const ProcessResult driftJson = Kestrunec({"check", statePath, "--format", "json"});
    EXPECT_EQ(driftJson.status, 1);
    const Json differences = Json::parse(driftJson.out)["differences"];
    ASSERT_EQ(differences.size(), 3u);
    EXPECT_EQ(differences[0]["change"], "disable");
    EXPECT_EQ(differences[0]["before"]["enabled"], true);
    EXPECT_EQ(differences[0]["after"]["enabled"], false);

    const std::string beforeCheckRun = Snapshot();
    const Json wouldDo = ApplyJson({"--check"}, 0);
    EXPECT_EQ(wouldDo["changed"], true);
    EXPECT_EQ(wouldDo["changes"].size(), 3u);
    EXPECT_EQ(Snapshot(), beforeCheckRun) << "apply --check changed the machine";

    const Json applied = ApplyJson({}, 0);
    EXPECT_EQ(applied["changed"], true);
    EXPECT_EQ(applied["matches"], true);
    EXPECT_NE(RegList(kHkcuRun).find("C:\\up.exe /quiet"), std::string::npos);
    EXPECT_FALSE(InKey(kHklmRun, "Agent"));
    EXPECT_EQ(Machine({"lnk", "show", UserFolder() + "/Notes.lnk"}).out, "C:\\notes.exe\n-m\n");

    EXPECT_EQ(Kestrunec({"check", statePath}).status, 0);
    const Json again = ApplyJson({}, 0);
    EXPECT_EQ(again["changed"], false);
    EXPECT_TRUE(again["changes"].empty()) << again.dump();
    EXPECT_EQ(Kestrunec({"export"}).out, first);
}

TEST_F(StateScenarioTest, AnExactPlaceDisablesWhatItDoesNotNameAndKeepsItRestorable) {
    RegSet(kHkcuRun, "Wanted", "C:\\wanted.exe");
    RegSet(kHkcuRun, "Intruder", "C:\\intruder.exe --tray");
    // The file names the entry in another case: names match as the program matches them.
    WriteState(Json{{"kestrune-state", 1},
                    {"places", {{"HKCU_Run", {{"mode", "exact"}, {"entries", {{{"name", "WANTED"}}}}}}}}});

    const ProcessResult check = Kestrunec({"check", statePath});
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.out.find("\"Intruder\": enabled but not in the state, wanted disabled"), std::string::npos)
        << check.out;
    const ProcessResult applied = Kestrunec({"apply", statePath});
    ASSERT_EQ(applied.status, 0) << applied.out << applied.err;
    EXPECT_NE(applied.out.find("disabled \"Intruder\" in HKCU Run; it is kept in settings.xml"), std::string::npos)
        << applied.out;
    EXPECT_FALSE(InKey(kHkcuRun, "Intruder"));
    EXPECT_TRUE(InKey(kHkcuRun, "Wanted"));
    EXPECT_NE(kestrune::test::ReadText(app + "/settings.xml").find("C:\\intruder.exe --tray"), std::string::npos);

    // Restorable: an enable puts back exactly what was taken out.
    ASSERT_EQ(Kestrunec({"enable", "HKCU_Run", "Intruder"}).status, 0);
    EXPECT_NE(RegList(kHkcuRun).find("Intruder\tREG_SZ\tC:\\intruder.exe --tray"), std::string::npos)
        << RegList(kHkcuRun);
}

TEST_F(StateScenarioTest, ARefusedChangeEndsWithStatusOneAndTheRestIsApplied) {
    RegSet(kHkcuRun, "Locked", "C:\\locked.exe");
    RegSet(kHklmRun, "Free", "C:\\free.exe");
    WriteState(Json{{"kestrune-state", 1},
                    {"places",
                     {{"HKCU_Run", {{"entries", {{{"name", "Locked"}, {"enabled", false}}}}}},
                      {"HKLM_Run",
                       {{"entries",
                         {{{"name", "Free"}, {"enabled", false}},
                          {{"name", "Added"}, {"command", "C:\\added.exe"}, {"enabled", true}}}}}}}}});
    ASSERT_EQ(Machine({"deny", kHkcuRun}).status, 0);

    const ProcessResult applied = Kestrunec({"apply", statePath, "--format", "json"});
    EXPECT_EQ(applied.status, 1) << applied.out;
    EXPECT_NE(applied.err.find("The system refused the change to Locked:\nAccess is denied."), std::string::npos)
        << applied.err;
    const Json result = Json::parse(applied.out);
    EXPECT_EQ(result["changed"], true);
    EXPECT_EQ(result["matches"], false);
    ASSERT_EQ(result["remaining"].size(), 1u);
    EXPECT_EQ(result["remaining"][0]["name"], "Locked");
    EXPECT_TRUE(InKey(kHkcuRun, "Locked"));
    EXPECT_FALSE(InKey(kHklmRun, "Free"));
    EXPECT_TRUE(InKey(kHklmRun, "Added"));

    ASSERT_EQ(Machine({"allow", kHkcuRun}).status, 0);
    EXPECT_EQ(Kestrunec({"apply", statePath}).status, 0);
    EXPECT_FALSE(InKey(kHkcuRun, "Locked"));
}

TEST_F(StateScenarioTest, AStateFileThatIsNotOneIsRefusedWithAClearMessageAndChangesNothing) {
    RegSet(kHkcuRun, "Updater", "C:\\up.exe");
    ASSERT_EQ(Kestrunec({"disable", "HKCU_Run", "Updater"}).status, 0);
    RegSet(kHkcuRun, "Other", "C:\\other.exe");
    const std::string before = Snapshot();

    const Json disableOther = {{"name", "Other"}, {"enabled", false}};
    struct Case {
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases = {
        {Json{{"kestrune-state", 2}, {"places", Json::object()}}.dump(), "has version 2, this program reads version 1"},
        {R"({"places":{}})", "has no \"kestrune-state\" version"},
        {"{\"kestrune-state\": 1, \"places\": {\"HKCU_Run\": {\"entries\": [", "is not JSON"},
        {Json{{"kestrune-state", 1}, {"places", {{"HKCU_Run", {{"entries", {disableOther, {{"name", 7}}}}}}}}}.dump(),
         "places.HKCU_Run.entries[1].name must be a string"},
        {Json{{"kestrune-state", 1},
              {"places", {{"HKCU_Run", {{"entries", {disableOther, {{"name", "Updater"}, {"enabled", "yes"}}}}}}}}}
             .dump(),
         "places.HKCU_Run.entries[1].enabled must be true or false"},
        {Json{{"kestrune-state", 1}, {"places", {{"HKCU_Run", {{"mode", "all"}, {"entries", {disableOther}}}}}}}.dump(),
         "places.HKCU_Run.mode must be \"listed\" or \"exact\""},
        {Json{{"kestrune-state", 1}, {"places", {{"HKCU_Run", {{"entries", {disableOther}}}}}}, {"extra", true}}.dump(),
         "has an unknown key \"extra\""},
        {Json{{"kestrune-state", 1},
              {"places",
               {{"HKCU_Run", {{"entries", {disableOther}}}},
                {"UserStartup", {{"entries", {{{"name", "..\\..\\Windows\\evil"}, {"target", "C:\\evil.exe"}}}}}}}}}
             .dump(),
         "UserStartup has a name that is not a plain name: \"..\\..\\Windows\\evil\""},
        {Json{{"kestrune-state", 1},
              {"places", {{"HKCU_Run", {{"entries", {disableOther, {{"name", "a/b"}, {"command", "x"}}}}}}}}}
             .dump(),
         "HKCU_Run has a name that is not a plain name: \"a/b\""},
        {Json{{"kestrune-state", 1}, {"places", {{"HKCU_Run", {{"entries", {disableOther, disableOther}}}}}}}.dump(),
         "HKCU_Run names this entry twice: \"Other\""},
        {R"({"kestrune-state": 1, "places": {"HKCU_Run": {"entries": []}, "hkcu_run": {"entries": []}}})",
         "places names HKCU_Run twice"},
        {"{\"kestrune-state\": 1, \"places\": {}, \"known\": [" + std::string(10 * 1024 * 1024, ' ') + "]}",
         "the state file is larger than 4 MiB"},
        {"{\"kestrune-state\": 1, \"delayed\": " + std::string(100, '[') + std::string(100, ']') + "}",
         "nested deeper than a state file is"},
    };
    for (const Case& c : cases) {
        WriteState(c.text);
        for (const char* command : {"check", "apply"}) {
            const ProcessResult result = Kestrunec({command, statePath});
            EXPECT_EQ(result.status, 2) << command << ": " << c.message << "\n" << result.out << result.err;
            EXPECT_NE(result.err.find(c.message), std::string::npos) << command << ": " << result.err;
            EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
        }
        EXPECT_EQ(Snapshot(), before) << c.message;
    }
    const ProcessResult missing = Kestrunec({"check", folder.Path() + "none.json"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("cannot read the state file"), std::string::npos) << missing.err;
    EXPECT_EQ(Kestrunec({"apply"}).status, 2);
}

// Another copy of the program holds the machine (the desktop program, or here a watching
// console): apply is refused, while check only reads and answers as it would at any time.
TEST_F(StateScenarioTest, WhileAnotherCopyRunsApplyIsRefusedAndCheckStillAnswers) {
    RegSet(kHkcuRun, "Nagger", "C:\\nag.exe");
    WriteState(Json{{"kestrune-state", 1},
                    {"places", {{"HKCU_Run", {{"entries", {{{"name", "Nagger"}, {"enabled", false}}}}}}}}});
    test::BackgroundProcess monitor(KESTRUNEC_PATH, WithFolders({"monitor", "--seconds", "4", "--answer", "deny"}));
    ASSERT_TRUE(monitor.WaitForOutput("Watching the start-up places", std::chrono::seconds(60)));
    const ProcessResult check = Kestrunec({"check", statePath});
    const ProcessResult apply = Kestrunec({"apply", statePath});
    EXPECT_EQ(monitor.Wait().status, 0);
    EXPECT_EQ(check.status, 1) << check.err;
    EXPECT_EQ(apply.status, 1) << apply.err;
    EXPECT_EQ(apply.err, "kestrunec: Kestrune is already running; close it first.\n");
    EXPECT_TRUE(InKey(kHkcuRun, "Nagger"));
    EXPECT_EQ(Kestrunec({"check", statePath}).status, 1);
}

}  // namespace
}  // namespace kestrune::cli
