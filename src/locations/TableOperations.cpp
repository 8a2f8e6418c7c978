#include "locations/TableOperations.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "app/Columns.h"
#include "app/CommandLine.h"
#include "app/MainState.h"
#include "app/Text.h"
#include "locations/LocationChange.h"
#include "procs/SelectedRows.h"
#include "procs/TableStatus.h"
#include "store/SettingsDocument.h"

namespace kestrune {

namespace {

// Runs a command with the controls busy, then brings the status line up to date.
template <typename Body>
void WithControlsDisabled(MainState& state, Body body) {
    const BusyScope busy(state.events);
    body();
    ShowTableStatus(state);
}

}  // namespace

bool DeleteRow(MainState& state, TableKind kind, int position, bool noConfirm) {
    Table& table = state.tables[kind];
    if (kind == TableKind::Deleted) {
        if (noConfirm || state.fe.AskYesNo(kAskDeleteItem, MessageIcon::Exclamation)) {
            table.Remove(position);
            state.deleteAllConfirmed = true;
            state.settingsChanged = true;
            return true;
        }
        state.deleteAllConfirmed = false;
        return false;
    }
    state.settingsChanged = true;
    if (kind == TableKind::Known) {
        table.Remove(position);
        return true;
    }
    const bool wasTicked = table.Ticked(position);
    if (wasTicked) {
        // Until the row below reaches Deleted, the document holds the entry as this disabled row.
        table.SetTicked(position, false);
        if (ApplyLocationChange(state, kind, position) == ChangeOutcome::Failed) return false;
    }
    state.tables[TableKind::Deleted].Add({table.Text(position, col::Name), table.Text(position, col::Path)}, false,
                                         table.Icon(position));
    table.Remove(position);
    if (wasTicked) StoreSettingsNow(state);
    return true;
}

int DeleteDuplicates(MainState& state, TableKind kind, bool quiet) {
    Table& table = state.tables[kind];
    // Each name as a small number, so the quadratic walk below compares integers. The walk
    // itself is kept: it decides which rows go and in which order they reach Deleted.
    std::unordered_map<std::string, int> ids;
    std::vector<int> nameIds;
    nameIds.reserve(static_cast<size_t>(table.Count()));
    for (int p = 1; p <= table.Count(); ++p)
        nameIds.push_back(ids.emplace(ToLower(table.Name(p)), static_cast<int>(ids.size())).first->second);

    int deleted = 0;
    for (int c = table.Count(); c >= 1; --c) {
        for (int d = table.Count(); d >= c + 1; --d) {
            if (nameIds[static_cast<size_t>(d - 1)] != nameIds[static_cast<size_t>(c - 1)]) continue;
            if (!DeleteRow(state, kind, d, true)) continue;
            nameIds.erase(nameIds.begin() + (d - 1));
            ++deleted;
        }
    }
    if (!quiet) {
        const std::string text = std::to_string(deleted) + kDuplicatesDeleted;
        state.fe.SetStatus(text);
        state.fe.ShowMessage(text, MessageIcon::Information);
        ShowTableStatus(state);
    }
    return deleted;
}

int DeleteDuplicatesInAllTables(MainState& state) {
    int total = 0;
    const BusyScope busy(state.events);
    for (TableKind kind : kAllTables) total += DeleteDuplicates(state, kind, true);
    const std::string text = std::to_string(total) + kDuplicatesDeleted;
    state.fe.SetStatus(text);
    state.fe.ShowMessage(text, MessageIcon::Information);
    return total;
}

void DeleteUntickedRows(MainState& state, TableKind kind) {
    WithControlsDisabled(state, [&] {
        Table& table = state.tables[kind];
        for (int p = table.Count(); p >= 1; --p)
            if (!table.Ticked(p)) DeleteRow(state, kind, p, true);
    });
}

bool MoveRow(MainState& state, TableKind source, int position, TableKind target) {
    if (source == target) return false;
    Table& from = state.tables[source];
    Table& to = state.tables[target];
    state.settingsChanged = true;

    const std::string path = from.Text(position, col::Path);
    std::vector<std::string> texts(static_cast<size_t>(to.ColumnCount()));
    texts[col::Name] = from.Name(position);
    if (IsFolderTable(source) && !IsFolderTable(target)) {
        // A shortcut's target and arguments become one command line. Without arguments no
        // space follows the quotes, so the line splits back into the same target.
        const std::string& arguments = from.Text(position, col::Arguments);
        texts[col::Path] = "\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
    } else if (!IsFolderTable(source) && IsFolderTable(target)) {
        const SplitResult split = SplitCommandLine(path, false);
        texts[col::Path] = split.path;
        texts[col::Arguments] = split.arguments;
    } else {
        texts[col::Path] = path;
        if (IsFolderTable(source) && IsFolderTable(target)) texts[col::Arguments] = from.Text(position, col::Arguments);
    }
    if (target == TableKind::Delayed) {
        texts[col::Delay] = "1";
        texts[col::Previous] = std::string(TabCaption(source));
    }
    const bool wasTicked = from.Ticked(position);
    if (wasTicked) {
        // Until the new row exists, the document holds the entry as the disabled source row.
        from.SetTicked(position, false);
        if (ApplyLocationChange(state, source, position) == ChangeOutcome::Failed) return false;
    }
    const int added = to.Add(std::move(texts), false, from.Icon(position));
    from.Remove(position);
    if (wasTicked) {
        to.SetTicked(added, true);
        ApplyLocationChange(state, target, added);
        FitAllColumns(state);
        StoreSettingsNow(state);
    }
    return true;
}

bool RecordRow(MainState& state, TableKind kind, int position, bool useTick) {
    const Table& table = state.tables[kind];
    const std::string key = table.Text(position, PathColumn(kind));
    if (key.empty()) return false;
    const bool wanted = useTick && table.Ticked(position);
    Table& known = state.tables[TableKind::Known];
    for (int k = 1; k <= known.Count(); ++k) {
        if (!EqualsIgnoreCase(known.Text(k, col::KnownPath), key)) continue;
        if (useTick) known.SetTicked(k, wanted);
        else if (known.Ticked(k)) known.SetTicked(k, false);
        state.settingsChanged = true;
        return false;
    }
    known.Add({key}, wanted, state.ItemIcon(key));
    state.settingsChanged = true;
    return true;
}

void RecordTable(MainState& state, TableKind kind) {
    for (int p = 1; p <= state.tables[kind].Count(); ++p) RecordRow(state, kind, p, true);
}

void RecordAllTables(MainState& state) {
    for (TableKind kind : kAllTables) RecordTable(state, kind);
}

void SetRowTick(MainState& state, TableKind kind, int position, bool ticked) {
    Table& table = state.tables[kind];
    if (table.Ticked(position) == ticked) return;
    state.settingsChanged = true;
    table.SetTicked(position, ticked);
    ApplyLocationChange(state, kind, position);
}

void DeleteSelectedRows(MainState& state) {
    const auto kind = state.CurrentKind();
    if (!kind) return;
    // Permanent deletions from Deleted ask once for the rest after the first answer.
    int met = 0;
    bool deleteAll = false;
    ForEachSelectedRowDo(state, [&](int position) {
        if (*kind == TableKind::Deleted && met == 1 && state.deleteAllConfirmed)
            deleteAll = state.fe.AskYesNo(kAskDeleteAll, MessageIcon::Exclamation);
        DeleteRow(state, *kind, position, deleteAll);
        ++met;
    });
}

void ToggleSelectedRows(MainState& state) {
    const auto kind = state.CurrentKind();
    if (!kind) return;
    ForEachSelectedRowDo(state, [&](int position) {
        state.settingsChanged = true;
        state.tables[*kind].SetTicked(position, !state.tables[*kind].Ticked(position));
        ApplyLocationChange(state, *kind, position);
    });
}

void MoveSelectedRows(MainState& state, TableKind target) {
    const auto kind = state.CurrentKind();
    if (!kind) return;
    ForEachSelectedRowDo(state, [&](int position) { MoveRow(state, *kind, position, target); });
    FitColumns(state, target);
}

void RecordSelectedRows(MainState& state) {
    const auto kind = state.CurrentKind();
    if (!kind) return;
    ForEachSelectedRowDo(state, [&](int position) { RecordRow(state, *kind, position, true); });
}

void TickSelectedRows(MainState& state, bool ticked) {
    const auto kind = state.CurrentKind();
    if (!kind) return;
    ForEachSelectedRowDo(state, [&](int position) { SetRowTick(state, *kind, position, ticked); });
}

void TickAllRows(MainState& state, bool ticked) {
    const auto kind = state.CurrentKind();
    if (!kind) return;
    WithControlsDisabled(state, [&] {
        for (int p = state.tables[*kind].Count(); p >= 1; --p) SetRowTick(state, *kind, p, ticked);
    });
}

}  // namespace kestrune
