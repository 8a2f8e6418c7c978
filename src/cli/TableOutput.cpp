#include "cli/TableOutput.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "app/Text.h"

namespace kestrune::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kCsvLineEnd = "\r\n";
constexpr std::string_view kTickedMark = "[x]";
constexpr std::string_view kUntickedMark = "[ ]";
constexpr std::string_view kColumnGap = "  ";

// Display width in characters: UTF-8 continuation bytes take no room.
size_t Width(std::string_view text) {
    return static_cast<size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string PadRight(std::string text, size_t width) {
    const size_t have = Width(text);
    if (have < width) text.append(width - have, ' ');
    return text;
}

}  // namespace

std::optional<OutputFormat> ParseOutputFormat(std::string_view text) {
    if (EqualsIgnoreCase(text, "text")) return OutputFormat::Text;
    if (EqualsIgnoreCase(text, "json")) return OutputFormat::Json;
    if (EqualsIgnoreCase(text, "csv")) return OutputFormat::Csv;
    return std::nullopt;
}

std::string TablesToJson(const std::vector<const Table*>& tables) {
    Json list = Json::array();
    for (const Table* table : tables) {
        Json rows = Json::array();
        for (int position = 1; position <= table->Count(); ++position) {
            Json values = Json::object();
            for (int column = 0; column < table->ColumnCount(); ++column) {
                values[table->Headers()[static_cast<size_t>(column)]] = table->Text(position, column);
            }
            Json row{{"position", position},
                     {"ticked", table->Ticked(position)},
                     {"icon", table->Icon(position)},
                     {"values", std::move(values)}};
            if (IsLocationTable(table->Kind())) {
                const RowPlace& place = table->Place(position);
                row["key"] = std::string(PlaceKeyMark(place.key));
                row["disabledInWindows"] = place.disabledInWindows;
            }
            rows.push_back(std::move(row));
        }
        list.push_back(Json{{"number", Number(table->Kind())},
                            {"kind", std::string(KindName(table->Kind()))},
                            {"caption", std::string(TabCaption(table->Kind()))},
                            {"columns", table->Headers()},
                            {"rows", std::move(rows)}});
    }
    // Texts from the registry need not be valid UTF-8; a script gets U+FFFD rather than no output.
    return Json{{"tables", std::move(list)}}.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string CsvField(std::string_view text) {
    const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote) return std::string(text);
    return "\"" + ReplaceAll(std::string(text), "\"", "\"\"") + "\"";
}

std::string TablesToCsv(const std::vector<const Table*>& tables) {
    std::vector<std::string> columns;
    for (const Table* table : tables) {
        for (const std::string& header : table->Headers()) {
            if (std::find(columns.begin(), columns.end(), header) == columns.end()) columns.push_back(header);
        }
    }
    const bool places =
        std::any_of(tables.begin(), tables.end(), [](const Table* table) { return IsLocationTable(table->Kind()); });
    std::string out = "Table,Position,Ticked";
    for (const std::string& column : columns) out += "," + CsvField(column);
    if (places) out += ",Key,Windows";
    out += kCsvLineEnd;
    for (const Table* table : tables) {
        const auto& headers = table->Headers();
        for (int position = 1; position <= table->Count(); ++position) {
            out += std::to_string(Number(table->Kind())) + "," + std::to_string(position) + "," +
                   (table->Ticked(position) ? "1" : "0");
            for (const std::string& column : columns) {
                const auto found = std::find(headers.begin(), headers.end(), column);
                out += ",";
                if (found != headers.end()) {
                    out += CsvField(table->Text(position, static_cast<int>(found - headers.begin())));
                }
            }
            if (places) {
                const RowPlace& place = table->Place(position);
                out += "," + CsvField(PlaceKeyMark(place.key)) + "," +
                       (place.disabledInWindows ? std::string(kMarkDisabledInWindows) : std::string());
            }
            out += kCsvLineEnd;
        }
    }
    return out;
}

std::string TablesToText(const std::vector<const Table*>& tables) {
    std::string out;
    for (const Table* table : tables) {
        if (!out.empty()) out += "\n";
        out += std::to_string(Number(table->Kind())) + " " + std::string(TabCaption(table->Kind())) + " (" +
               std::string(KindName(table->Kind())) + "): " + std::to_string(table->Count()) + " item(s), " +
               std::to_string(table->CountTicked()) + " ticked\n";
        if (table->Empty()) continue;

        // Column 0 is the position, column 1 the tick mark, then the table's own columns.
        std::vector<std::vector<std::string>> lines;
        std::vector<std::string> heading = {"#", ""};
        heading.insert(heading.end(), table->Headers().begin(), table->Headers().end());
        lines.push_back(heading);
        for (int position = 1; position <= table->Count(); ++position) {
            std::vector<std::string> line = {std::to_string(position),
                                             std::string(table->Ticked(position) ? kTickedMark : kUntickedMark)};
            for (int column = 0; column < table->ColumnCount(); ++column) line.push_back(table->Text(position, column));
            if (const std::string marks = RowMarks(table->Place(position)); !marks.empty())
                line[2] += " [" + marks + "]";
            lines.push_back(std::move(line));
        }
        std::vector<size_t> widths(heading.size(), 0);
        for (const auto& line : lines) {
            for (size_t i = 0; i < line.size(); ++i) widths[i] = std::max(widths[i], Width(line[i]));
        }
        for (const auto& line : lines) {
            std::string text;
            for (size_t i = 0; i < line.size(); ++i) {
                if (i > 0) text += kColumnGap;
                text += i + 1 == line.size() ? line[i] : PadRight(line[i], widths[i]);
            }
            while (!text.empty() && text.back() == ' ') text.pop_back();
            out += text + "\n";
        }
    }
    return out;
}

std::string FormatTables(OutputFormat format, const std::vector<const Table*>& tables) {
    switch (format) {
        case OutputFormat::Json: return TablesToJson(tables);
        case OutputFormat::Csv: return TablesToCsv(tables);
        case OutputFormat::Text: break;
    }
    return TablesToText(tables);
}

}  // namespace kestrune::cli
