#pragma once
// A temporary machine with the two Startup folders and the three Run keys in place, a main
// state over it with an icon cache, a scripted front end and a fixed clock.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "locations/IconCache.h"
#include "locations/Places.h"
#include "locations/RegistryOps.h"
#include "locations/Scanning.h"
#include "locations/ShellOps.h"
#include "support/LogReader.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TestMachine.h"
#include "support/TestState.h"

namespace kestrune::test {

using platform::RootKey;
using platform::ValueType;

class LocationFixture : public ::testing::Test {
protected:
    LocationFixture() : state(Platform(), clock), icons(Platform().files(), fe, state.view) {
        state.services.icons = &icons;
        state.InProgramFolder(machine.appFolder).WithTimers(timers);
        auto& registry = Platform().registry();
        for (const auto& key :
             {RunKeyOf(TableKind::HKLM_Run), RunKeyOf(TableKind::HKCU_Run), RunKeyOf(TableKind::RunOnce)})
            registry.CreateKey(key->root, key->subkey);
        DetermineStartupFolders(state.services.platform, state.paths);
        userFolder = state.paths.userStartupFolder;
        std::filesystem::create_directories(state.paths.userStartupFolder);
        std::filesystem::create_directories(state.paths.commonStartupFolder);
        state.BeginLog("test begins");
    }

    platform::Platform& Platform() { return *machine.platform; }
    platform::Registry& Registry() { return Platform().registry(); }

    // A program file with the given content (the icon cache tells files apart by content).
    std::string Program(const std::string& name, const std::string& content) {
        const std::string path = machine.machineRoot + "/Programs/" + name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        WriteText(path, content);
        return path;
    }
    void Link(const std::string& folder, const std::string& fileName, const std::string& target,
              const std::string& arguments = "") {
        platform::ShortcutInfo info;
        info.target = target;
        info.arguments = arguments;
        ASSERT_TRUE(Platform().shell().WriteShortcut(AddBackslash(folder) + fileName, info));
    }
    void SetValue(TableKind kind, const std::string& name, ValueType type, const std::string& data) {
        const auto key = RunKeyOf(kind);
        ASSERT_TRUE(Registry().SetValue(key->root, key->subkey, {name, type, data}).Ok());
    }
    std::optional<platform::RegistryValue> Value(TableKind kind, const std::string& name) {
        const auto key = RunKeyOf(kind);
        return Registry().QueryValue(key->root, key->subkey, name);
    }
    // The log's lines after the first, without their time stamps.
    std::vector<std::string> LogLines() { return LogTexts(state.paths.logPath, 1); }
    std::vector<std::string> Row(TableKind kind, int position) { return state.model.tables[kind].Row(position).texts; }

    TestMachine machine;
    ScriptedFrontEnd fe;
    FixedClock clock;
    ManualTimers timers{clock};
    TestState state;
    IconCache icons;
    std::string userFolder;
};

}  // namespace kestrune::test
