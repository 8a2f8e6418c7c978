// `identify`: the web address that the Identify menu would open for a row, printed instead.

#include <ostream>

#include "app/session/Identify.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"

namespace kestrune::cli {

void CheckIdentify(const Invocation& inv, ConsoleAnswers&) {
    TableArgument(inv.table);
    CheckRowArgument(inv);
    if (inv.engine < 0 || inv.engine >= static_cast<int>(kSearchEngines.size())) {
        throw CommandError(kExitUsage, "--engine must be 0 to " + std::to_string(kSearchEngines.size() - 1));
    }
}

int RunIdentify(CommandContext& context) {
    const TableKind kind = TableArgument(context.inv.table);
    const int position = context.SelectRow(kind);
    const std::string text = IdentifyText(context.table(kind), position, false, false);
    if (text.empty()) {
        context.fe.ShowMessage(std::string(kCannotIdentifyMessage), MessageIcon::Exclamation);
        return kExitRefused;
    }
    const auto& engine = kSearchEngines[static_cast<size_t>(context.inv.engine)];
    context.out << SearchAddress(engine.addressTemplate, text) << std::endl;
    return kExitDone;
}

}  // namespace kestrune::cli
