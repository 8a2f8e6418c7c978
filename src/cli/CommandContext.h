#pragma once
// What a command works with: the parsed command line, the streams, the front end, the timers
// and the application, started up and waiting for the command.

#include <iosfwd>
#include <optional>
#include <string>

#include "app/Outcome.h"
#include "app/TableKind.h"
#include "cli/ConsoleFrontEnd.h"
#include "cli/ConsoleTimers.h"
#include "cli/Invocation.h"
#include "session/Application.h"

namespace kestrune::cli {

struct CommandContext {
    const Invocation& inv;
    std::ostream& out;
    std::ostream& err;
    ConsoleFrontEnd& fe;
    ConsoleTimers& timers;
    Application& app;

    MainState& state() { return app.state(); }
    Table& table(TableKind kind) { return app.state().model.tables[kind]; }

    // The position of the row the command line names (NAME or --row). Raises CommandError
    // (status 1) when the table holds no such row.
    int FindNamedRow(TableKind kind);

    // Stores what the command changed (Application::StoreEdits), then prints what it came to:
    // its messages on standard error as the desktop would show them, then what it did in words
    // on standard output. Answers the exit status: done (or nothing to do) 0, refused or
    // cancelled kExitRefused.
    int Report(Outcome outcome);
};

// The table the command line names; CommandError (status 2) when it names none.
TableKind TableArgument(const std::string& text);
// The row the command line names: CommandError (status 2) unless exactly one of NAME and --row.
void CheckRowArgument(const Invocation& inv);

}  // namespace kestrune::cli
