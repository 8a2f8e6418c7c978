#pragma once
// Carrying a row's tick out in its place at once: a ticked folder row gets its shortcut file,
// an unticked one loses it; a ticked Run-key row gets its value written into the key it came
// from, an unticked one deleted. A row Windows has switched off (its approval value) is ticked
// by switching that value on; an entry put back loses an approval value that would keep it off;
// with "Disable the Windows way" unticking switches the value off and leaves the entry in place.
// Policy rows are not changed. Every change is preceded by its log line and checked: what the system refuses puts
// the tick back and is told with the system's words.
//
// Nothing taken out of a place exists only in memory: before an entry leaves its place, the
// settings document is written with the row that will hold it (whatever "Skip save on exit"
// says). When that document cannot be written the entry stays where it is.

#include <string>
#include <string_view>

#include "app/Outcome.h"
#include "app/RowPlace.h"
#include "app/TableKind.h"
#include "locations/PlaceParts.h"
#include "platform/Platform.h"

namespace kestrune {

inline constexpr const char* kCreatingShortcutLog = "Creating shortcut to ";
inline constexpr const char* kDeletingShortcutLog = "Deleting shortcut to ";
inline constexpr const char* kCreatingRegistryLog = "Creating registry shortcut to ";
inline constexpr const char* kDeletingRegistryLog = "Deleting registry shortcut to ";
// A Startup folder's file that is not a shortcut moves between its folder and the program's.
inline constexpr const char* kMovingFileAsideLog = "Moving start-up file aside: ";
inline constexpr const char* kPuttingFileBackLog = "Putting start-up file back: ";
// "The file kept for Backup.bat is gone from C:\...\Backup.bat, so it cannot be put back."
inline constexpr const char* kKeptFileGone = "The file kept for ";
inline constexpr const char* kKeptFileGoneFrom = " is gone from ";
inline constexpr const char* kCannotPutBack = ", so it cannot be put back.";
inline constexpr const char* kNeededForDelayedLine1 = "Kestrune needs to be set to start up with Windows";
inline constexpr const char* kNeededForDelayedLine2 = "in order to run the delayed applications.";
inline constexpr const char* kAlreadyEnabledMessage = "This program has already been enabled";

inline constexpr const char* kSetByPolicyMessage =
    "A policy sets this entry: Windows puts it back, so it cannot be changed here";
inline constexpr const char* kEnablingInWindowsLog = "Enabling in Windows Settings: ";
inline constexpr const char* kDisablingInWindowsLog = "Disabling in Windows Settings: ";
inline constexpr const char* kStillDisabledInWindowsLine =
    "The entry is in its place, but Windows Settings still keeps it disabled.";

inline constexpr const char* kNotStoredLine = "The settings file could not be written:";
inline constexpr const char* kLeftInPlaceLine = "so the entry was left in its place.";
inline constexpr const char* kSystemRefusedLine = "The system refused the change to ";
inline constexpr const char* kCouldNotLog = "Could not ";
inline constexpr const char* kRenamingShortcutLog = "Renaming shortcut ";
inline constexpr const char* kRenamingRegistryLog = "Renaming registry shortcut ";
inline constexpr const char* kRenamedToLog = " to ";
// "Updater already starts from HKCU Run; rename one of them first."
inline constexpr const char* kAlreadyStartsFrom = " already starts from ";
inline constexpr const char* kRenameOneFirst = "; rename one of them first.";
// "Timer2 is not in HKCU Run, so it cannot be renamed there."
inline constexpr const char* kNotInPlace = " is not in ";
inline constexpr const char* kCannotRenameThere = ", so it cannot be renamed there.";

// Carries out the current tick of row `position` of table `kind`. The program's own Startup
// entry is not disabled while delayed applications are ticked, and a Run-key entry is not
// enabled twice; both refusals put the tick back and say why. Done when the place now holds
// what the tick says (or had nothing to change); NothingToDo when the row was unticked but its
// place held no such entry, so nothing was taken out; Refused, with the tick back, when a rule
// of the program's said no, and with `refusedBySystem` set when the system refused or the row
// could not be stored first. What the user must be told is in the messages.
Outcome CarryOutLocationChange(PlaceParts parts, TableKind kind, int position);

// False when another row of the table has the same path (ignoring case) and the same tick.
bool CanEnableEntry(const Model& model, TableKind kind, int position);

// Whether the place of `kind` holds an entry named `name` (ignoring case, as Windows does): a
// value of that name, or a shortcut file of that name and ".lnk" (with `startupFile`, a file of
// that very name).
bool PlaceHoldsName(platform::Platform& platform, const Paths& paths, TableKind kind, std::string_view name,
                    PlaceKey key = PlaceKey::Main, bool startupFile = false);
// The refusal to put an entry where one of that name already starts.
std::string NameTakenMessage(std::string_view name, TableKind kind);

// Renames the entry of the ticked row `position` in its place to `newName` and then the row:
// a value is written under the new name and the old one deleted (put back when that fails); a
// shortcut file is renamed. Refused, and nothing changed, when the new name is taken or the
// entry is not in its place; refused by the system when it said no. What the user must know is
// in the messages.
Outcome RenameInPlace(PlaceParts parts, TableKind kind, int position, const std::string& newName);

// Remembers a path the program itself put into a place, for the change monitor; while
// "Ignore self-made changes" is off the list is emptied instead.
void RememberSelfMadeChange(Model& model, const Options& options, const std::string& path);

// Records for the change monitor that the program itself put the entry `name` into the place
// of `kind` or took it out (see MainState::ownPlaceChanges).
void NoteOwnPlaceChange(Model& model, TableKind kind, const std::string& name, bool added, bool fromRow = true);

// With "Ignore self-made changes" on: whether the program itself took an entry out of the
// place of `kind` since the last call (the flag is cleared). Off: false, flag left alone.
bool TakeSelfMadeRemoval(Model& model, const Options& options, TableKind kind);

}  // namespace kestrune
