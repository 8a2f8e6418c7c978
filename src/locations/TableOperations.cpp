#include "locations/TableOperations.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/CommandLine.h"
#include "app/MainState.h"
#include "app/TableSort.h"
#include "app/Text.h"
#include "locations/LocationChange.h"
#include "procs/ForEachRow.h"
#include "store/SettingsDocument.h"

namespace kestrune {

namespace {

// Runs a command with the controls busy (the caller brings the status line up to date).
template <typename Body>
void WithControlsDisabled(MainState& state, Body body) {
    const BusyScope busy(state.model.events);
    body();
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// The settings document's file name, where a disabled entry of a place is kept.
std::string DocumentName(const Paths& paths) {
    const std::string& path = paths.settingsDocumentPath;
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string PlaceName(TableKind kind) {
    switch (kind) {
        case TableKind::UserStartup: return "Startup (user)";
        case TableKind::CommonStartup: return "Startup (common)";
        default: return std::string(TabCaption(kind));
    }
}

Outcome TickRow(PlaceParts parts, TableKind kind, int position, bool ticked) {
    Table& table = parts.model.tables[kind];
    const std::string name = Quoted(table.Name(position));
    if (table.Ticked(position) == ticked)
        return Outcome::Of(OutcomeStatus::NothingToDo,
                           name + (ticked ? " is already enabled" : " is already disabled"));
    parts.model.settingsChanged = true;
    table.SetTicked(position, ticked);
    const RowId id = table.Id(position);
    Outcome outcome = CarryOutLocationChange(parts, kind, position);
    // A refusal puts the tick back (and has said why).
    const auto now = table.PositionOf(id);
    if (outcome.status == OutcomeStatus::NothingToDo) {
        outcome.details.push_back(name + " was not in " + PlaceName(kind) +
                                  ", so nothing was taken out; the row is kept in " + DocumentName(parts.paths) +
                                  " as disabled");
        return outcome;
    }
    if (!now || table.Ticked(*now) != ticked) {
        outcome.status = OutcomeStatus::Refused;
        outcome.details.push_back(std::string(ticked ? "did not enable " : "did not disable ") + name + " in " +
                                  PlaceName(kind));
        return outcome;
    }
    outcome.status = OutcomeStatus::Done;
    std::string detail = std::string(ticked ? "enabled " : "disabled ") + name + " in " + PlaceName(kind);
    if (!ticked && IsLocationTable(kind)) detail += "; it is kept in " + DocumentName(parts.paths);
    outcome.details.push_back(std::move(detail));
    return outcome;
}

Outcome DeleteRow(PlaceParts parts, TableKind kind, int position) {
    Table& table = parts.model.tables[kind];
    parts.model.settingsChanged = true;
    if (kind == TableKind::Deleted || kind == TableKind::Known) {
        table.Remove(position);
        return Outcome::Of(OutcomeStatus::Done);
    }
    Outcome said;
    const bool wasTicked = table.Ticked(position);
    // The tick it had: for a location row, whether its entry was in its place.
    bool hadTick = wasTicked;
    if (wasTicked && IsLocationTable(kind)) {
        // Until the row below reaches Deleted, the document holds the entry as this disabled row.
        table.SetTicked(position, false);
        said = CarryOutLocationChange(parts, kind, position);
        if (said.refusedBySystem) return said;
        hadTick = said.status != OutcomeStatus::NothingToDo;
    } else if (wasTicked) {
        table.SetTicked(position, false);
        said = CarryOutLocationChange(parts, kind, position);
    }
    // Everything needed to bring it back as it was goes along.
    EntryDetails details = table.Details(position);
    details.origin = DeletedFrom{kind, hadTick, table.Row(position).texts};
    parts.model.tables[TableKind::Deleted].Add(
        {table.Text(position, col::Name), table.Text(position, col::Path), std::string(TabCaption(kind))}, false,
        table.Icon(position), std::move(details));
    table.Remove(position);
    if (wasTicked) StoreSettingsNow(parts);
    // A rule of the program's that kept the entry in its place does not keep the row.
    said.status = OutcomeStatus::Done;
    return said;
}

Outcome DeleteDuplicates(PlaceParts parts, TableKind kind) {
    Table& table = parts.model.tables[kind];
    // Each name as a small number, so the quadratic walk below compares integers. The walk
    // itself is kept: it decides which rows go and in which order they reach Deleted.
    std::unordered_map<std::string, int> ids;
    std::vector<int> nameIds;
    nameIds.reserve(static_cast<size_t>(table.Count()));
    for (int p = 1; p <= table.Count(); ++p)
        nameIds.push_back(ids.emplace(ToLower(table.Name(p)), static_cast<int>(ids.size())).first->second);

    Outcome said;
    for (int c = table.Count(); c >= 1; --c) {
        for (int d = table.Count(); d >= c + 1; --d) {
            if (nameIds[static_cast<size_t>(d - 1)] != nameIds[static_cast<size_t>(c - 1)]) continue;
            Outcome row = DeleteRow(parts, kind, d);
            const bool deleted = row.status == OutcomeStatus::Done;
            said.Add(std::move(row));
            if (!deleted) continue;
            nameIds.erase(nameIds.begin() + (d - 1));
        }
    }
    return said;
}

namespace {

// A row as it was in its own table: a Deleted row that knows its origin is the row it was
// there (with the name and path it has now, which the user may have edited).
struct RowAsItWas {
    TableKind kind;
    std::vector<std::string> texts;
    bool ticked;
};

RowAsItWas AsItWas(const Table& table, int position) {
    const Item& row = table.Row(position);
    const auto& origin = row.details.origin;
    if (table.Kind() != TableKind::Deleted || !origin) return {table.Kind(), row.texts, row.ticked};
    RowAsItWas was{origin->table, origin->texts, origin->ticked};
    was.texts.resize(std::max<size_t>(was.texts.size(), 2));
    was.texts[col::Name] = row.texts[col::Name];
    was.texts[col::Path] = row.texts[col::Path];
    return was;
}

// The columns of a row of table `was.kind` as a row of `target`.
std::vector<std::string> TextsFor(const RowAsItWas& was, TableKind target, size_t columns) {
    std::vector<std::string> texts = was.kind == target ? was.texts : std::vector<std::string>{};
    texts.resize(columns);
    if (was.kind == target) return texts;
    auto text = [&](int column) { return column < static_cast<int>(was.texts.size()) ? was.texts[column] : ""; };
    const std::string path = text(col::Path);
    texts[col::Name] = text(col::Name);
    if (IsFolderTable(was.kind) && !IsFolderTable(target)) {
        // A shortcut's target and arguments become one command line. Without arguments no
        // space follows the quotes, so the line splits back into the same target.
        const std::string arguments = text(col::Arguments);
        texts[col::Path] = "\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
    } else if (!IsFolderTable(was.kind) && IsFolderTable(target)) {
        const SplitResult split = SplitCommandLine(path, false);
        texts[col::Path] = split.path;
        texts[col::Arguments] = split.arguments;
    } else {
        texts[col::Path] = path;
        if (IsFolderTable(was.kind) && IsFolderTable(target)) texts[col::Arguments] = text(col::Arguments);
    }
    if (target == TableKind::Delayed) {
        texts[col::Delay] = "1";
        texts[col::Previous] = std::string(TabCaption(was.kind));
    }
    return texts;
}

// What the row knew of its entry, where it still describes the entry in the target's place.
EntryDetails DetailsFor(const EntryDetails& details, TableKind was, TableKind target) {
    EntryDetails kept;
    if (IsRunKeyTable(was) && IsRunKeyTable(target)) kept.value = details.value;
    if (IsFolderTable(was) && IsFolderTable(target)) {
        kept.shortcut = details.shortcut;
        kept.file = details.file;
    }
    // Back in its own table it goes back into the key it lived in (the 32-bit view, say).
    if (was == target) kept.place.key = details.place.key;
    return kept;
}

}  // namespace

Outcome MoveRow(PlaceParts parts, TableKind source, int position, TableKind target) {
    Outcome said = Outcome::Of(OutcomeStatus::Refused);
    if (source == target) return said;
    Table& from = parts.model.tables[source];
    Table& to = parts.model.tables[target];

    const RowAsItWas was = AsItWas(from, position);
    const bool startupFile = from.Details(position).file.has_value();
    if (startupFile && !IsFolderTable(target)) {
        said.Say(from.Name(position) + kFileStaysInFolders, MessageIcon::Exclamation);
        return said;
    }
    std::vector<std::string> texts = TextsFor(was, target, static_cast<size_t>(to.ColumnCount()));
    EntryDetails details = DetailsFor(from.Details(position), was.kind, target);
    const bool wasTicked = from.Ticked(position);
    // A Deleted row going back where it came from takes the tick it had there.
    const bool tickAfter = wasTicked || (source == TableKind::Deleted && was.kind == target && was.ticked);
    // Nothing may overwrite an entry that starts from the target place already.
    if (tickAfter && IsLocationTable(target) &&
        PlaceHoldsName(parts.services.platform, parts.paths, target, texts[col::Name], PlaceKey::Main, startupFile)) {
        said.Say(NameTakenMessage(texts[col::Name], target), MessageIcon::Exclamation);
        return said;
    }
    parts.model.settingsChanged = true;
    Item original = from.Row(position);
    if (wasTicked) {
        // Until the new row exists, the document holds the entry as the disabled source row.
        from.SetTicked(position, false);
        said.Add(CarryOutLocationChange(parts, source, position));
        if (said.refusedBySystem) return said;
        // The source's own bytes or fields were read again as it left; a file now waits aside.
        details = DetailsFor(from.Details(position), source, target);
        original.details.file = from.Details(position).file;
    }
    const int added = to.Add(std::move(texts), false, from.Icon(position), std::move(details));
    from.Remove(position);
    if (tickAfter) {
        to.SetTicked(added, true);
        const RowId moved = to.Id(added);
        Outcome put = CarryOutLocationChange(parts, target, added);
        const bool refused = put.status != OutcomeStatus::Done;
        said.Add(std::move(put));
        if (refused) {
            // The target place refused (and has said why): the entry goes back where it was, so
            // the move is not done at all. Should its own place refuse now, it stays stored as
            // a disabled row there.
            if (const auto now = to.PositionOf(moved)) to.Remove(*now);
            const int back = from.Add(original.texts, original.ticked, original.icon, original.details);
            if (original.ticked) said.Add(CarryOutLocationChange(parts, source, back));
            StoreSettingsNow(parts);
            said.status = OutcomeStatus::Refused;
            return said;
        }
        SortAllTables(parts.model.tables);
    }
    if (wasTicked || tickAfter) StoreSettingsNow(parts);
    said.status = OutcomeStatus::Done;
    return said;
}

std::optional<TableKind> OriginOf(const Model& model, int position) {
    const Table& deleted = model.tables[TableKind::Deleted];
    if (position < 1 || position > deleted.Count()) return std::nullopt;
    const auto& origin = deleted.Details(position).origin;
    if (!origin || Number(origin->table) < Number(TableKind::UserStartup) ||
        Number(origin->table) > Number(TableKind::Delayed))
        return std::nullopt;
    return origin->table;
}

bool RecordRow(RowParts parts, TableKind kind, int position, bool useTick) {
    const Table& table = parts.model.tables[kind];
    const std::string key = table.Text(position, PathColumn(kind));
    if (key.empty()) return false;
    const bool wanted = useTick && table.Ticked(position);
    Table& known = parts.model.tables[TableKind::Known];
    for (int k = 1; k <= known.Count(); ++k) {
        if (!EqualsIgnoreCase(known.Text(k, col::KnownPath), key)) continue;
        if (useTick) known.SetTicked(k, wanted);
        else if (known.Ticked(k)) known.SetTicked(k, false);
        parts.model.settingsChanged = true;
        return false;
    }
    known.Add({key}, wanted, parts.files().ItemIcon(key));
    parts.model.settingsChanged = true;
    return true;
}

void RecordTable(RowParts parts, TableKind kind) {
    for (int p = 1; p <= parts.model.tables[kind].Count(); ++p) RecordRow(parts, kind, p, true);
}

void RecordAllTables(RowParts parts) {
    for (TableKind kind : kAllTables) RecordTable(parts, kind);
}

Outcome SetRowTick(PlaceParts parts, TableKind kind, int position, bool ticked) {
    Table& table = parts.model.tables[kind];
    if (table.Ticked(position) == ticked) return {};
    parts.model.settingsChanged = true;
    table.SetTicked(position, ticked);
    return CarryOutLocationChange(parts, kind, position);
}

Outcome SetTicks(MainState& state, TableKind kind, const std::vector<int>& rows, std::optional<bool> ticked) {
    Outcome outcome;
    ForEachRowDo(state.model, kind, rows, [&](int position) {
        outcome.Add(TickRow(state, kind, position, ticked.value_or(!state.model.tables[kind].Ticked(position))));
    });
    return outcome;
}

Outcome SetAllTicks(MainState& state, TableKind kind, bool ticked) {
    Outcome outcome;
    WithControlsDisabled(state, [&] {
        for (int p = state.model.tables[kind].Count(); p >= 1; --p) outcome.Add(TickRow(state, kind, p, ticked));
    });
    return outcome;
}

Outcome DeleteRows(MainState& state, Prompts& prompts, TableKind kind, const std::vector<int>& rows) {
    Outcome outcome;
    // Permanent deletions from Deleted ask once for the rest after the first answer.
    int met = 0;
    bool firstDeleted = false, deleteAll = false;
    ForEachRowDo(state.model, kind, rows, [&](int position) {
        if (kind == TableKind::Deleted && met == 1 && firstDeleted)
            deleteAll = prompts.AskYesNo(kAskDeleteAll, MessageIcon::Exclamation);
        ++met;
        const std::string name = Quoted(state.model.tables[kind].Name(position));
        const bool asks = kind == TableKind::Deleted && !deleteAll;
        Outcome row = asks && !prompts.AskYesNo(kAskDeleteItem, MessageIcon::Exclamation)
                          ? Outcome::Of(OutcomeStatus::Cancelled)
                          : DeleteRow(state, kind, position);
        const bool deleted = row.status == OutcomeStatus::Done;
        if (met == 1) firstDeleted = deleted;
        if (deleted) {
            row.status = OutcomeStatus::Done;
            if (kind == TableKind::Deleted) row.details.push_back("deleted " + name + " from Deleted for good");
            else if (kind == TableKind::Known) row.details.push_back("deleted " + name + " from Known");
            else row.details.push_back("deleted " + name + " from " + PlaceName(kind) + "; it is kept in Deleted");
        } else if (kind == TableKind::Deleted) {
            row.status = OutcomeStatus::Cancelled;
            row.details.push_back("kept " + name + " in Deleted");
        } else {
            row.status = OutcomeStatus::Refused;
            row.details.push_back("did not delete " + name + " from " + PlaceName(kind));
        }
        outcome.Add(std::move(row));
    });
    return outcome;
}

namespace {

// Moves one row and says what came of it.
Outcome MoveOneRow(PlaceParts parts, TableKind source, int position, TableKind target) {
    const std::string name = Quoted(parts.model.tables[source].Name(position));
    const std::string where = " from " + PlaceName(source) + " to " + PlaceName(target);
    Outcome row = MoveRow(parts, source, position, target);
    if (row.status == OutcomeStatus::Done) {
        row.status = OutcomeStatus::Done;
        row.details.push_back("moved " + name + where);
    } else {
        row.status = OutcomeStatus::Refused;
        row.details.push_back("did not move " + name + where);
    }
    return row;
}

}  // namespace

Outcome MoveRows(MainState& state, TableKind source, const std::vector<int>& rows, TableKind target) {
    Outcome outcome;
    if (source == target) return outcome;
    ForEachRowDo(state.model, source, rows,
                 [&](int position) { outcome.Add(MoveOneRow(state, source, position, target)); });
    SortTable(state.model.tables[target]);
    return outcome;
}

Outcome MoveRowsBack(MainState& state, const std::vector<int>& rows) {
    Outcome outcome;
    ForEachRowDo(state.model, TableKind::Deleted, rows, [&](int position) {
        const auto origin = OriginOf(state.model, position);
        if (!origin) {
            Outcome row;
            row.status = OutcomeStatus::Refused;
            row.Say(Quoted(state.model.tables[TableKind::Deleted].Name(position)) + kOriginUnknown,
                    MessageIcon::Information);
            outcome.Add(std::move(row));
            return;
        }
        outcome.Add(MoveOneRow(state, TableKind::Deleted, position, *origin));
        SortTable(state.model.tables[*origin]);
    });
    return outcome;
}

Outcome RecordRows(MainState& state, TableKind kind, const std::vector<int>& rows) {
    Outcome outcome;
    ForEachRowDo(state.model, kind, rows, [&](int position) {
        const Table& table = state.model.tables[kind];
        const std::string path = Quoted(table.Text(position, PathColumn(kind)));
        const bool allowed = table.Ticked(position);
        if (table.Text(position, PathColumn(kind)).empty()) {
            outcome.Add(Outcome::Of(OutcomeStatus::NothingToDo, "nothing to record: the row has no path"));
            return;
        }
        const bool added = RecordRow(state, kind, position, true);
        outcome.Add(Outcome::Of(OutcomeStatus::Done, std::string(added ? "recorded " : "updated ") + path +
                                                         " in Known as " + (allowed ? "allowed" : "disallowed")));
    });
    return outcome;
}

Outcome RecordItems(RowParts parts, std::optional<TableKind> kind) {
    Outcome outcome = Outcome::Of(OutcomeStatus::Done);
    if (kind) {
        RecordTable(parts, *kind);
        outcome.statusLine = kTableRecorded;
        outcome.details.push_back("recorded every item of " + PlaceName(*kind) + " in Known");
    } else {
        RecordAllTables(parts);
        outcome.statusLine = kAllTablesRecorded;
        outcome.details.emplace_back("recorded every item of every table in Known");
    }
    return outcome;
}

Outcome DeleteDuplicateRows(PlaceParts parts, std::optional<TableKind> kind) {
    Outcome outcome;
    int deleted = 0;
    {
        const BusyScope busy(parts.model.events);
        for (TableKind each : kAllTables) {
            if (kind && each != *kind) continue;
            const int before = parts.model.tables[each].Count();
            outcome.Add(DeleteDuplicates(parts, each));
            deleted += before - parts.model.tables[each].Count();
        }
    }
    const std::string text = std::to_string(deleted) + kDuplicatesDeleted;
    outcome.status = deleted > 0 ? OutcomeStatus::Done : OutcomeStatus::NothingToDo;
    outcome.statusLine = text;
    outcome.Say(text, MessageIcon::Information);
    outcome.details.push_back("deleted " + std::to_string(deleted) + " duplicate row(s) " +
                              (kind ? "from " + PlaceName(*kind) : std::string("from all tables")) +
                              (deleted > 0 && kind != TableKind::Deleted ? "; they are kept in Deleted" : ""));
    return outcome;
}

Outcome DeleteUntickedRows(MainState& state, TableKind kind) {
    Outcome outcome;
    WithControlsDisabled(state, [&] {
        Table& table = state.model.tables[kind];
        int deleted = 0;
        int unticked = 0;
        for (int p = table.Count(); p >= 1; --p) {
            if (table.Ticked(p)) continue;
            ++unticked;
            Outcome row = DeleteRow(state, kind, p);
            if (row.status == OutcomeStatus::Done) ++deleted;
            outcome.Add(std::move(row));
        }
        // A row that stayed makes the command refused, as one refusal among several always has.
        outcome.status = unticked > deleted ? OutcomeStatus::Refused
                         : deleted > 0      ? OutcomeStatus::Done
                                            : OutcomeStatus::NothingToDo;
        std::string detail = "deleted " + std::to_string(deleted) + " unticked row(s) from " + PlaceName(kind);
        if (deleted > 0 && kind != TableKind::Deleted && kind != TableKind::Known)
            detail += "; they are kept in Deleted";
        outcome.details.push_back(std::move(detail));
    });
    return outcome;
}

}  // namespace kestrune
