#include "locations/Import.h"

#include "app/TableSort.h"
#include "locations/Scanning.h"

namespace kestrune {

namespace {

struct Source {
    const char* key;
    TableKind table;
    bool ticked;
};

constexpr Source kSources[] = {
    {"Software\\tovk\\StartupCPL\\Disabled\\CommonStartup", TableKind::CommonStartup, false},
    {"Software\\tovk\\StartupCPL\\Disabled\\HKCU-Run", TableKind::HKCU_Run, false},
    {"Software\\tovk\\StartupCPL\\Disabled\\HKLM-Run", TableKind::HKLM_Run, false},
    {"Software\\tovk\\StartupCPL\\Disabled\\RunOnce", TableKind::RunOnce, false},
    {"Software\\tovk\\StartupCPL\\Disabled\\UserStartup", TableKind::UserStartup, false},
    {"Software\\tovk\\StartupCPL\\Deleted", TableKind::Deleted, true},
};

}  // namespace

Outcome ImportStartupControlPanel(RowParts parts) {
    const BusyScope busy(parts.model.events);
    int before = 0;
    for (TableKind kind : kAllTables) before += parts.model.tables[kind].Count();
    for (const Source& source : kSources) {
        ScanRunKey(parts, platform::RootKey::CurrentUser, source.key, source.table, source.ticked);
        if (source.table == TableKind::UserStartup) {
            for (TableKind kind : {TableKind::CommonStartup, TableKind::HKCU_Run, TableKind::HKLM_Run,
                                   TableKind::RunOnce, TableKind::UserStartup})
                SortTable(parts.model.tables[kind]);
        }
    }
    SortTable(parts.model.tables[TableKind::Deleted]);
    ApplyRowIcons(parts);
    // The imported rows exist nowhere else in this program: make sure the next save keeps them.
    parts.model.settingsChanged = true;
    int after = 0;
    for (TableKind kind : kAllTables) after += parts.model.tables[kind].Count();
    Outcome outcome = Outcome::Of(OutcomeStatus::Done,
                                  "took over " + std::to_string(after - before) + " row(s) from Startup Control Panel");
    outcome.statusLine = kImportDone;
    outcome.Say(kImportDone, MessageIcon::Information);
    return outcome;
}

}  // namespace kestrune
