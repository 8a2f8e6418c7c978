#pragma once
// The main state a test works on, set up by saying what the test needs: the program folder
// and the files kept in it, a log that has begun, the priority watcher's timer. What a test
// does not ask for stays as a program that has not reached that step of its start-up has it.

#include <functional>
#include <string>
#include <string_view>

#include "app/MainState.h"
#include "procs/PriorityWatcher.h"
#include "support/ScriptedFrontEnd.h"

namespace kestrune::test {

// What the priority watcher's timer does on its tick; without it the timer ticks idly. The
// delayed run's and the change monitor's timers are their own (DelayedRun, MonitorState).
struct TimerTicks {
    std::function<void()> priority = {};
};

class TestState : public MainState {
public:
    TestState(platform::Platform& platform, Clock& clock) : MainState(platform, clock) {}

    // The program folder (`folder` ends in a separator) with log.txt and settings.xml in it.
    TestState& InProgramFolder(const std::string& folder) {
        paths.appFolder = folder;
        paths.logPath = folder + "log.txt";
        paths.settingsDocumentPath = folder + "settings.xml";
        return *this;
    }
    // settings.ini in the program folder.
    TestState& WithIni() {
        paths.iniPath = paths.appFolder + "settings.ini";
        return *this;
    }
    // The log in `folder` alone, for tests that keep no other file.
    TestState& LogIn(const std::string& folder) {
        paths.logPath = folder + "log.txt";
        return *this;
    }
    // Writes the log's first line, which the tests' log readers skip.
    TestState& BeginLog(std::string_view firstLine) {
        services.log.Write(firstLine, paths.logPath);
        return *this;
    }

    // The priority watcher's timer, on manual time, at the program's own interval.
    TestState& WithTimers(ManualTimers& timers, TimerTicks ticks = {}) {
        priorityWatcher = PriorityWatcher(timers.Create(5000, Or(std::move(ticks.priority))));
        return *this;
    }

    // The watcher the session owns beside the state.
    PriorityWatcher priorityWatcher;

private:
    static std::function<void()> Or(std::function<void()> tick) {
        return tick ? std::move(tick) : std::function<void()>([] {});
    }
};

}  // namespace kestrune::test
