#pragma once
// The main state a test works on, set up by saying what the test needs: the program folder
// and the files kept in it, a log that has begun, the two timers. What a test does not ask
// for stays as a program that has not reached that step of its start-up has it.

#include <functional>
#include <string>
#include <string_view>

#include "app/MainState.h"
#include "support/ScriptedFrontEnd.h"

namespace kestrune::test {

// What each of the two timers does on its tick; a timer without one ticks idly. The change
// monitor's timer is the monitor's own (MonitorState).
struct TimerTicks {
    std::function<void()> delayedRun = {};
    std::function<void()> priority = {};
};

class TestState : public MainState {
public:
    TestState(platform::Platform& platform, FrontEnd& frontEnd, Clock& clock) : MainState(platform, frontEnd, clock) {}

    // The program folder (`folder` ends in a separator) with log.txt and settings.xml in it.
    TestState& InProgramFolder(const std::string& folder) {
        appFolder = folder;
        logPath = folder + "log.txt";
        settingsDocumentPath = folder + "settings.xml";
        return *this;
    }
    // settings.ini in the program folder.
    TestState& WithIni() {
        iniPath = appFolder + "settings.ini";
        return *this;
    }
    // The log in `folder` alone, for tests that keep no other file.
    TestState& LogIn(const std::string& folder) {
        logPath = folder + "log.txt";
        return *this;
    }
    // Writes the log's first line, which the tests' log readers skip.
    TestState& BeginLog(std::string_view firstLine) {
        log.Write(firstLine, logPath);
        return *this;
    }

    // The two timers, on manual time, at the program's own intervals.
    TestState& WithTimers(ManualTimers& timers, TimerTicks ticks = {}) {
        delayedRunTimer = timers.Create(1000, Or(std::move(ticks.delayedRun)));
        priorityTimer = timers.Create(5000, Or(std::move(ticks.priority)));
        return *this;
    }

private:
    static std::function<void()> Or(std::function<void()> tick) {
        return tick ? std::move(tick) : std::function<void()>([] {});
    }
};

}  // namespace kestrune::test
