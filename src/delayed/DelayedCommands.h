#pragma once
// The menu commands around the delayed run, the run at a Slimline start-up, and "Run now".

#include <cstdint>
#include <optional>
#include <string>

#include "app/Outcome.h"
#include "app/Paths.h"
#include "app/RowFiles.h"
#include "app/TableKind.h"
#include "delayed/DelayedRun.h"

namespace kestrune {

// mnRunDelayed: starts a run (locking the other controls) or stops the one going, by caption.
void RunDelayedCommand(const RunParts& parts, DelayedRun& run);
// The run at a Slimline start-up: the window offers its exit button; caption and controls stay.
void StartSlimlineDelayedRun(const RunParts& parts, DelayedRun& run);
// mnAllIdle: every Delayed row gets a negative delay, -n .. -1 in table order, once the user
// has agreed to lose the delays typed.
Outcome MakeAllDelayedIdle(Model& model, Prompts& prompts);
// mnSetIdle: asks for the idle threshold and then the idle seconds; a value outside its range
// (IdleSettings.h) is refused with a message and changes neither.
void SetIdleSettings(Options& options, Prompts& prompts);

void ToggleExitAfterDelayed(Options& options);
void ToggleSkipRunning(Options& options);
// mnRunOnStartup: registers (or unregisters) the program in the all-users Startup folder.
// Unregistering is refused, with a message, while the Delayed table has rows.
Outcome ToggleRunOnStartup(RowParts parts, Options& options);
// The self-registration shortcut's file.
std::string SelfShortcutPath(const Paths& paths);
// The program file the self-registration shortcut starts.
std::string SelfShortcutTarget(Services& services, const Paths& paths);

// mnRun "Run now" on the row at `position` of `kind`: launches its command as the run would.
// Refused when it did not start (skipped as running, or the system could not start it); the
// status line names the command run or skipped. A Delayed row's program is followed by
// `sampler`, when given, for the row's impact.
Outcome RunNow(RowParts parts, const Options& options, TableKind kind, int position, ImpactSampler* sampler = nullptr);

}  // namespace kestrune
