#include "cli/TableSelection.h"

#include <vector>

#include "app/Text.h"
#include "cli/Suggestion.h"

namespace kestrune::cli {

std::optional<TableKind> ResolveTable(std::string_view text) {
    const std::string trimmed = Trim(text);
    if (trimmed.size() == 1 && trimmed[0] >= '1' && trimmed[0] <= '9') return TableFromNumber(trimmed[0] - '0');
    for (TableKind kind : kAllTables) {
        if (EqualsIgnoreCase(trimmed, KindName(kind)) || EqualsIgnoreCase(trimmed, TabCaption(kind))) return kind;
    }
    return std::nullopt;
}

std::optional<int> FindRowByName(const Table& table, std::string_view name) {
    for (int position = 1; position <= table.Count(); ++position) {
        if (EqualsIgnoreCase(table.Name(position), name)) return position;
    }
    return std::nullopt;
}

std::optional<int> FindRow(const Table& table, const RowChoice& choice) {
    if (choice.position) {
        if (*choice.position < 1 || *choice.position > table.Count()) return std::nullopt;
        return choice.position;
    }
    return FindRowByName(table, choice.name);
}

std::string MissingRowText(const Table& table, const RowChoice& choice) {
    const std::string where = " in table " + std::string(TabCaption(table.Kind()));
    if (choice.position) {
        return "no row " + std::to_string(*choice.position) + where + " (" + std::to_string(table.Count()) + " row(s))";
    }
    return "no row named \"" + choice.name + "\"" + where;
}

std::string UnknownTableText(std::string_view text) {
    std::vector<std::string> names;
    for (TableKind kind : kAllTables) names.emplace_back(TabCaption(kind));
    for (TableKind kind : kAllTables) names.emplace_back(KindName(kind));
    return "unknown table \"" + std::string(text) + "\"" + DidYouMean(text, names) +
           " (use 1-9, a name such as HKCU_Run, or a tab caption such as \"HKCU Run\")";
}

}  // namespace kestrune::cli
