#pragma once
// The commands of the console program. Each has a check of its arguments, made before the
// program starts up (raising CommandError with status 2 for wrong usage), and its action,
// made between the start-up and the shut-down sequence; the action answers the exit status.

#include <string>
#include <string_view>

#include "cli/CommandContext.h"
#include "cli/ConsoleFrontEnd.h"

namespace kestrune::cli {

struct CommandEntry {
    std::string_view name;
    void (*check)(const Invocation& inv, ConsoleAnswers& answers);
    int (*run)(CommandContext& context);
    // Only reads: runs while the desktop program runs and writes nothing, not even the log.
    bool readOnly = false;
};

// Whether this command line only reads (a read-only command, or the `list` of profiles or
// options).
bool OnlyReads(const Invocation& inv);

// Every command, by its name on the command line.
const CommandEntry* FindCommand(std::string_view name);

// Table commands
void CheckList(const Invocation&, ConsoleAnswers&);
int RunList(CommandContext&);
void CheckRowCommand(const Invocation&, ConsoleAnswers&);
int RunEnable(CommandContext&);
int RunDisable(CommandContext&);
int RunToggle(CommandContext&);
int RunDelete(CommandContext&);
void CheckMove(const Invocation&, ConsoleAnswers&);
int RunMove(CommandContext&);
void CheckRecord(const Invocation&, ConsoleAnswers&);
int RunRecord(CommandContext&);
void CheckDedupe(const Invocation&, ConsoleAnswers&);
int RunDedupe(CommandContext&);
void CheckDeleteUnticked(const Invocation&, ConsoleAnswers&);
int RunDeleteUnticked(CommandContext&);
void CheckIdentify(const Invocation&, ConsoleAnswers&);
int RunIdentify(CommandContext&);

// The item editor
void CheckAdd(const Invocation&, ConsoleAnswers&);
int RunAdd(CommandContext&);
void CheckEdit(const Invocation&, ConsoleAnswers&);
int RunEdit(CommandContext&);

// Settings, backups, profiles and options
void CheckNothing(const Invocation&, ConsoleAnswers&);
int RunImport(CommandContext&);
int RunBackup(CommandContext&);
void CheckLoadBackup(const Invocation&, ConsoleAnswers&);
int RunLoadBackup(CommandContext&);
void CheckProfile(const Invocation&, ConsoleAnswers&);
int RunProfile(CommandContext&);
// Makes a profile current, as "Use selected profile" does (also `option set Profile NAME`).
int RunProfileUse(CommandContext&, const std::string& name);
void CheckOption(const Invocation&, ConsoleAnswers&);
int RunOption(CommandContext&);

// The wanted state: export, check and apply
void CheckExport(const Invocation&, ConsoleAnswers&);
int RunExport(CommandContext&);
void CheckStateCommand(const Invocation&, ConsoleAnswers&);
int RunCheck(CommandContext&);
int RunApply(CommandContext&);

// Runs in real time
int RunDelayed(CommandContext&);
void CheckMonitor(const Invocation&, ConsoleAnswers&);
int RunMonitor(CommandContext&);

}  // namespace kestrune::cli
