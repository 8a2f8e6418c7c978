// kestrune-machine: acts on an emulated machine the way a program that registers itself
// would, for scripts, tests and demonstrations. Errors are one line on standard error and
// exit status 1.

#include <CLI/CLI.hpp>

#include <functional>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/emulated/tool/MachineTool.h"

namespace {

using kestrune::tool::MachineTool;

constexpr const char* kToolName = "kestrune-machine";

int Fail(const std::string& message) {
    std::cerr << kToolName << ": " << message << '\n';
    return 1;
}

// The command line: the options' values, and what each command does once the machine is open.
// Held in one place because CLI11 writes into the values while it parses.
struct Invocation {
    CLI::App app{"Works on an emulated Windows machine: its registry, shortcut files and Startup folders.", kToolName};
    std::string machine;
    bool demo = false, allFields = false;
    std::string key, name, data, type = "REG_SZ", file, target, arguments, which, item, place;
    kestrune::platform::ShortcutInfo link;
    std::vector<std::pair<CLI::App*, std::function<void(MachineTool&)>>> actions;

    void On(CLI::App* command, std::function<void(MachineTool&)> action) {
        actions.emplace_back(command, std::move(action));
    }
};

void AddInit(Invocation& in) {
    CLI::App* init = in.app.add_subcommand("init", "Create the machine's layout (kept where it exists)");
    init->add_flag("--demo", in.demo, "Also add sample start-up entries pointing at programs of this machine");
    in.On(init, [&in](MachineTool& tool) { tool.Init(in.demo); });
}

void AddRegistry(Invocation& in) {
    CLI::App* reg = in.app.add_subcommand("reg", "Registry values and .reg files");
    reg->require_subcommand(1);
    CLI::App* set = reg->add_subcommand("set", "Set a value, creating the key when needed");
    set->add_option("KEY", in.key, "HKLM\\... or HKCU\\... (full root names work too)")->required();
    set->add_option("NAME", in.name, "The value's name; \"\" is the default value")->required();
    set->add_option("DATA", in.data, "Text; a number (decimal or 0x...); hex bytes; strings separated by \\0")
        ->required();
    set->add_option("--type", in.type, "REG_SZ, REG_EXPAND_SZ, REG_DWORD, REG_BINARY, REG_MULTI_SZ or REG_QWORD");
    in.On(set, [&in](MachineTool& tool) { tool.RegSet(in.key, in.name, in.data, in.type); });
    CLI::App* remove = reg->add_subcommand("delete", "Delete a value");
    remove->add_option("KEY", in.key)->required();
    remove->add_option("NAME", in.name)->required();
    in.On(remove, [&in](MachineTool& tool) { tool.RegDelete(in.key, in.name); });
    CLI::App* list = reg->add_subcommand("list", "List a key's values: name, type, data, tab-separated");
    list->add_option("KEY", in.key)->required();
    in.On(list, [&in](MachineTool& tool) { tool.RegList(in.key, std::cout); });
    CLI::App* importFile =
        reg->add_subcommand("import", "Apply a .reg file (UTF-16 or UTF-8/ANSI, version 5 or REGEDIT4)");
    importFile->add_option("FILE", in.file)->required();
    in.On(importFile, [&in](MachineTool& tool) { tool.RegImport(in.file); });
    CLI::App* exportKey = reg->add_subcommand("export", "Write a key and its subkeys to a .reg file");
    exportKey->add_option("KEY", in.key)->required();
    exportKey->add_option("FILE", in.file)->required();
    in.On(exportKey, [&in](MachineTool& tool) { tool.RegExport(in.key, in.file); });
}

void AddShortcuts(Invocation& in) {
    CLI::App* lnk = in.app.add_subcommand("lnk", "Shortcut (.lnk) files");
    lnk->require_subcommand(1);
    CLI::App* create = lnk->add_subcommand("create", "Write a shortcut");
    create->add_option("FILE", in.file)->required();
    create->add_option("--target", in.target, "The shortcut's target")->required();
    create->add_option("--args", in.arguments, "The target's arguments");
    in.link.iconIndex = -1;  // the target's first icon unless --icon says otherwise
    create->add_option("--dir", in.link.workingFolder, "The working folder");
    create->add_option("--icon", in.link.iconLocation, "The file holding the icon (default: the target)");
    create->add_option("--icon-index", in.link.iconIndex, "Which icon of that file");
    create->add_option("--show", in.link.showCommand, "1 normal window, 3 maximised, 7 minimised");
    create->add_option("--comment", in.link.description, "The comment shown as the shortcut's tip");
    create->add_option("--hotkey", in.link.hotKey, "The hot key: virtual key + 256 x modifiers (e.g. 0x654)");
    in.On(create, [&in](MachineTool& tool) {
        in.link.target = in.target;
        in.link.arguments = in.arguments;
        tool.LnkCreate(in.file, in.link);
    });
    CLI::App* show = lnk->add_subcommand("show", "Print a shortcut's target and arguments, one line each");
    show->add_option("FILE", in.file)->required();
    show->add_flag("--all", in.allFields, "Then every other field, one \"field: value\" line each");
    in.On(show, [&in](MachineTool& tool) { tool.LnkShow(in.file, in.allFields, std::cout); });
}

void AddFoldersAndAccess(Invocation& in) {
    CLI::App* folder = in.app.add_subcommand("folder", "Print the path of the user's or all users' Startup folder");
    folder->add_option("WHICH", in.which, "user or common")->required()->check(CLI::IsMember({"user", "common"}));
    in.On(folder, [&in](MachineTool& tool) { tool.Folder(in.which, std::cout); });
    CLI::App* deny =
        in.app.add_subcommand("deny", "Make a key, folder or shortcut refuse the program's changes (access denied)");
    deny->add_option("WHAT", in.item, "HKLM\\... or HKCU\\... , or a folder or file of the machine")->required();
    in.On(deny, [&in](MachineTool& tool) { tool.Deny(in.item); });
    CLI::App* allow = in.app.add_subcommand("allow", "Let the program change a key, folder or shortcut again");
    allow->add_option("WHAT", in.item)->required();
    in.On(allow, [&in](MachineTool& tool) { tool.Allow(in.item); });
    CLI::App* denied = in.app.add_subcommand("denied", "List what refuses the program's changes");
    in.On(denied, [](MachineTool& tool) { tool.ListDenied(std::cout); });
}

void AddApprovals(Invocation& in) {
    const auto addApproval = [&in](const char* command, const char* description, bool approved) {
        CLI::App* approval = in.app.add_subcommand(command, description);
        approval
            ->add_option("PLACE", in.place,
                         "HKCU_Run, HKLM_Run, HKLM_Run32 (the 32-bit view), UserStartup or CommonStartup")
            ->required();
        approval->add_option("NAME", in.name, "The Run value's name, or the Startup file's name (Notes.lnk)")
            ->required();
        in.On(approval, [&in, approved](MachineTool& tool) { tool.Approve(in.place, in.name, approved); });
    };
    addApproval("approve", "Switch an entry on the way Task Manager does (its approval value)", true);
    addApproval("disapprove", "Switch an entry off the way Task Manager does: it stays in its place", false);
}

}  // namespace

int main(int argc, char** argv) {
    Invocation in;
    in.app.require_subcommand(1);
    in.app.add_option("--machine", in.machine,
                      "The machine root (default: $KESTRUNE_MACHINE, else machine/ beside the program)");
    AddInit(in);
    AddRegistry(in);
    AddShortcuts(in);
    AddFoldersAndAccess(in);
    AddApprovals(in);

    try {
        in.app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << in.app.help();
        return 0;
    } catch (const CLI::ParseError& error) {
        return Fail(error.what());
    }

    try {
        MachineTool tool(kestrune::tool::ChooseMachineRoot(in.machine));
        for (const auto& [command, action] : in.actions) {
            if (command->parsed()) action(tool);
        }
    } catch (const std::exception& error) {
        return Fail(error.what());
    }
    std::cout.flush();
    return std::cout ? 0 : 1;
}
