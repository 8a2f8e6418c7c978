#pragma once
// A front end for tests: it records every message, question, status text and window action,
// and answers questions from queues the test fills (failing the test when a question comes
// that nobody expected).

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/Clock.h"
#include "app/FrontEnd.h"

namespace kestrune::test {

struct Message {
    std::string text;
    MessageIcon icon;
};

class ScriptedFrontEnd : public FrontEnd {
public:
    // Answers, taken in order.
    std::deque<bool> yesNoAnswers;
    std::deque<std::string> inputAnswers;
    std::deque<std::string> fileAnswers;
    std::deque<MonitorAnswer> monitorAnswers;
    // What a modal dialog does while "open" (the test plays the user in it).
    std::function<void()> onItemEditor;
    std::function<void()> onProfilesDialog;
    // Called with each status text as it is shown.
    std::function<void(const std::string&)> onStatus;
    // Rows the test has selected, per table number.
    std::vector<std::vector<int>> selection = std::vector<std::vector<int>>(10);

    // What happened.
    std::vector<Message> messages;
    std::vector<std::string> questions;  // yes/no and input prompts, in order
    std::vector<std::string> monitorPrompts;
    std::vector<std::vector<std::string>> monitorEntries;  // the list under each prompt
    std::vector<std::string> statuses;
    std::vector<std::string> events;  // window, tray and dialog actions
    std::string caption;
    std::string clipboard;
    int quitCalls = 0;

    std::string LastStatus() const { return statuses.empty() ? std::string{} : statuses.back(); }
    std::string LastMessage() const { return messages.empty() ? std::string{} : messages.back().text; }

    void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) override;
    bool AskYesNo(const std::string& text, MessageIcon icon, const std::string& title) override;
    std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) override;
    std::string ChooseFile(const std::string& filter, const std::string& initialFolder) override;
    MonitorAnswer AskMonitor(const std::string& message, const std::vector<std::string>& newEntries) override;
    void SetStatus(const std::string& text) override {
        statuses.push_back(text);
        if (onStatus) onStatus(text);
    }
    void SetCaption(const std::string& text) override { caption = text; }
    bool LoadFileIcon(const std::string&, int) override { return true; }
    void MinimiseWindow() override { events.push_back("minimise"); }
    void ShowWindowNormal() override { events.push_back("show"); }
    void HideWindow() override { events.push_back("hide"); }
    void CentreWindow() override { events.push_back("centre"); }
    void AddTrayIcon(const std::string& tip) override { events.push_back("tray add " + tip); }
    void RemoveTrayIcon() override { events.push_back("tray remove"); }
    void ShowBalloon(const std::string& title, const std::string& text, int timeoutMs) override;
    void CopyToClipboard(const std::string& text) override { clipboard = text; }
    void ShowItemEditor() override;
    void ShowProfilesDialog() override;
    void Quit() override { ++quitCalls; }
};

// A clock that says what the test sets, and moves only when told (by the test, or by the
// manual timers it is given to).
class FixedClock : public Clock {
public:
    LocalTime now{2026, 12, 7, 8, 15, 2};
    LocalTime Now() override { return now; }
    // Moves `now` on by `ms`, across minutes, days, months and years; what is short of a whole
    // second is carried into the next call, as the log's stamps show whole seconds only.
    void Pass(long long ms);

private:
    long long pendingMs_ = 0;
};

// Timers that fire only when the test advances time. The clock moves with them, so code that
// reads the time in a tick sees the moment that tick is due, as it would on a real machine.
class ManualTimers : public TimerFactory {
public:
    explicit ManualTimers(FixedClock& clock) : clock_(clock) {}
    std::unique_ptr<Timer> Create(int intervalMs, std::function<void()> onTick) override;
    // Advances time by `ms`, firing every running timer as often as its interval fits, in
    // time order.
    void Advance(int ms);

private:
    struct Entry;
    void MoveTo(long long when);

    FixedClock& clock_;
    std::vector<std::shared_ptr<Entry>> timers_;
    long long now_ = 0;
};

}  // namespace kestrune::test
