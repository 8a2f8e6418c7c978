#pragma once
// What the main window shows and offers, as plain rules that both front ends share: the menu
// captions, the summary and status line of each tab, which menu entries a tab or a table's
// context menu offers, and the folder that "Open container folder" opens.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/TableKind.h"

namespace kestrune {

struct MainState;
class Table;

// ---- Menu captions ("&&" shows one "&" in a menu) ----
namespace caption {
inline constexpr std::string_view File = "File";
inline constexpr std::string_view SaveSettings = "Save settings";
inline constexpr std::string_view BackupSettings = "Backup all settings";
inline constexpr std::string_view LoadBackup = "Load a backup file";
inline constexpr std::string_view Exit = "Exit";
inline constexpr std::string_view Action = "Action";
inline constexpr std::string_view DeleteDuplicates = "Delete duplicates";
inline constexpr std::string_view InCurrentTable = "in current table";
inline constexpr std::string_view InAllTables = "in ALL tables";
inline constexpr std::string_view RecordItems = "Record items";
inline constexpr std::string_view DeleteUnticked = "Delete unticked items in current table";
inline constexpr std::string_view Refresh = "Refresh && reload tables";
inline constexpr std::string_view Import = "Import from Startup Control Panel";
inline constexpr std::string_view RunDelayed = "Run delayed applications";
inline constexpr std::string_view SendToTray = "Send to system tray";
inline constexpr std::string_view Monitor = "Monitor changes";
inline constexpr std::string_view StopDelayed = "Prevent delayed apps from registering";
inline constexpr std::string_view AllIdle = "Make all delayed applications idle";
inline constexpr std::string_view LastRunTimeline = "Timeline of the last delayed run";
inline constexpr std::string_view ResetWindow = "Reset window size && position";
inline constexpr std::string_view Options = "Options";
inline constexpr std::string_view RunOnStartup = "Run on startup";
inline constexpr std::string_view SkipSave = "Do not save on exit";
inline constexpr std::string_view TrayOnClose = "Send to system tray on close";
inline constexpr std::string_view ExitAfterDelayed = "Exit after delayed app run";
inline constexpr std::string_view IgnoreSelf = "Ignore self-made changes";
inline constexpr std::string_view ChooseProfile = "Choose profile on startup";
inline constexpr std::string_view SkipRunning = "Don't run apps if they are already running";
inline constexpr std::string_view WatchPriorities = "Apply priority settings continuously";
inline constexpr std::string_view DisableTheWindowsWay = "Disable entries the Windows way (they stay in place)";
inline constexpr std::string_view SetIdle = "Set idle settings";
inline constexpr std::string_view Profiles = "Profiles";
inline constexpr std::string_view TableMenu = "Table Menu";
inline constexpr std::string_view Identify = "Identify";
inline constexpr std::string_view NewItem = "New item";
inline constexpr std::string_view Delete = "Delete";
inline constexpr std::string_view Toggle = "Enable / Disable";
inline constexpr std::string_view Edit = "Edit item";
inline constexpr std::string_view Run = "Run now";
inline constexpr std::string_view CopyClip = "Copy to clipboard";
inline constexpr std::string_view ClipFile = "Filename";
inline constexpr std::string_view ClipPath = "Path without arguments";
inline constexpr std::string_view ClipPathArgs = "Path with arguments";
inline constexpr std::string_view RecordSetting = "Record setting";
inline constexpr std::string_view Tick = "Tick / Untick";
inline constexpr std::string_view TickAll = "Tick All";
inline constexpr std::string_view TickSelected = "Tick Selected";
inline constexpr std::string_view UntickAll = "Untick All";
inline constexpr std::string_view UntickSelected = "Untick Selected";
inline constexpr std::string_view MoveTo = "Move to";
inline constexpr std::string_view MoveBack = "Where it came from";
inline constexpr std::string_view OpenContainer = "Open container folder";
inline constexpr std::string_view SetPriority = "Set Priority";
inline constexpr std::string_view EndProcess = "End Process";
inline constexpr std::string_view SysTray = "System Tray";
inline constexpr std::string_view Restore = "Restore";
inline constexpr std::string_view Cancel = "Cancel";
inline constexpr std::string_view ShowHelp = "Show &Help file";
}  // namespace caption

// The Set Priority entries in menu order with the class each sets.
struct PriorityEntry {
    std::string_view caption;
    std::uint32_t priorityClass;
};
inline constexpr std::array<PriorityEntry, 6> kPriorityEntries = {{
    {"Realtime", 256},
    {"High", 128},
    {"Above Normal", 32768},
    {"Normal", 32},
    {"Below Normal", 16384},
    {"Low", 64},
}};

// The tables a row can be moved to, in "Move to" order (User to Delayed).
inline constexpr std::array<TableKind, 6> kMoveTargets = {TableKind::UserStartup, TableKind::CommonStartup,
                                                          TableKind::HKLM_Run,    TableKind::HKCU_Run,
                                                          TableKind::RunOnce,     TableKind::Delayed};

inline constexpr int kTabCount = kTableCount + 1;
inline constexpr std::string_view kAboutTabCaption = "About";
inline constexpr std::string_view kProcessSummary = "Running processes - priority changes take immediate effect";
inline constexpr std::string_view kMakerHelpFile = "readme.htm";
inline constexpr std::string_view kContactQuery = "index.php?s=feedback";
inline constexpr std::string_view kDonateQuery = "index.php?s=donate";

// Tabs are numbered from 1 (About); tab n shows table n - 1.
// The caption of tab `tab`.
std::string TabCaptionOf(int tab);
// "About Kestrune - v1.0.0".
std::string AboutSummary();

// What a tab click shows and allows.
struct TabRules {
    std::string summary;
    bool recordItemsEnabled = true;
    bool deleteUntickedEnabled = true;
};
TabRules RulesForTab(int tab);

// The entries of the lists' context menu for one table and selection.
struct ContextMenuRules {
    // Enabled states.
    bool identifyEnabled = true, copyEnabled = true, editEnabled = true, runEnabled = true;
    std::array<bool, kMoveTargets.size()> moveEnabled{};
    // Visibility.
    bool deleteVisible = true, moveVisible = true, editVisible = true, recordVisible = true;
    bool priorityVisible = false, endProcessVisible = false;
    // "Move to" > "Where it came from": only Deleted rows know their table.
    bool moveBackVisible = false;
};
ContextMenuRules ContextMenuFor(TableKind kind, int selectedCount);

// The Set Priority entry (index into kPriorityEntries) to check for the selected row of the
// Process table, or nullopt when none matches or nothing is selected.
std::optional<int> CheckedPriorityEntry(const Table& table, const std::vector<int>& selectedRows);

// The folder "Open container folder" opens for a row: its program path without the last
// component when that has a "."; "" when the row gives no path.
std::string ContainerFolderOf(const Table& table, int position);

}  // namespace kestrune
