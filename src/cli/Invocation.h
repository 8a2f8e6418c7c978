#pragma once
// One run of the console program as its command line asks for it.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace kestrune::cli {

struct Invocation {
    std::string appDir;         // --app-dir (else KESTRUNE_APP_DIR, else the program's folder)
    std::string machine;        // --machine (else KESTRUNE_MACHINE)
    std::optional<bool> yesNo;  // --yes / --no
    bool interactive = false;   // standard input is a terminal: questions may be asked on it

    std::string command;  // "list", "enable", ..., "profile", "option"
    std::string action;   // profile: list|add|rename|delete|use; option: list|set

    std::vector<std::string> tables;  // list
    std::string format = "text";      // list
    std::string table;                // the command's TABLE
    std::string name;                 // the row's NAME
    std::optional<int> row;           // --row N

    // add / edit
    std::optional<std::string> newName, path, arguments, delay, priority;

    std::string target;  // move --to TABLE
    bool all = false;    // dedupe --all

    int seconds = 60;                   // monitor --seconds
    std::optional<std::string> answer;  // monitor --answer allow|deny
    bool remember = false;              // monitor --remember

    std::string file;             // load-backup FILE; export, check and apply: the state file
    bool apply = false;           // load-backup --apply
    bool checkOnly = false;       // apply --check
    std::string mode = "listed";  // export --mode
    // The profile and option arguments: NAME, OLD NEW, KEY VALUE.
    std::string first, second;
    int engine = 0;           // identify --engine
    std::string timeline;     // run-delayed --timeline FILE.svg
    int measureSeconds = 30;  // run-delayed --measure
};

// "kestrunec (Kestrune) 1.0.0", for --version and the version command.
std::string VersionText();

// Reads the command line. Answers the exit status when the program must end at once (help
// printed: 0; wrong usage, reported on `err` in one line: 2), else nullopt.
std::optional<int> ParseInvocation(int argc, const char* const* argv, Invocation& invocation, std::ostream& out,
                                   std::ostream& err);

}  // namespace kestrune::cli
