#pragma once
// Reading the five start-up places into the first five tables. Every entry found in a place is
// live and enters its table ticked; disabled entries come back, unticked, from the settings
// document, which is read right after a scan. A scan never changes a place.

#include <string>
#include <string_view>

#include "app/Outcome.h"
#include "app/RowFiles.h"
#include "app/TableKind.h"
#include "locations/Places.h"
#include "platform/Platform.h"
#include "platform/Registry.h"

namespace kestrune {

struct MainState;

// The environment for %NAME% expansion and the two Startup folders (StartupFolders.h): once,
// at start-up, before the first scan.
void DetermineStartupFolders(platform::Platform& platform, Paths& paths);

// Appends the entries of one folder to table `kind`: its shortcuts, and its other files with
// the file itself as the path (see StartupFiles.h).
void ScanStartupFolder(RowParts parts, const std::string& folder, TableKind kind);
// Appends the values of one key that read as text to table `kind`.
void ScanRunKey(RowParts parts, platform::RootKey root, std::string_view subkey, TableKind kind, bool ticked);
// Appends the values of one of the keys a Run-key table gathers, each marked with its key;
// an entry whose approval value says Windows will not start it comes unticked and marked.
void ScanRunKeySource(RowParts parts, const RunKeySource& source, TableKind kind);
// Scans one location table's place into its table (kinds 1 to 5; others do nothing).
void ScanPlace(RowParts parts, TableKind kind);
// The five places in order: user Startup, common Startup, HKLM Run, HKCU Run, RunOnce.
void ScanPlaces(RowParts parts);

// Each of the three refills below first writes the changes not yet stored, so that reading
// the document again drops nothing; when they cannot be written it changes no table and
// answers false (the first two: Refused, with the message that names the file).

// Leaves Slimline mode, clears all nine tables, scans the five places, reads the stored rows,
// fits the lists and applies the icons.
Outcome ScanAllLocations(MainState& state);
// The same without touching Slimline mode, refreshing the process table before the stored rows
// are read.
Outcome RefreshAllTables(MainState& state);
// Clears one location table, scans its place and reads its stored rows again.
bool RescanLocation(MainState& state, TableKind kind);

// Gives every row still on the default icon the icon of the file its entry names, if any.
void ApplyRowIcons(RowParts parts);
// The same for the rows `first` to `last` of one table (positions past its end are skipped),
// so that a front end can fill icons a few rows at a time, the visible ones first.
void ApplyRowIcons(RowParts parts, TableKind kind, int first, int last);

}  // namespace kestrune
