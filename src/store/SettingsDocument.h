#pragma once
// The settings document: the stored form of the tables (the unticked rows of the five location
// tables and the whole of Delayed, Deleted, Known and Process), its backups with the ticked
// location rows under "Active", and the File menu's three commands over it.

#include <string>
#include <string_view>

#include "app/Clock.h"
#include "app/Outcome.h"
#include "app/RowFiles.h"
#include "app/TableKind.h"

namespace kestrune {

struct MainState;
struct Services;
class Tables;
class TreeDocument;

inline constexpr const char* kSettingsSavedMessage = "XML settings file saved.";
inline constexpr const char* kBackupSavedMessage = "Backup XML file saved.";
inline constexpr const char* kSettingsNotSavedMessage = "The XML settings file could not be saved.";
inline constexpr const char* kBackupNotSavedMessage = "The backup XML file could not be saved.";
inline constexpr const char* kLoadedStatus = "Loaded XML file.";
inline constexpr const char* kXmlFileFilter = "XML files (*.xml)|*.xml";
inline constexpr const char* kKeptUnreadableLog = "Kept the unreadable settings file as ";
inline constexpr const char* kCannotKeepUnreadableLog = "Did not save over the unreadable settings file ";
inline constexpr const char* kSaveFailedLog = "Could not write the settings file ";

inline constexpr const char* kNotWrittenMessage = "The settings file could not be written:";

// Writes the document: a backup to a new file named by the clock, or, when the tables changed,
// the current profile's document. `quiet` leaves out the closing message. False when the file
// could not be written (logged; the tables stay marked as changed).
bool SaveSettingsDocument(MainState& state, bool quiet, bool backup);
// After a failed save: the system's reason as a line to add below a message ("\r\n" and the
// text), or "" when the file system gave none.
std::string WriteFailureLine(Services& services);
// Writes the current profile's document now, changed or not and whatever "Skip save on exit"
// says: the rows that hold entries taken out of their places must never exist only in memory.
// False when it could not be written (logged, nothing shown).
bool StoreSettingsNow(RowParts parts);
// After a command: with "Skip save on exit" clear, the tables' changes are written now, one
// write for everything the command changed, so that nothing the user is told is done waits for
// the exit. With the option set only StoreSettingsNow's rows are written at once. False when
// the write failed (logged; the tables stay marked as changed).
bool StoreEdits(MainState& state);
// Writes the changes not yet stored before the tables are read again from a document, so that
// no reload drops them. False (and the user told, with the file's path) when they could not be
// written: the caller must then not reload.
bool StorePendingBeforeReload(MainState& state);
// The stored rows of all nine tables from the current profile's document, none of them ticked
// in the location tables; a missing or unreadable document loads nothing, silently.
void LoadSettingsDocument(MainState& state);
// The stored rows of one table from the current profile's document (a rescan of one place).
void LoadStoredTable(MainState& state, TableKind kind);
// Replaces every table by a chosen document's content, the "Active" rows ticked; a missing or
// unreadable document changes nothing.
void LoadSettingsFile(MainState& state, const std::string& path);

// "Save settings": writes even when nothing changed. A failure names the file and the reason.
Outcome SaveSettingsCommand(MainState& state);
// "Backup all settings"; the closing message names the file.
Outcome BackupSettingsCommand(MainState& state);
// "Load a backup file": Done when a file was loaded (the caller then rebuilds icons).
Outcome LoadBackupCommand(MainState& state, Prompts& prompts);

// The layout of the document for a set of tables (the part of a save that touches no file).
void BuildSettingsDocument(const Tables& tables, bool backup, TreeDocument& doc);
// Adds one row per child element of the element at `path` to the table; nothing when the
// path does not resolve.
void ReadTableFromDocument(MainState& state, const TreeDocument& doc, TableKind kind, std::string_view path,
                           bool ticked);
// "backup_ddmmyyyy_hhnnss.xml".
std::string BackupFileName(const LocalTime& time);

}  // namespace kestrune
