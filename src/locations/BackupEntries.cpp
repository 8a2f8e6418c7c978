#include "locations/BackupEntries.h"

#include <optional>
#include <vector>

#include "app/MainState.h"
#include "app/Text.h"
#include "locations/Places.h"
#include "locations/ShellOps.h"
#include "locations/TableOperations.h"
#include "store/SettingsDocument.h"

namespace kestrune {

namespace {

constexpr TableKind kLocationTables[] = {TableKind::UserStartup, TableKind::CommonStartup, TableKind::HKLM_Run,
                                         TableKind::HKCU_Run, TableKind::RunOnce};

// Whether the place holds the row's entry as the row describes it.
bool InPlace(RowParts parts, TableKind kind, int position) {
    const Table& table = parts.model.tables[kind];
    if (IsFolderTable(kind)) {
        const std::string& folder = StartupFolderOf(parts.paths, kind);
        if (folder.empty()) return false;
        if (table.Details(position).file) return parts.services.FileExists(AddBackslash(folder) + table.Name(position));
        const ShortcutTarget link =
            ResolveShortcut(parts.services.platform.shell(), folder, table.Name(position) + ".lnk");
        return !link.target.empty() && EqualsIgnoreCase(link.target, table.Text(position, col::Path)) &&
               link.arguments == table.Text(position, col::Arguments);
    }
    const RunKeyPlace place = *RunKeyOf(kind);
    const auto value = parts.services.platform.registry().QueryValue(place.root, place.subkey, table.Name(position));
    return value && value->data == table.Text(position, col::Path);
}

struct Missing {
    TableKind kind;
    RowId row;
};

std::vector<Missing> NotInPlace(RowParts parts) {
    std::vector<Missing> missing;
    for (TableKind kind : kLocationTables) {
        const Table& table = parts.model.tables[kind];
        for (int p = 1; p <= table.Count(); ++p)
            if (table.Ticked(p) && !InPlace(parts, kind, p)) missing.push_back({kind, table.Id(p)});
    }
    return missing;
}

}  // namespace

int CountBackupEntriesNotInPlace(RowParts parts) { return static_cast<int>(NotInPlace(parts).size()); }

Outcome PutBackupEntriesInPlaces(PlaceParts parts) {
    Outcome outcome;
    for (const Missing& entry : NotInPlace(parts)) {
        Table& table = parts.model.tables[entry.kind];
        const auto position = table.PositionOf(entry.row);
        if (!position) continue;
        // The row shows the tick the backup gave it; the tick is then carried out as the user's.
        table.SetTicked(*position, false);
        outcome.Add(TickRow(parts, entry.kind, *position, true));
    }
    return outcome;
}

Outcome LoadBackupAndOffer(MainState& state, Prompts& prompts, std::optional<bool> apply) {
    Outcome outcome = LoadBackupCommand(state, prompts);
    if (outcome.status != OutcomeStatus::Done) return outcome;
    const std::string loaded = outcome.details.empty() ? std::string() : outcome.details.front();
    const int missing = CountBackupEntriesNotInPlace(state);
    if (missing == 0) {
        outcome.details.emplace_back(kBackupPlacesUnchangedLine);
        if (!apply) outcome.Say(loaded + "\r\n" + kBackupPlacesUnchangedLine, MessageIcon::Information);
        return outcome;
    }
    const std::string notIn = std::to_string(missing) + " ticked row(s) are not in their places.";
    if (apply == false) {
        outcome.details.push_back(std::string(kBackupPlacesUnchangedLine) + " " + notIn + " " + kApplyBackupHint);
        return outcome;
    }
    if (!apply &&
        !prompts.AskYesNo(loaded + "\r\n" + kBackupPlacesUnchangedLine + " " + notIn + "\r\n" + kApplyBackupQuestion,
                          MessageIcon::Information)) {
        outcome.details.push_back(std::string(kBackupPlacesUnchangedLine) + " " + notIn);
        return outcome;
    }
    Outcome applied = PutBackupEntriesInPlaces(state);
    outcome.messages.insert(outcome.messages.end(), applied.messages.begin(), applied.messages.end());
    outcome.details.insert(outcome.details.end(), applied.details.begin(), applied.details.end());
    if (!applied.Succeeded()) outcome.status = applied.status;
    return outcome;
}

}  // namespace kestrune
