#pragma once
// A program folder on a temporary emulated machine with a scripted front end and a fixed
// clock, and the state of the main window over them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ScriptedFrontEnd.h"
#include "support/TestMachine.h"
#include "support/TestState.h"

namespace kestrune::test {

// Remembers the titles of input boxes as well as their prompts.
class TitledFrontEnd : public ScriptedFrontEnd {
public:
    std::vector<std::string> inputTitles;
    std::vector<std::string> inputDefaults;
    std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) override {
        inputTitles.push_back(title);
        inputDefaults.push_back(defaultText);
        return ScriptedFrontEnd::InputBox(prompt, title, defaultText);
    }
};

class StoreFixture : public ::testing::Test {
protected:
    StoreFixture() : state(*machine.platform, clock) { state.InProgramFolder(machine.appFolder); }

    std::string AppFile(const std::string& name) const { return machine.appFolder + name; }
    std::string Log() const { return ReadText(AppFile("log.txt")); }

    TestMachine machine;
    TitledFrontEnd fe;
    FixedClock clock;
    TestState state;
};

}  // namespace kestrune::test
