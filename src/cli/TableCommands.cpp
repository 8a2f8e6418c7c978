// The commands on tables and their rows: list, enable, disable, toggle, delete, move, record,
// dedupe and delete-unticked.

#include <ostream>

#include "app/Text.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/TableOutput.h"

namespace kestrune::cli {

namespace {

constexpr const char* kAlreadyEnabled = "already enabled";
constexpr const char* kAlreadyDisabled = "already disabled";
constexpr int kFirstMoveTarget = 1;
constexpr int kLastMoveTarget = 6;  // the "Move to" entries reach the tables 1 to 6

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// What the table menu offers for a table (the desktop hides the rest).
std::string NotOffered(std::string_view command, TableKind kind) {
    return std::string(command) + " is not offered for table " + std::string(TabCaption(kind));
}

// The command's outcome when it set a status line: printed, as the desktop shows it below the list.
int Finish(CommandContext& context, size_t statusesBefore, int status = kExitDone) {
    const auto& statuses = context.fe.Statuses();
    if (statuses.size() > statusesBefore) context.out << statuses.back() << std::endl;
    return status;
}

// A refusal shows an exclamation box; the command then counts as refused.
size_t Refusals(const ConsoleFrontEnd& fe) {
    size_t count = 0;
    for (const auto& message : fe.Messages()) count += message.icon == MessageIcon::Exclamation;
    return count;
}

int SetTick(CommandContext& context, std::optional<bool> wanted) {
    const TableKind kind = TableArgument(context.inv.table);
    const int position = context.SelectRow(kind);
    Table& table = context.table(kind);
    const bool ticked = wanted.value_or(!table.Ticked(position));
    if (table.Ticked(position) == ticked) {
        context.out << Quoted(table.Name(position)) << " " << (ticked ? kAlreadyEnabled : kAlreadyDisabled)
                    << std::endl;
        return kExitDone;
    }
    context.app.OnRowTickChanged(kind, position, ticked);
    // The program puts the tick back when it refuses (and says why in its message).
    return position <= table.Count() && table.Ticked(position) == ticked ? kExitDone : kExitRefused;
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
    context.out << FormatTables(*ParseOutputFormat(context.inv.format), tables) << std::flush;
    return kExitDone;
}

void CheckRowCommand(const Invocation& inv, ConsoleAnswers&) {
    const TableKind kind = TableArgument(inv.table);
    CheckRowArgument(inv);
    if (inv.command == "delete" && kind == TableKind::Process) throw CommandError(kExitUsage, NotOffered("delete", kind));
}

int RunEnable(CommandContext& context) { return SetTick(context, true); }
int RunDisable(CommandContext& context) { return SetTick(context, false); }
int RunToggle(CommandContext& context) { return SetTick(context, std::nullopt); }

int RunDelete(CommandContext& context) {
    const TableKind kind = TableArgument(context.inv.table);
    context.SelectRow(kind);
    const size_t statuses = context.fe.Statuses().size();
    const int before = context.table(kind).Count();
    context.app.DeleteSelected();
    // Declining the permanent deletion from Deleted leaves the row: not done.
    return Finish(context, statuses, context.table(kind).Count() < before ? kExitDone : kExitRefused);
}

void CheckMove(const Invocation& inv, ConsoleAnswers& answers) {
    CheckRowCommand(inv, answers);
    const TableKind source = TableArgument(inv.table);
    const TableKind target = TableArgument(inv.target);
    if (source == TableKind::Known || source == TableKind::Process) throw CommandError(kExitUsage, NotOffered("move", source));
    if (Number(target) < kFirstMoveTarget || Number(target) > kLastMoveTarget || target == source) {
        throw CommandError(kExitUsage, "a row of table " + std::string(TabCaption(source)) + " cannot move to table " +
                                           std::string(TabCaption(target)) + " (use a table from 1 to 6 but its own)");
    }
}

int RunMove(CommandContext& context) {
    const TableKind source = TableArgument(context.inv.table);
    const TableKind target = TableArgument(context.inv.target);
    context.SelectRow(source);
    const size_t statuses = context.fe.Statuses().size();
    const int before = context.table(source).Count();
    context.app.MoveSelectedTo(target);
    return Finish(context, statuses, context.table(source).Count() < before ? kExitDone : kExitRefused);
}

void CheckRecord(const Invocation& inv, ConsoleAnswers& answers) {
    CheckRowCommand(inv, answers);
    const TableKind kind = TableArgument(inv.table);
    if (kind == TableKind::Known || kind == TableKind::Process) throw CommandError(kExitUsage, NotOffered("record", kind));
}

int RunRecord(CommandContext& context) {
    context.SelectRow(TableArgument(context.inv.table));
    const size_t statuses = context.fe.Statuses().size();
    context.app.RecordSetting();
    return Finish(context, statuses);
}

void CheckDedupe(const Invocation& inv, ConsoleAnswers&) {
    if (inv.all == !inv.table.empty()) throw CommandError(kExitUsage, "name a TABLE or give --all, not both");
    if (!inv.all) TableArgument(inv.table);
}

int RunDedupe(CommandContext& context) {
    const size_t statuses = context.fe.Statuses().size();
    if (context.inv.all) {
        context.app.DeleteDuplicatesInAllTables();
    } else {
        context.SelectTable(TableArgument(context.inv.table));
        context.app.DeleteDuplicatesInCurrentTable();
    }
    return Finish(context, statuses);
}

void CheckDeleteUnticked(const Invocation& inv, ConsoleAnswers&) {
    const TableKind kind = TableArgument(inv.table);
    if (kind == TableKind::Process) throw CommandError(kExitUsage, NotOffered("delete-unticked", kind));
}

int RunDeleteUnticked(CommandContext& context) {
    context.SelectTable(TableArgument(context.inv.table));
    const size_t statuses = context.fe.Statuses().size();
    const size_t refusals = Refusals(context.fe);
    context.app.DeleteUntickedItems();
    return Finish(context, statuses, Refusals(context.fe) > refusals ? kExitRefused : kExitDone);
}

}  // namespace kestrune::cli
