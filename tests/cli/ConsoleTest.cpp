// The console front end's answers to the program's questions, and the real-time timers.

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "cli/ConsoleFrontEnd.h"
#include "cli/ConsoleTimers.h"

namespace kestrune::cli {
namespace {

struct Console {
    std::istringstream in;
    std::ostringstream out, err;
    ConsoleFrontEnd fe;
    Console(ConsoleAnswers answers, bool interactive, const std::string& typed = "")
        : in(typed), fe(std::move(answers), interactive, in, out, err) {}
};

TEST(ConsoleFrontEndTest, MessagesGoToStandardErrorWithTheirExactText) {
    Console c({}, false);
    c.fe.ShowMessage("Kestrune needs to be set to start up with Windows\r\nin order to run the delayed applications.",
                     MessageIcon::Information);
    EXPECT_EQ(c.err.str(),
              "Kestrune needs to be set to start up with Windows\nin order to run the delayed applications.\n");
    EXPECT_TRUE(c.out.str().empty());
    ASSERT_EQ(c.fe.Messages().size(), 1u);
    EXPECT_EQ(c.fe.Messages()[0].icon, MessageIcon::Information);
}

TEST(ConsoleFrontEndTest, YesNoQuestionsTakeTheCommandLineAnswerFirst) {
    ConsoleAnswers yes;
    yes.yesNo = true;
    Console answered(yes, true, "n\n");
    EXPECT_TRUE(answered.fe.AskYesNo("Do you want to permanantly delete this item?", MessageIcon::Exclamation));

    Console typed({}, true, "maybe\nY\n");
    EXPECT_TRUE(typed.fe.AskYesNo("Do you want to permanantly delete this item?", MessageIcon::Exclamation));
    EXPECT_NE(typed.err.str().find("Do you want to permanantly delete this item? [y/n]"), std::string::npos);
}

TEST(ConsoleFrontEndTest, AnUnansweredQuestionNamesTheOptionThatAnswersIt) {
    Console c({}, false);
    try {
        c.fe.AskYesNo("Do you want to permanantly delete this item?", MessageIcon::Exclamation);
        FAIL() << "no exception";
    } catch (const UnansweredQuestion& e) {
        EXPECT_STREQ(e.what(),
                     "the program asks \"Do you want to permanantly delete this item?\": answer it with --yes or --no");
    }
    Console ended({}, true, "");  // a terminal that reaches its end of input
    EXPECT_THROW(ended.fe.AskYesNo("Q?", MessageIcon::Exclamation), UnansweredQuestion);
    Console monitor({}, false);
    try {
        monitor.fe.AskMonitor("The following programs\r\nx.exe\r\nhave registered", {});
        FAIL() << "no exception";
    } catch (const UnansweredQuestion& e) {
        EXPECT_STREQ(e.what(), "the program asks \"The following programs\": answer it with --answer allow|deny");
    }
}

TEST(ConsoleFrontEndTest, MonitorPromptAnswersCarryTheRememberChoice) {
    ConsoleAnswers deny;
    deny.monitorKeep = false;
    deny.remember = true;
    Console c(deny, false);
    const MonitorAnswer answer =
        c.fe.AskMonitor("The following programs", {"Updater \u2014 HKCU Run", "Chat \u2014 User"});
    EXPECT_FALSE(answer.keep);
    EXPECT_TRUE(answer.remember);

    // Each new entry with its place, under the question's own text.
    EXPECT_EQ(c.err.str(), "The following programs\n  Updater \u2014 HKCU Run\n  Chat \u2014 User\n");

    Console typed({}, true, "y\nn\n");
    const MonitorAnswer typedAnswer = typed.fe.AskMonitor("The following programs", {});
    EXPECT_TRUE(typedAnswer.keep);
    EXPECT_FALSE(typedAnswer.remember);
}

TEST(ConsoleFrontEndTest, InputBoxesAndFileDialogsTakeQueuedAnswersInOrder) {
    ConsoleAnswers answers;
    answers.inputs = {"Work", ""};
    answers.files = {"/tmp/backup.xml"};
    Console c(answers, false);
    EXPECT_EQ(c.fe.InputBox("Please enter a name for the new profile:", "Add Profile", ""), "Work");
    EXPECT_EQ(c.fe.InputBox("second", "", "5"), "");
    EXPECT_THROW(c.fe.InputBox("third", "", ""), UnansweredQuestion);
    EXPECT_EQ(c.fe.ChooseFile("XML files (*.xml)|*.xml", "/"), "/tmp/backup.xml");
    EXPECT_EQ(c.fe.ChooseFile("XML files (*.xml)|*.xml", "/"), "");  // cancelled
}

TEST(ConsoleFrontEndTest, SelectionIsTheChosenRowOfItsTableOnly) {
    Console c({}, false);
    EXPECT_TRUE(c.fe.SelectedRows(TableKind::HKCU_Run).empty());
    c.fe.Select(TableKind::HKCU_Run, 3);
    EXPECT_EQ(c.fe.SelectedRows(TableKind::HKCU_Run), std::vector<int>{3});
    EXPECT_TRUE(c.fe.SelectedRows(TableKind::HKLM_Run).empty());
}

TEST(ConsoleFrontEndTest, StatusLinesArePrintedOnlyWhileEchoed) {
    Console c({}, false);
    c.fe.SetStatus("Finished loading");
    c.fe.echoStatus = true;
    c.fe.SetStatus("3 seconds have passed");
    EXPECT_EQ(c.out.str(), "3 seconds have passed\n");
    EXPECT_EQ(c.fe.Statuses().size(), 2u);
}

using namespace std::chrono_literals;

TEST(ConsoleTimersTest, FiresRunningTimersByIntervalUntilDone) {
    ConsoleTimers timers;
    int fast = 0, slow = 0, stopped = 0;
    auto a = timers.Create(10, [&] { ++fast; });
    auto b = timers.Create(35, [&] { ++slow; });
    auto c = timers.Create(5, [&] { ++stopped; });
    a->Start();
    b->Start();
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_TRUE(timers.RunUntil([&] { return slow == 2; }));
    const auto took = std::chrono::steady_clock::now() - begin;
    EXPECT_GE(took, 70ms);
    // About seven; a loaded machine may run a late tick late but never early.
    EXPECT_GE(fast, 4);
    EXPECT_LE(fast, 8);
    EXPECT_EQ(stopped, 0);
}

TEST(ConsoleTimersTest, StopsAtTheLimitAndWhenNoTimerRuns) {
    ConsoleTimers timers;
    int ticks = 0;
    auto timer = timers.Create(20, [&] { ++ticks; });
    EXPECT_FALSE(timers.RunUntil([] { return false; }));  // nothing runs: returns at once
    timer->Start();
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_FALSE(timers.RunUntil([] { return false; }, 110ms));
    EXPECT_GE(std::chrono::steady_clock::now() - begin, 110ms);
    EXPECT_GE(ticks, 3);
    EXPECT_LE(ticks, 6);
}

TEST(ConsoleTimersTest, ATimerStoppedOrDestroyedInATickFiresNoMore) {
    ConsoleTimers timers;
    int first = 0, second = 0;
    std::unique_ptr<Timer> other;
    auto self = timers.Create(5, [&] {
        ++first;
        other.reset();  // a tick may destroy another timer
    });
    other = timers.Create(5, [&] { ++second; });
    self->Start();
    other->Start();
    timers.RunUntil([&] { return first == 3; });
    EXPECT_LE(second, 1);
    self->Stop();
    EXPECT_FALSE(timers.AnyRunning());
}

}  // namespace
}  // namespace kestrune::cli
