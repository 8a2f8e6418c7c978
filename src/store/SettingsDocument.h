#pragma once
// The settings document: the stored form of the tables (the unticked rows of the five location
// tables and the whole of Delayed, Deleted, Known and Process), its backups with the ticked
// location rows under "Active", and the File menu's three commands over it.

#include <string>
#include <string_view>

#include "app/Clock.h"
#include "app/TableKind.h"

namespace kestrune {

struct MainState;
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

// Writes the document: a backup to a new file named by the clock, or, when the tables changed,
// the current profile's document. `quiet` leaves out the closing message.
void SaveSettingsDocument(MainState& state, bool quiet, bool backup);
// The stored rows of all nine tables from the current profile's document, none of them ticked
// in the location tables; a missing or unreadable document loads nothing, silently.
void LoadSettingsDocument(MainState& state);
// The stored rows of one table from the current profile's document (a rescan of one place).
void LoadStoredTable(MainState& state, TableKind kind);
// Replaces every table by a chosen document's content, the "Active" rows ticked; a missing or
// unreadable document changes nothing.
void LoadSettingsFile(MainState& state, const std::string& path);

// "Save settings": writes even when nothing changed.
void SaveSettingsCommand(MainState& state);
// "Backup all settings".
void BackupSettingsCommand(MainState& state);
// "Load a backup file": answers true when a file was loaded (the caller then rebuilds icons).
bool LoadBackupCommand(MainState& state);

// The layout of the document for a set of tables (the part of a save that touches no file).
void BuildSettingsDocument(const Tables& tables, bool backup, TreeDocument& doc);
// Adds one row per child element of the element at `path` to the table; nothing when the
// path does not resolve.
void ReadTableFromDocument(MainState& state, const TreeDocument& doc, TableKind kind, std::string_view path,
                           bool ticked);
// "backup_ddmmyyyy_hhnnss.xml".
std::string BackupFileName(const LocalTime& time);

}  // namespace kestrune
