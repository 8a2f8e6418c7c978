#include "monitor/ChangeMonitor.h"

#include <algorithm>

#include "app/CommandLine.h"
#include "app/MainState.h"
#include "app/TableSort.h"
#include "app/Text.h"
#include "locations/LocationChange.h"
#include "locations/Places.h"
#include "locations/RegistryOps.h"
#include "locations/Scanning.h"
#include "locations/ShellOps.h"
#include "locations/StartupFiles.h"
#include "locations/TableOperations.h"
#include "monitor/MonitorWatch.h"
#include "monitor/SnapshotComparison.h"
#include "monitor/UnansweredQuestion.h"
#include "store/SettingsDocument.h"

namespace kestrune {

namespace {

constexpr const char* kAllowing = "Allowing change: ";
constexpr const char* kDeleting = "Deleting ";
constexpr const char* kCouldNotRemove = "Could not remove ";
constexpr int kNoSuchValue = 2;

// A new entry of this tick, with the line that stands for it in the prompt.
struct NewEntry {
    TableKind kind;
    MonitorEntry entry;
    std::string line;  // key + "[_]" + table number; emptied when it needs no prompt
    bool selfMade = false;
    bool own = false;  // the program itself put it there from one of its rows
};

NewEntry NewEntryOf(TableKind kind, const MonitorEntry& e, bool own) {
    return {kind, e, e.key + kNewEntryMark + std::to_string(Number(kind)), false, own};
}

// Whether the program's own latest change of the place's entry of this name was the one
// asked about (`added`: put in; otherwise taken out).
bool IsOwnChange(const std::vector<OwnPlaceChange>& own, TableKind kind, const MonitorEntry& entry, bool added,
                 bool* fromRow = nullptr) {
    for (auto it = own.rbegin(); it != own.rend(); ++it) {
        if (it->kind != kind || !EqualsIgnoreCase(it->name, entry.name)) continue;
        if (fromRow) *fromRow = it->fromRow;
        return it->added == added;
    }
    return false;
}

// The ticked row that stands for an entry the program put into its place, or 0.
int RowOfOwnEntry(const Model& model, const NewEntry& item) {
    const Table& table = model.tables[item.kind];
    for (int p = 1; p <= table.Count(); ++p)
        if (table.Ticked(p) && table.Place(p).key == item.entry.placeKey &&
            EqualsIgnoreCase(table.Name(p), item.entry.name))
            return p;
    return 0;
}

// Takes a new entry out of its place; false when the system refused. The refusal is logged;
// the entry then stays in the snapshot, so that it is not asked about again until it changes.
bool RemoveEntry(MainState& state, const NewEntry& item, const std::string& keptAt) {
    // Through the shell and the registry, which honour a place's refusal as Windows does.
    std::string what;
    int code = 0;
    if (item.entry.startupFile) {
        // Its bytes exist nowhere else: the file is moved aside, never deleted.
        what = item.entry.file;
        state.services.WriteLog(kMovingFileAsideLog + what);
        code = MoveStartupFile(state.services.platform, item.entry.file, keptAt).code;
    } else if (IsFolderTable(item.kind)) {
        what = item.entry.file;
        state.services.WriteLog(kDeleting + what);
        code = state.services.platform.shell().DeleteShortcut(item.entry.file).code;
    } else {
        const RunKeySource source =
            RunKeySourceOf(item.kind, item.entry.placeKey).value_or(RunKeySourcesOf(item.kind).front());
        const RunKeyPlace& place = source.place;
        what = item.entry.name + " from " + DescribeKey(source);
        state.services.WriteLog(kDeleting + what);
        code = DeleteRegistryValue(RegistryFor(state.services.platform.registry(), place), place.root, place.subkey,
                                   item.entry.name);
    }
    if (code == 0 || code == kNoSuchValue) return true;
    state.services.WriteLog(kCouldNotRemove + what + ": Error " + std::to_string(code) + " - " +
                            state.services.platform.system().ErrorText(code));
    return false;
}

// What the monitor takes out of a place is kept as a row of Deleted, from which the user can
// bring it back; answers the row.
RowId KeepInDeleted(MainState& state, const NewEntry& item) {
    Table& deleted = state.model.tables[TableKind::Deleted];
    const bool folder = IsFolderTable(item.kind);
    const std::string file = folder ? item.entry.key : state.rowFiles().ResolveItemFile(item.entry.key);
    // What the place holds now, read before it goes, so that "Move to" puts back the same.
    EntryDetails details;
    std::vector<std::string> texts{item.entry.name, item.entry.key};
    if (item.entry.startupFile) {
        texts.push_back(item.entry.arguments);
        details.file = StartupFile{FreeKeptFile(state.services.platform, state.paths, item.kind, item.entry.name)};
    } else if (folder) {
        texts.push_back(item.entry.arguments);
        details.shortcut = state.services.platform.shell().ReadShortcut(item.entry.file);
    } else {
        const RunKeySource source =
            RunKeySourceOf(item.kind, item.entry.placeKey).value_or(RunKeySourcesOf(item.kind).front());
        const RunKeyPlace& place = source.place;
        if (const auto value = RegistryFor(state.services.platform.registry(), place)
                                   .QueryValue(place.root, place.subkey, item.entry.name))
            details.value = StoredValue{value->type, value->data};
    }
    details.origin = DeletedFrom{item.kind, true, texts};
    details.place.key = item.entry.placeKey;
    // As a deleted row has it: the path alone, the arguments kept with its origin, from which
    // "Move to" builds the whole command for another table.
    const int position = deleted.Add({item.entry.name, item.entry.key, std::string(TabCaption(item.kind))}, false,
                                     state.services.IconOf(file), std::move(details));
    return deleted.Id(position);
}

// Takes newcomers out of their places, each kept in Deleted and on disk before it goes; what
// a place refuses stays there and loses its Deleted row again. The entries taken out are
// added to `removed`.
void RemoveNewEntries(MainState& state, const std::vector<const NewEntry*>& items,
                      std::vector<const NewEntry*>& removed) {
    if (items.empty()) return;
    Table& deleted = state.model.tables[TableKind::Deleted];
    std::vector<RowId> rows;
    for (const NewEntry* item : items) rows.push_back(KeepInDeleted(state, *item));
    auto dropRow = [&](RowId id) {
        if (const auto position = deleted.PositionOf(id)) deleted.Remove(*position);
    };
    if (!StoreSettingsNow(state)) {
        // Not on disk: taking the entries out would leave them in memory only.
        for (RowId id : rows) dropRow(id);
        return;
    }
    bool refused = false;
    for (size_t i = 0; i < items.size(); ++i) {
        const auto position = deleted.PositionOf(rows[i]);
        const auto& file = position ? deleted.Details(*position).file : std::nullopt;
        if (RemoveEntry(state, *items[i], file ? file->keptAt : std::string())) {
            removed.push_back(items[i]);
        } else {
            dropRow(rows[i]);
            refused = true;
        }
    }
    if (refused) StoreSettingsNow(state);
}

void AllowEntry(MainState& state, const NewEntry& item) {
    state.services.WriteLog(kAllowing + item.line);
    // The user's own enabling already has its row.
    if (item.own && RowOfOwnEntry(state.model, item) > 0) return;
    Table& table = state.model.tables[item.kind];
    // A question left open at the last exit is asked about entries the start-up scan listed.
    for (int p = 1; p <= table.Count(); ++p) {
        if (table.Ticked(p) && table.Name(p) == item.entry.name &&
            EqualsIgnoreCase(table.Text(p, col::Path), item.entry.key))
            return;
    }
    std::vector<std::string> texts{item.entry.name, item.entry.key};
    if (IsFolderTable(item.kind)) texts.push_back(item.entry.arguments);
    const std::string file =
        IsFolderTable(item.kind) ? item.entry.key : state.rowFiles().ResolveItemFile(item.entry.key);
    EntryDetails details;
    if (item.entry.startupFile) details.file = StartupFile{};
    details.place.key = item.entry.placeKey;
    table.Add(std::move(texts), true, state.services.IconOf(file), std::move(details));
}

// Drops the lines that need no question: the program's own changes and Known entries. Answers
// whether a disallowed Known entry was among them.
bool CheckKnownEntries(MainState& state, std::vector<NewEntry>& items) {
    bool disallow = false;
    const Table& known = state.model.tables[TableKind::Known];
    for (NewEntry& item : items) {
        const std::string& key = item.entry.key;
        if (state.model.selfMadeChanges.contains(key)) {
            item.line.clear();
            item.selfMade = true;
        }
        for (int k = 1; k <= known.Count(); ++k) {
            if (!EqualsIgnoreCase(known.Text(k, col::KnownPath), key)) continue;
            item.line.clear();
            if (!known.Ticked(k)) disallow = true;
            break;
        }
    }
    state.model.selfMadeChanges.clear();
    return disallow;
}

// Takes the removed entries out of the snapshot too, so that the next tick counts the place as
// it really is and a program that registers in the same place later is not missed.
void ForgetRemoved(PlaceSnapshot& snapshot, const std::vector<const NewEntry*>& removed) {
    for (const NewEntry* item : removed) {
        auto& entries = snapshot[static_cast<size_t>(Number(item->kind) - 1)];
        for (auto it = entries.begin(); it != entries.end(); ++it) {
            if (it->identity == item->entry.identity) {
                entries.erase(it);
                break;
            }
        }
    }
}

// The file of the open question; none for a program without a folder of its own.
std::string UnansweredFile(const MainState& state) {
    return state.paths.appFolder.empty() ? std::string() : state.paths.appFolder + kUnansweredFileName;
}

// The first look after a start: the entries of a question that was never answered, still in
// their places as they were, are new again and asked about.
void AskAgainUnanswered(MainState& state, const PlaceSnapshot& current, std::vector<NewEntry>& items,
                        std::vector<TableKind>& changed) {
    const std::string file = UnansweredFile(state);
    if (file.empty()) return;
    const std::vector<UnansweredEntry> open = ReadUnanswered(state.services, file);
    for (const UnansweredEntry& entry : open) {
        const auto& now = current[static_cast<size_t>(Number(entry.kind) - 1)];
        for (const MonitorEntry& e : now) {
            if (e.identity != entry.identity) continue;
            items.push_back(NewEntryOf(entry.kind, e, false));
            if (std::find(changed.begin(), changed.end(), entry.kind) == changed.end()) changed.push_back(entry.kind);
            break;
        }
    }
    if (items.empty()) ForgetUnanswered(state.services, file);
}

// What one look found: the entries to decide on, the tables to rescan afterwards.
struct Findings {
    std::vector<NewEntry> items;
    std::vector<TableKind> changed;
    bool entriesAdded = false;
    bool entriesRemoved = false;
};

// Turns the difference between two looks into entries to decide on, leaving out what the
// program itself did. Its own changes are told apart from outside ones whatever "Ignore
// self-made changes" says; the option only decides whether the user is asked about them.
void SortOutDifference(MainState& state, const SnapshotDifference& difference, const std::vector<OwnPlaceChange>& own,
                       Findings& found) {
    for (size_t i = 0; i < difference.size(); ++i) {
        const TableKind kind = static_cast<TableKind>(i + 1);
        const PlaceDifference& place = difference[i];
        if (!place.added.empty()) {
            bool newcomer = false;
            for (const MonitorEntry& e : place.added) {
                bool fromRow = true;
                const bool mine = IsOwnChange(own, kind, e, true, &fromRow);
                if (mine && (!fromRow || state.options.ignoreSelf)) continue;
                found.items.push_back(NewEntryOf(kind, e, mine));
                found.entriesAdded = true;
                newcomer = newcomer || !mine;
            }
            // The user's own entries have their rows; only newcomers call for a rescan.
            if (newcomer) found.changed.push_back(kind);
        } else if (place.fewer) {
            // Nothing to refresh when the program itself took the entries out: its tables
            // show that already, and a refill would only lose what they hold.
            const bool selfMade = TakeSelfMadeRemoval(state.model, state.options, kind);
            const bool allOwn = std::all_of(place.gone.begin(), place.gone.end(),
                                            [&](const MonitorEntry& e) { return IsOwnChange(own, kind, e, false); });
            if (!selfMade && !allOwn) {
                found.changed.push_back(kind);
                found.entriesRemoved = true;
            }
        }
    }
}

std::string MonitorQuestion(const std::vector<const NewEntry*>& asked) {
    std::string message = std::string(kMonitorPromptHead) + "\r\n";
    for (const NewEntry* item : asked) message += item->entry.key + "\r\n";
    return message + kMonitorPromptTail;
}

// Carries out the user's answer. Only what the user was asked about goes; the user's own
// enabling is taken back as unticking its row would: the row stays, so the entry can come back.
void CarryOutAnswer(MainState& state, Prompts& prompts, bool keep, const std::vector<const NewEntry*>& asked,
                    std::vector<const NewEntry*>& removed) {
    if (keep) {
        for (const NewEntry* item : asked) {
            AllowEntry(state, *item);
            state.model.events.MonitorDecided(item->kind, item->entry.name, true);
        }
        SortAllTables(state.model.tables);
        return;
    }
    std::vector<const NewEntry*> going;
    for (const NewEntry* item : asked) {
        if (const int row = item->own ? RowOfOwnEntry(state.model, *item) : 0) {
            // A refusal is seen at once, while the question's tick still holds the timer.
            for (const OutcomeMessage& message : SetRowTick(state, item->kind, row, false).messages)
                prompts.ShowMessage(message.text, message.icon, message.caption);
            if (!state.model.tables[item->kind].Ticked(row)) removed.push_back(item);  // else refused
        } else {
            going.push_back(item);
        }
    }
    RemoveNewEntries(state, going, removed);
}

// "Remember your decision": each entry asked about becomes a Known row.
void RememberDecision(MainState& state, bool keep, const std::vector<const NewEntry*>& asked) {
    Table& known = state.model.tables[TableKind::Known];
    for (const NewEntry* item : asked)
        known.Add({item->entry.key}, keep, state.services.IconOf(state.rowFiles().ResolveItemFile(item->entry.key)));
    state.model.settingsChanged = true;
}

// Asks about the entries left after the Known check, keeping the question on disk while it is
// open; answers whether the tables still need the rescan for them (only when nothing was
// decided).
bool AskAbout(MainState& state, Prompts& prompts, const std::vector<const NewEntry*>& asked,
              std::vector<const NewEntry*>& removed) {
    std::vector<std::string> places;
    for (const NewEntry* item : asked)
        places.push_back(NewEntryWithPlace(item->kind, item->entry.name, item->entry.placeKey));
    const std::string unanswered = UnansweredFile(state);
    if (!unanswered.empty()) {
        std::vector<UnansweredEntry> open;
        for (const NewEntry* item : asked) open.push_back({item->kind, item->entry.identity});
        KeepUnanswered(state.services, unanswered, open);
    }
    const MonitorAnswer answer = prompts.AskMonitor(MonitorQuestion(asked), places);
    // Unanswered, the session or the program ended with the question open: nothing is decided.
    // The entries stay in their places (and in the snapshot, so this session does not ask
    // again); the file asks at the next start.
    if (!answer.answered) return false;
    const bool keep = answer.keep;
    CarryOutAnswer(state, prompts, keep, asked, removed);
    if (answer.remember) RememberDecision(state, keep, asked);
    if (!unanswered.empty()) ForgetUnanswered(state.services, unanswered);
    return !keep;
}

// The Known check, then the question about what is left. The entries taken out of their
// places are added to `removed`.
void DecideOnNewEntries(MainState& state, Prompts& prompts, Findings& found, std::vector<const NewEntry*>& removed) {
    if (CheckKnownEntries(state, found.items)) {
        // A disallowed program registered again: this tick's new entries all go, but never
        // what the program itself has just put there.
        std::vector<const NewEntry*> going;
        for (const NewEntry& item : found.items)
            if (!item.selfMade && !item.own) going.push_back(&item);
        RemoveNewEntries(state, going, removed);
        for (NewEntry& item : found.items) item.line.clear();
    }
    std::vector<const NewEntry*> asked;
    for (const NewEntry& item : found.items)
        if (!item.line.empty()) asked.push_back(&item);
    found.entriesAdded = !asked.empty() && AskAbout(state, prompts, asked, removed);
}

// Stores what the tick decided and makes the current look the previous one; rescans the
// places that changed from outside.
void FinishLook(MainState& state, MonitorState& monitor, PlaceSnapshot current, const Findings& found,
                const std::vector<const NewEntry*>& removed) {
    // What this tick took out of a place, and the decisions it recorded, are stored at once:
    // a later rescan reads the document again, and the program may end at any moment.
    if (!removed.empty() || state.model.settingsChanged) StoreSettingsNow(state);
    for (const NewEntry* item : removed) state.model.events.MonitorDecided(item->kind, item->entry.name, false);
    ForgetRemoved(current, removed);
    monitor.previous = std::move(current);
    if (found.entriesAdded || found.entriesRemoved) {
        for (TableKind kind : found.changed) RescanLocation(state, kind);
        SortAllTables(state.model.tables);
        ApplyRowIcons(state);
    }
    monitor.snapshotTaken = true;
}

void LookAtPlaces(MainState& state, Prompts& prompts, MonitorState& monitor) {
    PlaceSnapshot current = ReadPlaceSnapshot(state.services.platform, state.paths);
    const std::vector<OwnPlaceChange> own = std::move(state.model.ownPlaceChanges);
    state.model.ownPlaceChanges.clear();
    Findings found;
    if (!monitor.snapshotTaken) {
        AskAgainUnanswered(state, current, found.items, found.changed);
        found.entriesAdded = !found.items.empty();
    } else {
        SortOutDifference(state, CompareSnapshots(monitor.previous, current), own, found);
    }
    std::vector<const NewEntry*> removed;
    if (!found.items.empty()) DecideOnNewEntries(state, prompts, found, removed);
    FinishLook(state, monitor, std::move(current), found, removed);
}

}  // namespace

std::string NewEntryWithPlace(TableKind kind, const std::string& name, PlaceKey key) {
    std::string text = name + kPlaceSeparator + std::string(TabCaption(kind));
    // The tab names the main key; any other is named in full, as the registry editor shows it.
    if (key != PlaceKey::Main) {
        if (const auto source = RunKeySourceOf(kind, key)) text += ", " + DescribeKey(*source);
    }
    return text;
}

void OnMonitorTick(MainState& state, Prompts& prompts, MonitorState& monitor) {
    // Stopped while it runs: a question open during the tick must not be stacked by another.
    if (monitor.timer) monitor.timer->Stop();
    if (!NothingChangedSinceLastLook(state.services.platform, state.paths, monitor))
        LookAtPlaces(state, prompts, monitor);
    if (monitor.timer) monitor.timer->Start();
}

void ToggleMonitor(Options& options, MonitorState& monitor) {
    options.monitor = !options.monitor;
    if (!monitor.timer) return;
    if (options.monitor) monitor.timer->Start();
    else monitor.timer->Stop();
}

Outcome PreventDelayedAppsFromRegistering(RowParts parts) {
    int added = 0;
    for (int p = 1; p <= parts.model.tables[TableKind::Delayed].Count(); ++p)
        if (RecordRow(parts, TableKind::Delayed, p, false)) ++added;
    Outcome outcome = Outcome::Of(added > 0 ? OutcomeStatus::Done : OutcomeStatus::NothingToDo);
    outcome.statusLine = added > 0 ? "Added " + std::to_string(added) + " application(s) to known list"
                                   : "No delayed applications to add to the known list";
    parts.model.settingsChanged = true;
    return outcome;
}

}  // namespace kestrune
