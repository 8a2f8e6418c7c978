#pragma once
// File › Export (the machine's state file, or the current or every table as CSV) and File ›
// Apply a state file…, which lists what would change and changes it only after OK.

#include <string_view>

class QMenu;

namespace kestrune {
class Application;
}

namespace kestrune::ui {

inline constexpr std::string_view kExportCaption = "Export";
inline constexpr std::string_view kExportStateCaption = "State file...";
inline constexpr std::string_view kExportTableCaption = "Current table as CSV...";
inline constexpr std::string_view kExportAllCaption = "All tables as CSV...";
inline constexpr std::string_view kApplyStateCaption = "Apply a state file...";
inline constexpr const char* kStateChangesTitle = "Kestrune - Apply a state file";
inline constexpr const char* kStateChangesIntro = "These changes will be made. Apply them?";
inline constexpr const char* kAlreadyMatches = "The machine already matches this state file.";
inline constexpr const char* kNotApplied = "The state file was not applied.";
inline constexpr const char* kNotAStateFile = "This is not a state file Kestrune can apply:";
inline constexpr const char* kExportFailed = "The file could not be written:";
inline constexpr const char* kExported = "Exported to ";
inline constexpr const char* kStateFileFilter = "Kestrune state files (*.json)|*.json";
inline constexpr const char* kCsvFileFilter = "CSV files (*.csv)|*.csv";

enum class ExportWhat { StateFile, CurrentTable, AllTables };

void ExportFromDesktop(Application& app, ExportWhat what);
void ApplyStateFileFromDesktop(Application& app);

// The File menu's two entries, before its last separator.
void AddStateFileEntries(QMenu* file, Application& app);

}  // namespace kestrune::ui
