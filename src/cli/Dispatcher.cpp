#include "cli/Dispatcher.h"

#include <istream>
#include <ostream>

#include "app/Text.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/TableSelection.h"
#include "platform/Platform.h"
#include "procs/ProcessList.h"

namespace kestrune::cli {

namespace {

constexpr const char* kUnknownCommand = "unknown command ";

const CommandEntry kCommands[] = {
    {"list", CheckList, RunList, true},
    {"enable", CheckRowCommand, RunEnable},
    {"disable", CheckRowCommand, RunDisable},
    {"toggle", CheckRowCommand, RunToggle},
    {"add", CheckAdd, RunAdd},
    {"edit", CheckEdit, RunEdit},
    {"delete", CheckRowCommand, RunDelete},
    {"move", CheckMove, RunMove},
    {"record", CheckRecord, RunRecord},
    {"dedupe", CheckDedupe, RunDedupe},
    {"delete-unticked", CheckDeleteUnticked, RunDeleteUnticked},
    {"run-delayed", CheckNothing, RunDelayed},
    {"monitor", CheckMonitor, RunMonitor},
    {"import-startup-control-panel", CheckNothing, RunImport},
    {"backup", CheckNothing, RunBackup},
    {"load-backup", CheckLoadBackup, RunLoadBackup},
    {"profile", CheckProfile, RunProfile},
    {"option", CheckOption, RunOption},
    {"identify", CheckIdentify, RunIdentify, true},
    {"export", CheckExport, RunExport, true},
    {"check", CheckStateCommand, RunCheck, true},
    {"apply", CheckStateCommand, RunApply},
};

void PrintError(std::ostream& err, const std::string& text) { err << kProgramName << ": " << text << std::endl; }

}  // namespace

const CommandEntry* FindCommand(std::string_view name) {
    for (const CommandEntry& entry : kCommands) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

bool OnlyReads(const Invocation& inv) {
    if ((inv.command == "profile" || inv.command == "option") && inv.action == "list") return true;
    const CommandEntry* entry = FindCommand(inv.command);
    return entry && entry->readOnly;
}

int CommandContext::FindNamedRow(TableKind kind) {
    // The process list is filled when its tab is shown; a command that names a process by its
    // name must find today's processes.
    if (kind == TableKind::Process) FillProcessTable(state(), true, !app.ReadOnly());
    const Table& rows = table(kind);
    const auto position = FindRow(rows, RowChoice{inv.name, inv.row});
    if (!position) throw CommandError(kExitRefused, MissingRowText(rows, RowChoice{inv.name, inv.row}));
    return *position;
}

int CommandContext::Report(Outcome outcome) {
    // What the command did is on disk before the terminal says it was done.
    app.StoreEdits(outcome);
    for (const OutcomeMessage& message : outcome.messages) fe.ShowMessage(message.text, message.icon, message.caption);
    for (const std::string& line : outcome.details) out << line << '\n';
    out << std::flush;
    return outcome.Succeeded() ? kExitDone : kExitRefused;
}

TableKind TableArgument(const std::string& text) {
    const auto kind = ResolveTable(text);
    if (!kind) throw CommandError(kExitUsage, UnknownTableText(text));
    return *kind;
}

void CheckRowArgument(const Invocation& inv) {
    if (inv.row && !inv.name.empty()) throw CommandError(kExitUsage, "give either NAME or --row, not both");
    if (!inv.row && inv.name.empty()) throw CommandError(kExitUsage, "name the row: NAME or --row N");
}

int RunInvocation(const Invocation& inv, std::istream& in, std::ostream& out, std::ostream& err) {
    const CommandEntry* entry = FindCommand(inv.command);
    if (!entry) {
        PrintError(err, kUnknownCommand + inv.command);
        return kExitUsage;
    }
    ConsoleAnswers answers;
    answers.yesNo = inv.yesNo;
    try {
        entry->check(inv, answers);
    } catch (const CommandError& e) {
        PrintError(err, e.what());
        return e.Status();
    }

    auto platform = platform::CreatePlatform({inv.appDir, inv.machine});
    ConsoleFrontEnd frontEnd(std::move(answers), inv.interactive, in, out, err);
    SystemClock clock;
    ConsoleTimers timers;
    Application app(*platform, frontEnd, clock, timers);
    if (OnlyReads(inv)) app.OpenReadOnly();
    if (!app.Startup("")) {
        PrintError(err, kAlreadyRunningText);
        // check's status 1 means "the machine drifts", which nobody has looked at here.
        return inv.command == "check" ? kExitUsage : kExitRefused;
    }

    CommandContext context{inv, out, err, frontEnd, timers, app};
    int status = kExitDone;
    try {
        status = entry->run(context);
    } catch (const CommandError& e) {
        // Raised before the command changed anything: nothing is written.
        PrintError(err, e.what());
        return e.Status();
    } catch (const UnansweredQuestion& e) {
        PrintError(err, e.what());
        return kExitUsage;
    }
    app.Shutdown(CloseReason::Code);
    return status;
}

}  // namespace kestrune::cli
