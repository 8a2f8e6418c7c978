#include "cli/Invocation.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <limits>
#include <ostream>
#include <stdexcept>
#include <string_view>

#include "app/Version.h"
#include "cli/ExitStatus.h"
#include "cli/Suggestion.h"
#include "session/Identify.h"

namespace kestrune::cli {

namespace {

constexpr const char* kDescription =
    "Kestrune on the command line: lists and changes the start-up entries and the program's own tables, "
    "with the same files as the desktop program.";
constexpr const char* kTableHelp = "a table: 1-9, a name such as HKCU_Run, or a tab caption such as \"HKCU Run\"";
constexpr const char* kNameHelp = "the row whose first column is NAME (ignoring case)";
constexpr const char* kRowHelp = "the row at position N instead of NAME";

std::vector<std::string> SubcommandNames(const CLI::App& app) {
    std::vector<std::string> names;
    for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; }))
        names.push_back(sub->get_name());
    return names;
}

// A number given where a value goes ("--delay -5") is no option.
bool IsNumber(std::string_view word) {
    return word.size() > 1 && word.front() == '-' && std::isdigit(static_cast<unsigned char>(word[1]));
}

// The option a word names at this level or above (the program's options fall through to the
// commands), or nullptr.
const CLI::Option* KnownOption(const CLI::App* level, std::string_view word) {
    const std::string name(word.substr(0, word.find('=')));
    for (const CLI::App* at = level; at; at = at->get_parent()) {
        for (const CLI::Option* option : at->get_options()) {
            if (option->check_name(name)) return option;
        }
    }
    return nullptr;
}

std::vector<std::string> OptionNames(const CLI::App* level) {
    std::vector<std::string> names;
    for (const CLI::App* at = level; at; at = at->get_parent()) {
        for (const CLI::Option* option : at->get_options()) {
            for (const std::string& name : option->get_lnames()) names.push_back("--" + name);
        }
    }
    return names;
}

std::string HelpHint(const CLI::App& app, const CLI::App* level) {
    const std::string command = level == &app ? "" : " " + level->get_name();
    return " (" + std::string(kProgramName) + command + " --help lists them)";
}

// The error for a word that names no command or no option, with the nearest one. CLI11 itself
// would take a command word for a stray argument, and answer an unknown option of the program
// with "A subcommand is required".
std::optional<std::string> UnknownWordText(const CLI::App& app, int argc, const char* const* argv) {
    const CLI::App* level = &app;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") return std::nullopt;
        // A lone "-" is an argument: standard input, where a file is asked for.
        if (argument.starts_with("-") && argument != "-" && !IsNumber(argument)) {
            const CLI::Option* option = KnownOption(level, argument);
            if (!option) {
                const std::string name(argument.substr(0, argument.find('=')));
                return "unknown option \"" + name + "\"" + DidYouMean(name, OptionNames(level)) + HelpHint(app, level);
            }
            if (option->get_items_expected_max() > 0 && argument.find('=') == std::string_view::npos) ++i;
            continue;
        }
        const std::vector<std::string> names = SubcommandNames(*level);
        if (names.empty()) continue;  // TABLE, NAME and the like
        const auto found = std::find(names.begin(), names.end(), argument);
        if (found == names.end()) {
            const std::string what = level == &app ? "command" : level->get_name() + " command";
            return "unknown " + what + " \"" + std::string(argument) + "\"" + DidYouMean(argument, names) + " (" +
                   std::string(kProgramName) + " --help lists them)";
        }
        level = level->get_subcommand(*found);
    }
    return std::nullopt;
}

// Raised by a number check while the command line is read: the text is the whole message.
class NumberRefusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A whole number from `lowest` to `highest`: what the field it lands in holds. CLI11's own
// checks would answer in its words ("Value 0 not in range 0.000000 to 1.79769e+308"), and a
// number past the field's end would be stored cut.
CLI::Validator WholeNumberIn(const std::string& option, std::int64_t lowest, std::int64_t highest) {
    return {[=](std::string& text) -> std::string {
                std::int64_t value = 0;
                const char* end = text.data() + text.size();
                const char* begin = text.data() + (!text.empty() && text.front() == '+' ? 1 : 0);
                const auto [stop, error] = std::from_chars(begin, end, value);
                if (text.empty() || error != std::errc() || stop != end || value < lowest || value > highest) {
                    throw NumberRefusal(option + " must be a whole number from " + std::to_string(lowest) + " to " +
                                        std::to_string(highest));
                }
                return {};
            },
            ""};
}

constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();
// The settings document keeps a delay of at most 2147483647 seconds either way.
constexpr std::int64_t kDelayHighest = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kDelayLowest = -kDelayHighest;

void AddRowArguments(CLI::App* sub, Invocation& inv) {
    sub->add_option("TABLE", inv.table, kTableHelp)->required();
    sub->add_option("NAME", inv.name, kNameHelp);
    sub->add_option("--row", inv.row, kRowHelp)->check(WholeNumberIn("--row", 1, kIntMax));
}

// The program's own options, before any command.
void AddProgramOptions(CLI::App& app, Invocation& inv) {
    app.add_option("--app-dir", inv.appDir, "the program's folder (settings.ini, settings.xml, profiles, log)");
    app.add_option("--machine", inv.machine, "the emulated machine's root folder");
    auto* yes = app.add_flag_callback(
        "--yes", [&inv] { inv.yesNo = true; }, "answer the program's questions Yes");
    auto* no = app.add_flag_callback(
        "--no", [&inv] { inv.yesNo = false; }, "answer the program's questions No");
    yes->excludes(no);
    app.set_version_flag("--version", VersionText(), "print the program's version and end");
    app.add_subcommand("version", "print the program's version");
}

// The commands on one table's rows, and on a table or all of them.
void AddTableCommands(CLI::App& app, Invocation& inv) {
    auto* list = app.add_subcommand("list", "print tables (all of them when none is named)");
    list->add_option("TABLE", inv.tables, kTableHelp);
    list->add_option("--format", inv.format, "text, json or csv")
        ->check(CLI::IsMember({"text", "json", "csv"}, CLI::ignore_case));

    for (const char* name : {"enable", "disable", "toggle"}) {
        AddRowArguments(app.add_subcommand(name, std::string(name) + " a row (its entry in its place)"), inv);
    }

    auto* add = app.add_subcommand("add", "add a row (a location entry starts disabled)");
    add->add_option("TABLE", inv.table, kTableHelp)->required();
    add->add_option("--name", inv.newName, "the row's name")->required();
    add->add_option("--path", inv.path, "the command or target")->required();
    add->add_option("--args", inv.arguments, "the arguments");
    add->add_option("--delay", inv.delay, "seconds (Delayed); negative: when idle")
        ->check(WholeNumberIn("--delay", kDelayLowest, kDelayHighest));
    add->add_option("--priority", inv.priority, "Realtime, High, Above Normal, Normal, Below Normal or Low");

    auto* edit = app.add_subcommand("edit", "change a row's name, path, delay or priority");
    AddRowArguments(edit, inv);
    edit->add_option("--name", inv.newName, "the new name");
    edit->add_option("--path", inv.path, "the new path");
    edit->add_option("--delay", inv.delay, "the new delay (Delayed)")
        ->check(WholeNumberIn("--delay", kDelayLowest, kDelayHighest));
    edit->add_option("--priority", inv.priority, "the new priority (Delayed, Process)");

    AddRowArguments(app.add_subcommand("delete", "delete a row (it moves to Deleted)"), inv);
    auto* move = app.add_subcommand("move", "move a row to another table");
    AddRowArguments(move, inv);
    move->add_option("--to", inv.target,
                     "the table to move it to (1-6); a Deleted row goes back where it came from without it");
    AddRowArguments(app.add_subcommand("record", "record a row's setting in Known"), inv);

    auto* dedupe = app.add_subcommand("dedupe", "delete duplicates of a table, or of all tables");
    dedupe->add_option("TABLE", inv.table, kTableHelp);
    dedupe->add_flag("--all", inv.all, "every table");
    auto* unticked = app.add_subcommand("delete-unticked", "delete the unticked rows of a table");
    unticked->add_option("TABLE", inv.table, kTableHelp)->required();
}

// The commands that run for a while: the delayed run and the monitor.
void AddRunCommands(CLI::App& app, Invocation& inv) {
    auto* runDelayed = app.add_subcommand(
        "run-delayed", "run the delayed applications now, in the foreground, and measure what each one costs");
    runDelayed->add_option("--timeline", inv.timeline, "write a picture of the run to this SVG file");
    runDelayed
        ->add_option("--measure", inv.measureSeconds,
                     "follow each started program for at most this many seconds (0-30, default 30; 0: "
                     "measure nothing and do not wait)")
        ->check(WholeNumberIn("--measure", 0, 30));
    runDelayed->add_option("--format", inv.format, "text, or json for the run's timeline as data")
        ->check(CLI::IsMember({"text", "json"}, CLI::ignore_case));
    auto* monitor = app.add_subcommand("monitor", "watch the start-up places for a while");
    monitor->add_option("--seconds", inv.seconds, "how long to watch")->check(WholeNumberIn("--seconds", 1, kIntMax));
    monitor->add_option("--answer", inv.answer, "allow or deny new entries")
        ->check(CLI::IsMember({"allow", "deny"}, CLI::ignore_case));
    monitor->add_flag("--remember", inv.remember, "remember the decision in Known");
}

// The commands on the program's files.
void AddSettingsCommands(CLI::App& app, Invocation& inv) {
    app.add_subcommand("import-startup-control-panel", "import the entries Startup Control Panel disabled");
    app.add_subcommand("backup", "write a backup of all settings");
    auto* load = app.add_subcommand("load-backup", "load all tables from a backup file");
    load->add_option("FILE", inv.file, "the backup file")->required();
    load->add_flag("--apply", inv.apply, "also put the backup's ticked entries into their places");
}

// The two commands with actions of their own: profile and option.
void AddProfileAndOptionCommands(CLI::App& app, Invocation& inv) {
    auto* profile = app.add_subcommand("profile", "the profiles");
    profile->require_subcommand(1);
    profile->add_subcommand("list", "print the profiles; the current one is marked *");
    profile->add_subcommand("add", "add a profile")->add_option("NAME", inv.first)->required();
    auto* rename = profile->add_subcommand("rename", "rename a profile");
    rename->add_option("OLD", inv.first)->required();
    rename->add_option("NEW", inv.second)->required();
    profile->add_subcommand("delete", "delete a profile and its document")->add_option("NAME", inv.first)->required();
    profile->add_subcommand("use", "make a profile current")->add_option("NAME", inv.first)->required();

    auto* option = app.add_subcommand("option", "the options of settings.ini");
    option->require_subcommand(1);
    option->add_subcommand("list", "print the options");
    auto* set = option->add_subcommand("set", "set an option: KEY as in settings.ini, VALUE 1/0, a number or a name");
    set->add_option("KEY", inv.first)->required();
    set->add_option("VALUE", inv.second)->required();
}

void AddIdentifyCommand(CLI::App& app, Invocation& inv) {
    auto* identify = app.add_subcommand("identify", "print the web address that identifies a row's program");
    AddRowArguments(identify, inv);
    identify->add_option("--engine", inv.engine, "the search engine, 0-6")
        ->check(WholeNumberIn("--engine", 0, static_cast<std::int64_t>(kSearchEngines.size()) - 1));
}

// The commands on state files.
void AddStateFileCommands(CLI::App& app, Invocation& inv) {
    auto* exportState = app.add_subcommand("export", "write the machine's start-up state as a state file");
    exportState->add_option("FILE", inv.file, "the file to write (standard output when none)");
    exportState->add_option("--mode", inv.mode, "each place's mode in the file: listed or exact");
    auto* check = app.add_subcommand("check", "compare the machine with a state file (exit 1 when it differs)");
    auto* apply = app.add_subcommand("apply", "make the machine match a state file");
    for (CLI::App* sub : {check, apply})
        sub->add_option("FILE", inv.file, "the state file (- for standard input)")->required();
    check->add_option("--format", inv.format, "text, json, or dsc (the machine's state with _inDesiredState; exit 0)")
        ->check(CLI::IsMember({"text", "json", "dsc"}));
    apply->add_option("--format", inv.format, "text or json")->check(CLI::IsMember({"text", "json"}));
    apply->add_flag("--check", inv.checkOnly, "change nothing; say what would change");
}

// Reads the command line into the variables the commands were given; an exit status when the
// program ends here (help, the version, a word or value it refuses).
std::optional<int> ParseInto(CLI::App& app, int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    if (const auto unknown = UnknownWordText(app, argc, argv)) {
        err << kProgramName << ": " << *unknown << std::endl;
        return kExitUsage;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForVersion&) {
        out << VersionText() << std::endl;
        return kExitDone;
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e, out, err);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e, out, err);
    } catch (const CLI::ParseError& e) {
        err << kProgramName << ": " << e.what() << std::endl;
        return kExitUsage;
    } catch (const NumberRefusal& e) {
        err << kProgramName << ": " << e.what() << std::endl;
        return kExitUsage;
    }
    return std::nullopt;
}

}  // namespace

std::string VersionText() { return std::string(kProgramName) + " (" + kTitle + ") " + VersionNumber(); }

std::optional<int> ParseInvocation(int argc, const char* const* argv, Invocation& inv, std::ostream& out,
                                   std::ostream& err) {
    CLI::App app{kDescription, kProgramName};
    app.require_subcommand(1);
    app.fallthrough();
    // The order the commands are added in is the order --help lists them.
    AddProgramOptions(app, inv);
    AddTableCommands(app, inv);
    AddRunCommands(app, inv);
    AddSettingsCommands(app, inv);
    AddProfileAndOptionCommands(app, inv);
    AddIdentifyCommand(app, inv);
    AddStateFileCommands(app, inv);
    if (const auto ended = ParseInto(app, argc, argv, out, err)) return ended;

    for (CLI::App* sub : app.get_subcommands()) {
        inv.command = sub->get_name();
        for (CLI::App* second : sub->get_subcommands()) inv.action = second->get_name();
    }
    if (inv.command == "version") {
        // Reads no file and takes no lock: the version is there to be asked for at any time.
        out << VersionText() << std::endl;
        return kExitDone;
    }
    return std::nullopt;
}

}  // namespace kestrune::cli
