#pragma once
// A main window's state over a hand-written process list, with a scripted user, manual timers
// and a log in a temporary program folder.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FakeProcesses.h"
#include "support/LogReader.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TestMachine.h"
#include "support/TestState.h"

namespace kestrune::test {

class ProcsFixture : public ::testing::Test {
protected:
    ProcsFixture() {
        state.LogIn(machine.appFolder).BeginLog("test").WithTimers(timers, {.priority = [this] { ++watcherTicks; }});
    }

    Table& processTable() { return state.model.tables[TableKind::Process]; }

    // A row as the settings document brings it back: ticked, without a handle.
    int AddStoredRow(const std::string& name, const std::string& path, const std::string& priority) {
        return processTable().Add({name, path, priority, ""}, true);
    }

    void ShowProcessTab() { state.view.currentTab = Number(TableKind::Process) + 1; }

    // The texts of the log lines written since the fixture began, without their time stamps.
    std::vector<std::string> LogTexts() const { return test::LogTexts(state.paths.logPath, 1); }

    TestMachine machine;
    FakeProcesses processes;
    FakeProcessPlatform platform{*machine.platform, processes};
    ScriptedFrontEnd fe;
    FixedClock clock;
    ManualTimers timers{clock};
    TestState state{platform, clock};
    int watcherTicks = 0;
};

}  // namespace kestrune::test
