// The commands on tables and their rows: list, enable, disable, toggle, delete, move, record,
// dedupe and delete-unticked.

#include <ostream>

#include "app/Text.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/TableOutput.h"
#include "locations/Publishers.h"
#include "locations/TableOperations.h"

namespace kestrune::cli {

namespace {

constexpr int kFirstMoveTarget = 1;
constexpr int kLastMoveTarget = 6;  // the "Move to" entries reach the tables 1 to 6

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// What the table menu offers for a table (the desktop hides the rest).
std::string NotOffered(std::string_view command, TableKind kind) {
    return std::string(command) + " is not offered for table " + std::string(TabCaption(kind));
}

int SetTick(CommandContext& context, std::optional<bool> wanted) {
    const TableKind kind = TableArgument(context.inv.table);
    const int position = context.FindNamedRow(kind);
    return context.Report(SetTicks(context.state(), kind, {position}, wanted));
}

}  // namespace

void CheckList(const Invocation& inv, ConsoleAnswers&) {
    for (const std::string& text : inv.tables) TableArgument(text);
    if (!ParseOutputFormat(inv.format)) throw CommandError(kExitUsage, "unknown format " + Quoted(inv.format));
}

int RunList(CommandContext& context) {
    std::vector<const Table*> tables;
    if (context.inv.tables.empty()) {
        for (TableKind kind : kAllTables) tables.push_back(&context.table(kind));
    } else {
        for (const std::string& text : context.inv.tables) tables.push_back(&context.table(TableArgument(text)));
    }
    // Only the listed rows' program files are opened for their publishers.
    std::vector<TableKind> kinds;
    for (const Table* table : tables) kinds.push_back(table->Kind());
    ApplyRowPublishers(context.state(), context.app.publishers(), kinds);
    context.out << FormatTables(*ParseOutputFormat(context.inv.format), tables) << std::flush;
    return kExitDone;
}

void CheckRowCommand(const Invocation& inv, ConsoleAnswers&) {
    const TableKind kind = TableArgument(inv.table);
    CheckRowArgument(inv);
    if (inv.command == "delete" && kind == TableKind::Process)
        throw CommandError(kExitUsage, NotOffered("delete", kind));
}

int RunEnable(CommandContext& context) { return SetTick(context, true); }
int RunDisable(CommandContext& context) { return SetTick(context, false); }
int RunToggle(CommandContext& context) { return SetTick(context, std::nullopt); }

int RunDelete(CommandContext& context) {
    const TableKind kind = TableArgument(context.inv.table);
    const int position = context.FindNamedRow(kind);
    return context.Report(DeleteRows(context.state(), context.fe, kind, {position}));
}

void CheckMove(const Invocation& inv, ConsoleAnswers& answers) {
    CheckRowCommand(inv, answers);
    const TableKind source = TableArgument(inv.table);
    if (source == TableKind::Known || source == TableKind::Process)
        throw CommandError(kExitUsage, NotOffered("move", source));
    if (inv.target.empty()) {
        if (source != TableKind::Deleted)
            throw CommandError(kExitUsage, "give --to TABLE (only a Deleted row knows where it goes back to)");
        return;
    }
    const TableKind target = TableArgument(inv.target);
    if (Number(target) < kFirstMoveTarget || Number(target) > kLastMoveTarget || target == source) {
        throw CommandError(kExitUsage, "a row of table " + std::string(TabCaption(source)) + " cannot move to table " +
                                           std::string(TabCaption(target)) + " (use a table from 1 to 6 but its own)");
    }
}

int RunMove(CommandContext& context) {
    const TableKind source = TableArgument(context.inv.table);
    const int position = context.FindNamedRow(source);
    if (context.inv.target.empty()) return context.Report(MoveRowsBack(context.state(), {position}));
    const TableKind target = TableArgument(context.inv.target);
    return context.Report(MoveRows(context.state(), source, {position}, target));
}

void CheckRecord(const Invocation& inv, ConsoleAnswers& answers) {
    CheckRowCommand(inv, answers);
    const TableKind kind = TableArgument(inv.table);
    if (kind == TableKind::Known || kind == TableKind::Process)
        throw CommandError(kExitUsage, NotOffered("record", kind));
}

int RunRecord(CommandContext& context) {
    const TableKind kind = TableArgument(context.inv.table);
    const int position = context.FindNamedRow(kind);
    return context.Report(RecordRows(context.state(), kind, {position}));
}

void CheckDedupe(const Invocation& inv, ConsoleAnswers&) {
    if (inv.all == !inv.table.empty()) throw CommandError(kExitUsage, "name a TABLE or give --all, not both");
    if (!inv.all) TableArgument(inv.table);
}

int RunDedupe(CommandContext& context) {
    std::optional<TableKind> kind;
    if (!context.inv.all) kind = TableArgument(context.inv.table);
    return context.Report(DeleteDuplicateRows(context.state(), kind));
}

void CheckDeleteUnticked(const Invocation& inv, ConsoleAnswers&) {
    const TableKind kind = TableArgument(inv.table);
    if (kind == TableKind::Process) throw CommandError(kExitUsage, NotOffered("delete-unticked", kind));
}

int RunDeleteUnticked(CommandContext& context) {
    return context.Report(DeleteUntickedRows(context.state(), TableArgument(context.inv.table)));
}

}  // namespace kestrune::cli
