#include "cli/TableOutput.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <utility>

#include "app/Text.h"
#include "cli/ImpactJson.h"
#include "locations/Publishers.h"

namespace kestrune::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kCsvLineEnd = "\r\n";
constexpr std::string_view kTickedMark = "[x]";
constexpr std::string_view kUntickedMark = "[ ]";
constexpr std::string_view kColumnGap = "  ";
// The field that location rows carry beside their own columns (JSON "publisher", CSV column).
constexpr std::string_view kPublisherField = "publisher";

bool HasImpact(const Table& table) { return table.ImpactColumn() >= 0; }

std::string ImpactCsv(const std::optional<Impact>& impact) {
    std::string out = "," + std::string(BandText(BandOf(impact)));
    if (!impact) return out + ",,,,";
    return out + "," + std::to_string(impact->cpuMs) + "," + std::to_string(impact->bytesRead) + "," +
           std::to_string(impact->bytesWritten) + "," + std::to_string(impact->followedSeconds);
}

bool HasPublisher(const Table& table) { return table.PublisherColumn() >= 0; }
std::string PublisherOf(const Table& table, int position) { return table.Publisher(position).value_or(""); }

// The columns a code point takes on a terminal: two for the wide and full-width letters of
// East Asian scripts, none for combining marks, one for the rest.
size_t ColumnsOf(char32_t c) {
    if ((c >= 0x0300 && c <= 0x036F) || (c >= 0x200B && c <= 0x200F)) return 0;
    static constexpr std::pair<char32_t, char32_t> kWide[] = {
        {0x1100, 0x115F}, {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},
        {0xA000, 0xA4CF}, {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE30, 0xFE4F},   {0xFF00, 0xFF60},
        {0xFFE0, 0xFFE6}, {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
    };
    for (const auto& [first, last] : kWide) {
        if (c >= first && c <= last) return 2;
    }
    return 1;
}

// Display width in terminal columns. Bytes that are no UTF-8 take one column each, as the
// replacement character they are shown as.
size_t Width(std::string_view text) {
    size_t width = 0;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80           ? 1
                              : (lead >> 5) == 0x6  ? 2
                              : (lead >> 4) == 0xE  ? 3
                              : (lead >> 3) == 0x1E ? 4
                                                    : 0;
        bool valid = length > 0 && i + length <= text.size();
        char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        for (size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        if (!valid) {
            ++width;
            ++i;
            continue;
        }
        width += ColumnsOf(c);
        i += length;
    }
    return width;
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
            Json row{{"position", position}, {"ticked", table->Ticked(position)}, {"icon", table->Icon(position)}};
            if (HasPublisher(*table)) row[std::string(kPublisherField)] = PublisherOf(*table, position);
            if (IsLocationTable(table->Kind())) {
                const RowPlace& place = table->Place(position);
                row["key"] = std::string(PlaceKeyMark(place.key));
                row["disabledInWindows"] = place.disabledInWindows;
            }
            row["values"] = std::move(values);
            if (HasImpact(*table)) row["impact"] = ImpactJson(table->Details(position).impact);
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
    // The publisher and the place's marks come after every table's own columns, so the
    // columns before them stay put.
    const bool publishers = std::any_of(tables.begin(), tables.end(), [](const Table* t) { return HasPublisher(*t); });
    const bool places =
        std::any_of(tables.begin(), tables.end(), [](const Table* table) { return IsLocationTable(table->Kind()); });
    std::string out = "Table,Position,Ticked";
    for (const std::string& column : columns) out += "," + CsvField(column);
    if (publishers) out += "," + std::string(kPublisherHeader);
    if (places) out += ",Key,Windows";
    const bool impacts = std::any_of(tables.begin(), tables.end(), [](const Table* t) { return HasImpact(*t); });
    if (impacts) out += ",Impact,CPU ms,Bytes read,Bytes written,Measured seconds";
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
            if (publishers) out += "," + (HasPublisher(*table) ? CsvField(PublisherOf(*table, position)) : "");
            if (places) {
                const RowPlace& place = table->Place(position);
                out += "," + CsvField(PlaceKeyMark(place.key)) + "," +
                       (place.disabledInWindows ? std::string(kMarkDisabledInWindows) : std::string());
            }
            if (impacts) out += HasImpact(*table) ? ImpactCsv(table->Details(position).impact) : ",,,,,";
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
