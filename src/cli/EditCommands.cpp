// `add` and `edit`: the item editor filled from the command line and confirmed, with the rules
// the dialog's OK button keeps.

#include <ostream>

#include "app/Text.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "locations/ItemEditor.h"
#include "procs/Priority.h"

namespace kestrune::cli {

namespace {

bool HasDelay(TableKind kind) { return kind == TableKind::Delayed; }
bool HasPriority(TableKind kind) { return kind == TableKind::Delayed || kind == TableKind::Process; }

// The priority text as the editor's list offers it; nullopt for a text it does not offer.
std::optional<std::string> EditorPriority(std::string_view text) {
    for (std::string_view offered : kPriorityTexts) {
        if (EqualsIgnoreCase(offered, Trim(text))) return std::string(offered);
    }
    return std::nullopt;
}

// The fields only some tables have, and their values.
void CheckEditorFields(const Invocation& inv, TableKind kind) {
    if (inv.delay) {
        if (!HasDelay(kind)) throw CommandError(kExitUsage, "--delay is only for table Delayed");
        if (!ParseWholeNumber(*inv.delay)) throw CommandError(kExitUsage, "--delay must be whole seconds");
    }
    if (inv.priority) {
        if (!HasPriority(kind)) throw CommandError(kExitUsage, "--priority is only for tables Delayed and Processes");
        if (!EditorPriority(*inv.priority)) {
            throw CommandError(kExitUsage, "unknown priority \"" + *inv.priority +
                                               "\" (Realtime, High, Above Normal, Normal, Below Normal, Low, or \"\")");
        }
    }
    if (inv.path && inv.path->empty()) throw CommandError(kExitUsage, "--path must not be empty");
    if (inv.newName && inv.newName->empty()) throw CommandError(kExitUsage, "--name must not be empty");
}

// A command line from a path and arguments: the path quoted when it holds a space.
std::string WithArguments(const std::string& path, const std::string& arguments) {
    if (arguments.empty()) return path;
    const bool quote = path.find(' ') != std::string::npos && path.front() != '"';
    return (quote ? "\"" + path + "\"" : path) + " " + arguments;
}

void FillEditor(const Invocation& inv, TableKind kind, ItemEditorState& editor) {
    if (inv.newName) editor.name = *inv.newName;
    if (inv.path) editor.path = IsFolderTable(kind) ? *inv.path : WithArguments(*inv.path, inv.arguments.value_or(""));
    if (inv.delay) editor.delay = *inv.delay;
    if (inv.priority) editor.priority = *EditorPriority(*inv.priority);
}

}  // namespace

void CheckAdd(const Invocation& inv, ConsoleAnswers&) { CheckEditorFields(inv, TableArgument(inv.table)); }

int RunAdd(CommandContext& context) {
    const Invocation& inv = context.inv;
    const TableKind kind = TableArgument(inv.table);
    Table& table = context.table(kind);
    ItemEditorState editor = *OpenItemEditor(table, std::nullopt);
    FillEditor(inv, kind, editor);
    Outcome outcome = ConfirmItemEditor(context.state(), kind, editor);
    // The editor has no box for a shortcut's arguments; the new row is still disabled, so they
    // are plain data that the entry takes into its place when it is enabled.
    if (outcome.status == OutcomeStatus::Done && IsFolderTable(kind) && inv.arguments)
        table.SetText(table.Count(), col::Arguments, *inv.arguments);
    return context.Report(outcome);
}

void CheckEdit(const Invocation& inv, ConsoleAnswers&) {
    const TableKind kind = TableArgument(inv.table);
    CheckRowArgument(inv);
    if (kind == TableKind::Known || kind == TableKind::Process) {
        throw CommandError(kExitUsage, "edit is not offered for table " + std::string(TabCaption(kind)));
    }
    CheckEditorFields(inv, kind);
    if (!inv.newName && !inv.path && !inv.delay && !inv.priority) {
        throw CommandError(kExitUsage, "nothing to change: give --name, --path, --delay or --priority");
    }
}

int RunEdit(CommandContext& context) {
    const TableKind kind = TableArgument(context.inv.table);
    const int position = context.FindNamedRow(kind);
    ItemEditorState editor = *OpenItemEditor(context.table(kind), position);
    FillEditor(context.inv, kind, editor);
    return context.Report(ConfirmItemEditor(context.state(), kind, editor));
}

}  // namespace kestrune::cli
