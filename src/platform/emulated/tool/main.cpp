// kestrune-machine: acts on an emulated machine the way a program that registers itself
// would, for scripts, tests and demonstrations. Errors are one line on standard error and
// exit status 1.

#include <CLI/CLI.hpp>

#include <iostream>

#include "platform/emulated/tool/MachineTool.h"

namespace {

constexpr const char* kToolName = "kestrune-machine";

int Fail(const std::string& message) {
    std::cerr << kToolName << ": " << message << '\n';
    return 1;
}

}  // namespace

// NOLINTNEXTLINE(readability-function-size): the command table is not yet split by group as kestrunec's is
int main(int argc, char** argv) {
    using kestrune::tool::MachineTool;
    CLI::App app{"Works on an emulated Windows machine: its registry, shortcut files and Startup folders.", kToolName};
    app.require_subcommand(1);
    std::string machine;
    app.add_option("--machine", machine,
                   "The machine root (default: $KESTRUNE_MACHINE, else machine/ beside the program)");

    bool demo = false;
    CLI::App* init = app.add_subcommand("init", "Create the machine's layout (kept where it exists)");
    init->add_flag("--demo", demo, "Also add sample start-up entries pointing at programs of this machine");

    CLI::App* reg = app.add_subcommand("reg", "Registry values and .reg files");
    reg->require_subcommand(1);
    std::string key, name, data, type = "REG_SZ", file;
    CLI::App* set = reg->add_subcommand("set", "Set a value, creating the key when needed");
    set->add_option("KEY", key, "HKLM\\... or HKCU\\... (full root names work too)")->required();
    set->add_option("NAME", name, "The value's name; \"\" is the default value")->required();
    set->add_option("DATA", data, "Text; a number (decimal or 0x...); hex bytes; strings separated by \\0")->required();
    set->add_option("--type", type, "REG_SZ, REG_EXPAND_SZ, REG_DWORD, REG_BINARY, REG_MULTI_SZ or REG_QWORD");
    CLI::App* remove = reg->add_subcommand("delete", "Delete a value");
    remove->add_option("KEY", key)->required();
    remove->add_option("NAME", name)->required();
    CLI::App* list = reg->add_subcommand("list", "List a key's values: name, type, data, tab-separated");
    list->add_option("KEY", key)->required();
    CLI::App* import = reg->add_subcommand("import", "Apply a .reg file (UTF-16 or UTF-8/ANSI, version 5 or REGEDIT4)");
    import->add_option("FILE", file)->required();
    CLI::App* exportKey = reg->add_subcommand("export", "Write a key and its subkeys to a .reg file");
    exportKey->add_option("KEY", key)->required();
    exportKey->add_option("FILE", file)->required();

    CLI::App* lnk = app.add_subcommand("lnk", "Shortcut (.lnk) files");
    lnk->require_subcommand(1);
    std::string target, arguments;
    CLI::App* create = lnk->add_subcommand("create", "Write a shortcut");
    create->add_option("FILE", file)->required();
    create->add_option("--target", target, "The shortcut's target")->required();
    create->add_option("--args", arguments, "The target's arguments");
    kestrune::platform::ShortcutInfo link;
    link.iconIndex = -1;  // the target's first icon unless --icon says otherwise
    create->add_option("--dir", link.workingFolder, "The working folder");
    create->add_option("--icon", link.iconLocation, "The file holding the icon (default: the target)");
    create->add_option("--icon-index", link.iconIndex, "Which icon of that file");
    create->add_option("--show", link.showCommand, "1 normal window, 3 maximised, 7 minimised");
    create->add_option("--comment", link.description, "The comment shown as the shortcut's tip");
    create->add_option("--hotkey", link.hotKey, "The hot key: virtual key + 256 x modifiers (e.g. 0x654)");
    bool allFields = false;
    CLI::App* show = lnk->add_subcommand("show", "Print a shortcut's target and arguments, one line each");
    show->add_option("FILE", file)->required();
    show->add_flag("--all", allFields, "Then every other field, one \"field: value\" line each");

    std::string which;
    CLI::App* folder = app.add_subcommand("folder", "Print the path of the user's or all users' Startup folder");
    folder->add_option("WHICH", which, "user or common")->required()->check(CLI::IsMember({"user", "common"}));

    std::string item;
    CLI::App* deny =
        app.add_subcommand("deny", "Make a key, folder or shortcut refuse the program's changes (access denied)");
    deny->add_option("WHAT", item, "HKLM\\... or HKCU\\... , or a folder or file of the machine")->required();
    CLI::App* allow = app.add_subcommand("allow", "Let the program change a key, folder or shortcut again");
    allow->add_option("WHAT", item)->required();
    CLI::App* denied = app.add_subcommand("denied", "List what refuses the program's changes");

    std::string place;
    const auto addApproval = [&](const char* command, const char* description) {
        CLI::App* approval = app.add_subcommand(command, description);
        approval
            ->add_option("PLACE", place,
                         "HKCU_Run, HKLM_Run, HKLM_Run32 (the 32-bit view), UserStartup or CommonStartup")
            ->required();
        approval->add_option("NAME", name, "The Run value's name, or the Startup file's name (Notes.lnk)")->required();
        return approval;
    };
    CLI::App* approve = addApproval("approve", "Switch an entry on the way Task Manager does (its approval value)");
    CLI::App* disapprove =
        addApproval("disapprove", "Switch an entry off the way Task Manager does: it stays in its place");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return 0;
    } catch (const CLI::ParseError& error) {
        return Fail(error.what());
    }

    try {
        MachineTool tool(kestrune::tool::ChooseMachineRoot(machine));
        if (init->parsed()) tool.Init(demo);
        if (set->parsed()) tool.RegSet(key, name, data, type);
        if (remove->parsed()) tool.RegDelete(key, name);
        if (list->parsed()) tool.RegList(key, std::cout);
        if (import->parsed()) tool.RegImport(file);
        if (exportKey->parsed()) tool.RegExport(key, file);
        if (create->parsed()) {
            link.target = target;
            link.arguments = arguments;
            tool.LnkCreate(file, link);
        }
        if (show->parsed()) tool.LnkShow(file, allFields, std::cout);
        if (folder->parsed()) tool.Folder(which, std::cout);
        if (deny->parsed()) tool.Deny(item);
        if (allow->parsed()) tool.Allow(item);
        if (denied->parsed()) tool.ListDenied(std::cout);
        if (approve->parsed()) tool.Approve(place, name, true);
        if (disapprove->parsed()) tool.Approve(place, name, false);
    } catch (const std::exception& error) {
        return Fail(error.what());
    }
    std::cout.flush();
    return std::cout ? 0 : 1;
}
