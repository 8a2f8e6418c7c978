// `identify`: the web address that the Identify menu would open for a row, printed instead.

#include <ostream>

#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "session/Identify.h"

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
    const int position = context.FindNamedRow(kind);
    const auto& engine = kSearchEngines[static_cast<size_t>(context.inv.engine)];
    const Identification found = IdentifyItem(context.table(kind), position, engine.addressTemplate);
    if (!found.address.empty()) context.out << found.address << '\n';
    return context.Report(found.outcome);
}

}  // namespace kestrune::cli
