#include "support/ScriptedFrontEnd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

namespace kestrune::test {

void ScriptedFrontEnd::ShowMessage(const std::string& text, MessageIcon icon, const std::string&) {
    messages.push_back({text, icon});
}

bool ScriptedFrontEnd::AskYesNo(const std::string& text, MessageIcon, const std::string&) {
    questions.push_back(text);
    if (yesNoAnswers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text;
        return false;
    }
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

std::string ScriptedFrontEnd::InputBox(const std::string& prompt, const std::string&, const std::string&) {
    questions.push_back(prompt);
    if (inputAnswers.empty()) {
        ADD_FAILURE() << "unexpected input box: " << prompt;
        return {};
    }
    std::string answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

std::string ScriptedFrontEnd::ChooseFile(const std::string&, const std::string&) {
    if (fileAnswers.empty()) return {};
    std::string answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

MonitorAnswer ScriptedFrontEnd::AskMonitor(const std::string& message, const std::vector<std::string>& newEntries) {
    monitorPrompts.push_back(message);
    monitorEntries.push_back(newEntries);
    if (monitorAnswers.empty()) {
        ADD_FAILURE() << "unexpected monitor prompt: " << message;
        return {};
    }
    const MonitorAnswer answer = monitorAnswers.front();
    monitorAnswers.pop_front();
    return answer;
}

void ScriptedFrontEnd::ShowBalloon(const std::string& title, const std::string& text, int timeoutMs) {
    events.push_back("balloon " + title + ": " + text + " (" + std::to_string(timeoutMs) + ")");
}

void ScriptedFrontEnd::ShowItemEditor() {
    events.push_back("editor");
    if (onItemEditor) onItemEditor();
}

void ScriptedFrontEnd::ShowProfilesDialog() {
    events.push_back("profiles");
    if (onProfilesDialog) onProfilesDialog();
}

struct ManualTimers::Entry {
    int interval;
    std::function<void()> onTick;
    bool running = false;
    long long due = 0;
};

namespace {

class ManualTimer : public Timer {
public:
    ManualTimer(std::shared_ptr<void> entry, std::function<void(bool)> setRunning, std::function<bool()> running)
        : entry_(std::move(entry)), setRunning_(std::move(setRunning)), running_(std::move(running)) {}
    void Start() override { setRunning_(true); }
    void Stop() override { setRunning_(false); }
    bool Running() const override { return running_(); }

private:
    std::shared_ptr<void> entry_;
    std::function<void(bool)> setRunning_;
    std::function<bool()> running_;
};

}  // namespace

std::unique_ptr<Timer> ManualTimers::Create(int intervalMs, std::function<void()> onTick) {
    auto entry = std::make_shared<Entry>();
    entry->interval = intervalMs;
    entry->onTick = std::move(onTick);
    timers_.push_back(entry);
    Entry* raw = entry.get();
    long long* now = &now_;
    return std::make_unique<ManualTimer>(
        entry,
        [raw, now](bool run) {
            if (run && !raw->running) raw->due = *now + raw->interval;
            raw->running = run;
        },
        [raw] { return raw->running; });
}

void ManualTimers::MoveTo(long long when) {
    clock_.Pass(when - now_);
    now_ = when;
}

void ManualTimers::Advance(int ms) {
    const long long end = now_ + ms;
    for (;;) {
        std::shared_ptr<Entry> next;
        for (const auto& t : timers_)
            if (t->running && t->due <= end && (!next || t->due < next->due)) next = t;
        if (!next) break;
        MoveTo(next->due);
        next->due += next->interval;
        next->onTick();
    }
    MoveTo(end);
}

void FixedClock::Pass(long long ms) {
    using namespace std::chrono;
    pendingMs_ += ms;
    const long long wholeSeconds = pendingMs_ / 1000;
    pendingMs_ %= 1000;
    const sys_days date =
        year_month_day{year{now.year}, month{static_cast<unsigned>(now.month)}, day{static_cast<unsigned>(now.day)}};
    const sys_seconds then = date + hours{now.hour} + minutes{now.minute} + seconds{now.second} + seconds{wholeSeconds};
    const sys_days thenDate = floor<days>(then);
    const year_month_day ymd{thenDate};
    const hh_mm_ss time{then - thenDate};
    now = {static_cast<int>(ymd.year()),
           static_cast<int>(static_cast<unsigned>(ymd.month())),
           static_cast<int>(static_cast<unsigned>(ymd.day())),
           static_cast<int>(time.hours().count()),
           static_cast<int>(time.minutes().count()),
           static_cast<int>(time.seconds().count())};
}

}  // namespace kestrune::test
