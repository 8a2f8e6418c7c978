#include "desired/StateApply.h"

#include "locations/TableOperations.h"
#include "store/SettingsDocument.h"

namespace kestrune {

namespace {

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

void SetPlaceTexts(Table& table, int position, const EntryFields& fields) {
    table.SetText(position, col::Path, fields.path);
    if (IsFolderTable(table.Kind())) table.SetText(position, col::Arguments, fields.arguments);
}

std::vector<std::string> NewRowTexts(TableKind kind, const std::string& name, const EntryFields& fields) {
    switch (kind) {
        case TableKind::UserStartup:
        case TableKind::CommonStartup: return {name, fields.path, fields.arguments};
        case TableKind::Delayed: return {name, fields.path, fields.delay, "", fields.priority};
        case TableKind::Known: return {fields.path};
        case TableKind::Process: return {name, fields.path, fields.priority, ""};
        default: return {name, fields.path};
    }
}

// A new row, unticked, then ticked as the user would tick it. A refused entry leaves no row
// behind: the place never held it and the state still asks for it.
Outcome AddRow(PlaceParts parts, const StateDifference& d) {
    Table& table = parts.model.tables[d.kind];
    parts.model.settingsChanged = true;
    const int position = table.Add(NewRowTexts(d.kind, d.name, d.after), false, parts.files().ItemIcon(d.after.path));
    if (!d.after.enabled) {
        return Outcome::Of(OutcomeStatus::Done, "added " + Quoted(d.name) + " to " + PlaceName(d.kind));
    }
    const RowId id = table.Id(position);
    Outcome outcome = TickRow(parts, d.kind, position, true);
    if (outcome.status == OutcomeStatus::Refused) {
        if (const auto now = table.PositionOf(id)) table.Remove(*now);
    } else if (IsLocationTable(d.kind)) {
        outcome.details.back() = "added and enabled " + Quoted(d.name) + " in " + PlaceName(d.kind);
    }
    return outcome;
}

// The entry runs another command: out with the old one, in with the new, as an edit does.
// When the new one is refused the row gets its old command back and that is put back in.
Outcome ChangeCommand(PlaceParts parts, const StateDifference& d, int position) {
    Table& table = parts.model.tables[d.kind];
    const RowId id = table.Id(position);
    Outcome outcome = TickRow(parts, d.kind, position, false);
    if (outcome.status != OutcomeStatus::Done) return outcome;
    const auto out = table.PositionOf(id);
    if (!out) return outcome;
    SetPlaceTexts(table, *out, d.after);
    Outcome in = TickRow(parts, d.kind, *out, true);
    if (in.status == OutcomeStatus::Done) {
        Outcome done = Outcome::Of(OutcomeStatus::Done, "changed the command of " + Quoted(d.name) + " in " +
                                                            PlaceName(d.kind) + " to " + Quoted(d.after.path));
        done.messages = std::move(in.messages);
        return done;
    }
    if (const auto back = table.PositionOf(id)) {
        SetPlaceTexts(table, *back, d.before);
        in.Add(TickRow(parts, d.kind, *back, true));
        in.status = OutcomeStatus::Refused;
    }
    return in;
}

Outcome UpdateRow(PlaceParts parts, const StateDifference& d, int position) {
    Table& table = parts.model.tables[d.kind];
    parts.model.settingsChanged = true;
    if (d.kind == TableKind::Delayed) {
        table.SetText(position, col::Path, d.after.path);
        table.SetText(position, col::Delay, d.after.delay);
        table.SetText(position, col::DelayedPriority, d.after.priority);
    } else if (d.kind == TableKind::Process) {
        table.SetText(position, col::ProcessPriority, d.after.priority);
    }
    Outcome outcome = Outcome::Of(OutcomeStatus::Done, "changed " + Quoted(d.name) + " in " + PlaceName(d.kind));
    if (table.Ticked(position) != d.after.enabled) {
        Outcome tick = TickRow(parts, d.kind, position, d.after.enabled);
        if (tick.status == OutcomeStatus::Refused) return tick;
    }
    return outcome;
}

Outcome Carry(PlaceParts parts, const StateDifference& d) {
    if (d.change == StateChange::Missing) {
        Outcome refused =
            Outcome::Of(OutcomeStatus::Refused, std::string("did not enable ") + Quoted(d.name) + " in " +
                                                    PlaceName(d.kind) + ": " + kNoCommandToEnable + Quoted(d.name));
        return refused;
    }
    if (d.change == StateChange::Add) return AddRow(parts, d);
    Table& table = parts.model.tables[d.kind];
    const auto position = table.PositionOf(d.row);
    if (!position) return Outcome::Of(OutcomeStatus::NothingToDo);
    switch (d.change) {
        case StateChange::Disable: return TickRow(parts, d.kind, *position, false);
        case StateChange::Enable:
            if (d.before.path != d.after.path || d.before.arguments != d.after.arguments) {
                // A disabled row's command is plain data until the row is enabled.
                parts.model.settingsChanged = true;
                SetPlaceTexts(table, *position, d.after);
            }
            return TickRow(parts, d.kind, *position, true);
        case StateChange::Command: return ChangeCommand(parts, d, *position);
        case StateChange::Update: return UpdateRow(parts, d, *position);
        default: return Outcome::Of(OutcomeStatus::NothingToDo);
    }
}

}  // namespace

bool StateApplyResult::Changed() const {
    for (const AppliedChange& change : changes)
        if (change.outcome.status == OutcomeStatus::Done) return true;
    return false;
}

StateApplyResult ApplyDesiredState(PlaceParts parts, const DesiredState& wanted) {
    StateApplyResult result;
    for (StateDifference& difference : CompareState(parts.model.tables, wanted)) {
        Outcome outcome = Carry(parts, difference);
        result.changes.push_back({std::move(difference), std::move(outcome)});
    }
    // Delayed, Known and Process rows are plain data of the document: written now, so that
    // "Skip save on exit" cannot drop what the state asked for.
    if (parts.model.settingsChanged) StoreSettingsNow(parts);
    result.remaining = CompareState(parts.model.tables, wanted);
    return result;
}

std::string ApplySummaryLine(const StateApplyResult& result, std::size_t entriesChecked) {
    size_t done = 0;
    for (const AppliedChange& change : result.changes) done += change.outcome.status == OutcomeStatus::Done;
    const std::string changes = std::to_string(done) + " change(s)";
    if (result.Matches()) {
        if (result.changes.empty()) return SummaryLine(result.remaining, entriesChecked);
        return kStateApplied + changes + ", the machine matches";
    }
    const std::string drift = SummaryLine(result.remaining, entriesChecked);
    return kStillDrifts + changes + ": " + drift.substr(std::string_view(kStateDrifts).size());
}

}  // namespace kestrune
