#include "desired/StateCompare.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "app/Text.h"
#include "locations/TableOperations.h"
#include "procs/Priority.h"

namespace kestrune {

namespace {

constexpr const char* kEmptyName = " has an entry without a name";
constexpr const char* kUnsafeName = " has a name that is not a plain name: ";
constexpr const char* kNamedTwice = " names this entry twice: ";
constexpr const char* kUnknownPriority = " has an unknown priority: ";
constexpr const char* kNoPlace = " is not a start-up place";
constexpr const char* kNoArguments = " takes no arguments: ";
constexpr const char* kEmptyPath = " has a row without a path";
constexpr const char* kNoDifferences = "no differences";
constexpr const char* kMore = "; and more";

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }
// A name from the file in a one-line message: its control characters shown as "?".
std::string QuotedName(std::string_view text) {
    std::string shown(text);
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    return Quoted(shown);
}

std::string SectionCaption(TableKind kind) {
    return IsLocationTable(kind) ? PlaceName(kind) : std::string(KindName(kind));
}

// A name becomes a shortcut's file name or a registry value's name: one plain name, never a
// path that could reach out of its place, nothing unprintable.
bool IsPlainName(std::string_view name, bool fileName) {
    if (name == "." || name == "..") return false;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || c == '\\' || c == '/') return false;
        if (fileName && std::string_view(":*?\"<>|").find(c) != std::string_view::npos) return false;
    }
    return true;
}

bool IsPriorityText(std::string_view text) {
    return std::any_of(kPriorityTexts.begin(), kPriorityTexts.end(),
                       [&](std::string_view offered) { return EqualsIgnoreCase(offered, text); });
}

// A row's fields as the state describes them.
EntryFields FieldsOf(const Table& table, int position) {
    const TableKind kind = table.Kind();
    EntryFields fields;
    fields.present = true;
    fields.enabled = table.Ticked(position);
    fields.path = table.Text(position, PathColumn(kind));
    if (IsFolderTable(kind)) fields.arguments = table.Text(position, col::Arguments);
    if (kind == TableKind::Delayed) {
        fields.delay = table.Text(position, col::Delay);
        fields.priority = table.Text(position, col::DelayedPriority);
    }
    if (kind == TableKind::Process) fields.priority = table.Text(position, col::ProcessPriority);
    return fields;
}

// Per name (ignoring case): the enabled row, else the first disabled one. A place holds each
// name once; the settings document may add a disabled row beside a live one.
struct NamedRows {
    std::optional<int> ticked;
    std::optional<int> unticked;
    int Best() const { return ticked ? *ticked : *unticked; }
};

std::unordered_map<std::string, NamedRows> RowsByName(const Table& table, int column) {
    std::unordered_map<std::string, NamedRows> rows;
    rows.reserve(static_cast<size_t>(table.Count()));
    for (int p = 1; p <= table.Count(); ++p) {
        NamedRows& named = rows[ToLower(table.Text(p, column))];
        std::optional<int>& slot = table.Ticked(p) ? named.ticked : named.unticked;
        if (!slot) slot = p;
    }
    return rows;
}

template <typename Entry, typename Key>
void SortByName(std::vector<Entry>& entries, Key key) {
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        const int folded = CompareIgnoreCase(key(a), key(b));
        return folded != 0 ? folded < 0 : key(a) < key(b);
    });
}

// A delay that does not read as a number is exported as 0; it must compare equal to that.
bool SameDelay(const std::string& have, const std::string& wanted) {
    return ParseWholeNumber(have).value_or(0) == ParseWholeNumber(wanted).value_or(0);
}

void ComparePlace(const Table& table, const WantedPlace& place, std::vector<StateDifference>& out) {
    const TableKind kind = table.Kind();
    const auto rows = RowsByName(table, col::Name);
    std::unordered_set<std::string> named;
    for (const WantedEntry& entry : place.entries) {
        const std::string key = ToLower(entry.name);
        named.insert(key);
        const auto found = rows.find(key);
        const NamedRows* have = found == rows.end() ? nullptr : &found->second;

        StateDifference difference;
        difference.kind = kind;
        difference.name = entry.name;
        if (have) {
            difference.before = FieldsOf(table, have->Best());
            difference.row = table.Id(have->Best());
        }
        difference.after = difference.before;
        difference.after.present = true;
        difference.after.enabled = entry.enabled;
        if (entry.path) difference.after.path = *entry.path;
        if (entry.arguments) difference.after.arguments = *entry.arguments;

        if (!entry.enabled) {
            if (!have || !have->ticked) continue;
            difference.change = StateChange::Disable;
        } else if (have && have->ticked) {
            const bool samePath = EqualsIgnoreCase(difference.before.path, difference.after.path);
            const bool sameArguments = EqualsIgnoreCase(difference.before.arguments, difference.after.arguments);
            if (samePath && sameArguments) continue;
            difference.change = StateChange::Command;
        } else if (have) {
            difference.change = StateChange::Enable;
        } else {
            difference.change = entry.path && !entry.path->empty() ? StateChange::Add : StateChange::Missing;
        }
        out.push_back(std::move(difference));
    }
    if (place.mode != PlaceMode::Exact) return;
    for (int p = 1; p <= table.Count(); ++p) {
        if (!table.Ticked(p) || named.contains(ToLower(table.Name(p)))) continue;
        StateDifference difference;
        difference.kind = kind;
        difference.name = table.Name(p);
        difference.change = StateChange::Disable;
        difference.unlisted = true;
        difference.before = FieldsOf(table, p);
        difference.after = difference.before;
        difference.after.enabled = false;
        difference.row = table.Id(p);
        out.push_back(std::move(difference));
    }
}

// The rows of Delayed, Known and Process: added when missing, updated when they differ.
void CompareRow(const Table& table, const std::unordered_map<std::string, NamedRows>& rows, const std::string& name,
                const std::string& key, const EntryFields& wanted, bool (*same)(const EntryFields&, const EntryFields&),
                std::vector<StateDifference>& out) {
    StateDifference difference;
    difference.kind = table.Kind();
    difference.name = name;
    difference.after = wanted;
    const auto found = rows.find(key);
    if (found == rows.end()) {
        difference.change = StateChange::Add;
    } else {
        const int position = found->second.Best();
        difference.before = FieldsOf(table, position);
        difference.row = table.Id(position);
        if (same(difference.before, wanted)) return;
        difference.change = StateChange::Update;
    }
    out.push_back(std::move(difference));
}

bool SameDelayed(const EntryFields& have, const EntryFields& wanted) {
    return have.enabled == wanted.enabled && EqualsIgnoreCase(have.path, wanted.path) &&
           SameDelay(have.delay, wanted.delay) && EqualsIgnoreCase(have.priority, wanted.priority);
}
bool SameKnown(const EntryFields& have, const EntryFields& wanted) { return have.enabled == wanted.enabled; }
bool SameProcess(const EntryFields& have, const EntryFields& wanted) {
    return have.enabled && EqualsIgnoreCase(have.priority, wanted.priority);
}

// Stored priorities are the ticked Process rows; a running program's own row is unticked.
std::unordered_map<std::string, NamedRows> StoredProcesses(const Table& table, bool withPath) {
    std::unordered_map<std::string, NamedRows> rows;
    for (int p = 1; p <= table.Count(); ++p) {
        if (!table.Ticked(p)) continue;
        const std::string key = ToLower(table.Name(p) + (withPath ? "\n" + table.Text(p, col::Path) : ""));
        if (!rows[key].ticked) rows[key].ticked = p;
    }
    return rows;
}

void CountDifference(std::vector<std::pair<TableKind, int>>& counts, TableKind kind) {
    for (auto& [counted, n] : counts) {
        if (counted == kind) {
            ++n;
            return;
        }
    }
    counts.emplace_back(kind, 1);
}

}  // namespace

std::string_view ChangeWord(StateChange change) {
    switch (change) {
        case StateChange::Enable: return "enable";
        case StateChange::Disable: return "disable";
        case StateChange::Add: return "add";
        case StateChange::Command: return "command";
        case StateChange::Update: return "update";
        case StateChange::Missing: return "missing";
    }
    return "";
}

DesiredState CaptureState(const Tables& tables, PlaceMode mode) {
    DesiredState state;
    for (TableKind kind : kAllTables) {
        if (!IsLocationTable(kind)) continue;
        const Table& table = tables[kind];
        WantedPlace& place = state.places[kind];
        place.mode = mode;
        std::unordered_set<std::string> seen;
        // Enabled rows first, so that a name's live entry wins over a stored disabled one.
        for (const bool ticked : {true, false}) {
            for (int p = 1; p <= table.Count(); ++p) {
                if (table.Ticked(p) != ticked || !seen.insert(ToLower(table.Name(p))).second) continue;
                WantedEntry entry{table.Name(p), table.Text(p, col::Path), std::nullopt, ticked};
                if (IsFolderTable(kind)) entry.arguments = table.Text(p, col::Arguments);
                place.entries.push_back(std::move(entry));
            }
        }
        SortByName(place.entries, [](const WantedEntry& e) -> const std::string& { return e.name; });
    }

    auto& delayed = state.delayed.emplace();
    const Table& delayedRows = tables[TableKind::Delayed];
    std::unordered_set<std::string> seen;
    for (int p = 1; p <= delayedRows.Count(); ++p) {
        if (!seen.insert(ToLower(delayedRows.Name(p))).second) continue;
        delayed.push_back({delayedRows.Name(p), delayedRows.Text(p, col::Path),
                           ParseWholeNumber(delayedRows.Text(p, col::Delay)).value_or(0),
                           delayedRows.Text(p, col::DelayedPriority), delayedRows.Ticked(p)});
    }
    SortByName(delayed, [](const WantedDelayed& d) -> const std::string& { return d.name; });

    auto& known = state.known.emplace();
    const Table& knownRows = tables[TableKind::Known];
    seen.clear();
    for (int p = 1; p <= knownRows.Count(); ++p) {
        if (!seen.insert(ToLower(knownRows.Text(p, col::KnownPath))).second) continue;
        known.push_back({knownRows.Text(p, col::KnownPath), knownRows.Ticked(p)});
    }
    SortByName(known, [](const WantedKnown& k) -> const std::string& { return k.path; });

    auto& processes = state.processes.emplace();
    const Table& processRows = tables[TableKind::Process];
    seen.clear();
    for (int p = 1; p <= processRows.Count(); ++p) {
        if (!processRows.Ticked(p)) continue;
        if (!seen.insert(ToLower(processRows.Name(p) + "\n" + processRows.Text(p, col::Path))).second) continue;
        processes.push_back(
            {processRows.Name(p), processRows.Text(p, col::Path), processRows.Text(p, col::ProcessPriority)});
    }
    std::sort(processes.begin(), processes.end(), [](const WantedProcess& a, const WantedProcess& b) {
        const int name = CompareIgnoreCase(a.name, b.name);
        if (name != 0) return name < 0;
        if (a.name != b.name) return a.name < b.name;
        return a.path < b.path;
    });
    return state;
}

std::optional<std::string> ValidateDesiredState(const DesiredState& wanted) {
    for (const auto& [kind, place] : wanted.places) {
        const std::string where = std::string(KindName(kind));
        if (!IsLocationTable(kind)) return where + kNoPlace;
        std::unordered_set<std::string> names;
        for (const WantedEntry& entry : place.entries) {
            if (entry.name.empty()) return where + kEmptyName;
            if (!IsPlainName(entry.name, IsFolderTable(kind))) return where + kUnsafeName + QuotedName(entry.name);
            if (!names.insert(ToLower(entry.name)).second) return where + kNamedTwice + Quoted(entry.name);
            if (entry.arguments && !IsFolderTable(kind)) return where + kNoArguments + Quoted(entry.name);
        }
    }
    if (wanted.delayed) {
        std::unordered_set<std::string> names;
        for (const WantedDelayed& row : *wanted.delayed) {
            const std::string where = "Delayed";
            if (row.name.empty()) return where + kEmptyName;
            if (row.path.empty()) return where + kEmptyPath;
            if (!names.insert(ToLower(row.name)).second) return where + kNamedTwice + Quoted(row.name);
            if (!IsPriorityText(row.priority)) return where + kUnknownPriority + Quoted(row.priority);
        }
    }
    if (wanted.known) {
        std::unordered_set<std::string> paths;
        for (const WantedKnown& row : *wanted.known) {
            if (row.path.empty()) return std::string("Known") + kEmptyPath;
            if (!paths.insert(ToLower(row.path)).second) return std::string("Known") + kNamedTwice + Quoted(row.path);
        }
    }
    if (wanted.processes) {
        std::unordered_set<std::string> keys;
        for (const WantedProcess& row : *wanted.processes) {
            const std::string where = "Process";
            if (row.name.empty()) return where + kEmptyName;
            if (!IsPriorityText(row.priority)) return where + kUnknownPriority + Quoted(row.priority);
            if (!keys.insert(ToLower(row.name + "\n" + row.path)).second) return where + kNamedTwice + Quoted(row.name);
        }
    }
    return std::nullopt;
}

std::vector<StateDifference> CompareState(const Tables& tables, const DesiredState& wanted) {
    std::vector<StateDifference> out;
    for (const auto& [kind, place] : wanted.places) ComparePlace(tables[kind], place, out);

    if (wanted.delayed) {
        const Table& table = tables[TableKind::Delayed];
        const auto rows = RowsByName(table, col::Name);
        for (const WantedDelayed& row : *wanted.delayed) {
            EntryFields fields{true, row.enabled, row.path, "", std::to_string(row.delay), row.priority};
            CompareRow(table, rows, row.name, ToLower(row.name), fields, SameDelayed, out);
        }
    }
    if (wanted.known) {
        const Table& table = tables[TableKind::Known];
        const auto rows = RowsByName(table, col::KnownPath);
        for (const WantedKnown& row : *wanted.known) {
            EntryFields fields{true, row.allowed, row.path, "", "", ""};
            CompareRow(table, rows, row.path, ToLower(row.path), fields, SameKnown, out);
        }
    }
    if (wanted.processes) {
        const Table& table = tables[TableKind::Process];
        const auto byName = StoredProcesses(table, false);
        const auto byPath = StoredProcesses(table, true);
        for (const WantedProcess& row : *wanted.processes) {
            EntryFields fields{true, true, row.path, "", "", row.priority};
            const bool withPath = !row.path.empty();
            const std::string key = ToLower(row.name + (withPath ? "\n" + row.path : ""));
            CompareRow(table, withPath ? byPath : byName, row.name, key, fields, SameProcess, out);
        }
    }
    std::stable_partition(out.begin(), out.end(),
                          [](const StateDifference& d) { return d.change == StateChange::Disable; });
    return out;
}

std::string DescribeDifference(const StateDifference& d) {
    std::string what = SectionCaption(d.kind) + " " + Quoted(d.name) + ": ";
    switch (d.change) {
        case StateChange::Enable: return what + "disabled, wanted enabled";
        case StateChange::Disable:
            return what + (d.unlisted ? "enabled but not in the state, wanted disabled" : "enabled, wanted disabled");
        case StateChange::Add: return what + "missing, wanted " + (d.after.enabled ? "enabled" : "disabled");
        case StateChange::Missing: return what + "missing, and the state gives no command to enable it with";
        case StateChange::Command: {
            std::string text = what + "runs " + Quoted(d.before.path);
            if (!d.before.arguments.empty()) text += " with " + Quoted(d.before.arguments);
            text += ", wanted " + Quoted(d.after.path);
            if (!d.after.arguments.empty()) text += " with " + Quoted(d.after.arguments);
            return text;
        }
        case StateChange::Update: {
            std::vector<std::string> parts;
            if (d.before.enabled != d.after.enabled)
                parts.emplace_back(d.after.enabled ? "unticked, wanted ticked" : "ticked, wanted unticked");
            if (!EqualsIgnoreCase(d.before.path, d.after.path) && d.kind != TableKind::Process)
                parts.emplace_back("path " + Quoted(d.before.path) + ", wanted " + Quoted(d.after.path));
            if (d.kind == TableKind::Delayed && d.before.delay != d.after.delay)
                parts.push_back("delay " + d.before.delay + ", wanted " + d.after.delay);
            if (!EqualsIgnoreCase(d.before.priority, d.after.priority))
                parts.push_back("priority " + Quoted(d.before.priority) + ", wanted " + Quoted(d.after.priority));
            return what + Join(parts, "; ");
        }
    }
    return what;
}

std::string SummaryLine(const std::vector<StateDifference>& differences, std::size_t entriesChecked,
                        std::size_t limit) {
    if (differences.empty())
        return kStateMatches + std::string(kNoDifferences) + " in " + std::to_string(entriesChecked) + " entries";
    std::vector<std::pair<TableKind, int>> counts;
    for (const StateDifference& d : differences) CountDifference(counts, d.kind);
    std::vector<std::string> perTable;
    for (const auto& [kind, n] : counts) perTable.push_back(SectionCaption(kind) + " " + std::to_string(n));
    std::string line =
        kStateDrifts + std::to_string(differences.size()) + " difference(s) (" + Join(perTable, ", ") + ")";
    for (size_t i = 0; i < differences.size(); ++i) {
        const std::string next = (i == 0 ? ": " : "; ") + DescribeDifference(differences[i]);
        if (line.size() + next.size() + std::string_view(kMore).size() > limit) {
            line += kMore;
            break;
        }
        line += next;
    }
    return line;
}

std::size_t CountWanted(const DesiredState& wanted) {
    std::size_t count = 0;
    for (const auto& [kind, place] : wanted.places) count += place.entries.size();
    if (wanted.delayed) count += wanted.delayed->size();
    if (wanted.known) count += wanted.known->size();
    if (wanted.processes) count += wanted.processes->size();
    return count;
}

}  // namespace kestrune
