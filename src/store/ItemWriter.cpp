#include "store/ItemWriter.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "app/Text.h"
#include "store/TreeDocument.h"

namespace kestrune {

namespace {

void Field(pugi::xml_node item, const char* name, std::string_view text) { SetText(item.append_child(name), text); }

const char* Flag(bool set) { return set ? "1" : "0"; }

// A plain decimal number: sign, digits, one point, an exponent. strtod alone would also take
// "0x1A", "inf" and "nan".
bool IsDecimalNumber(std::string_view text) {
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        size_t exponentDigits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    return i == text.size();
}

}  // namespace

std::string DelayText(std::string_view delayColumn) {
    const std::string trimmed = Trim(delayColumn);
    if (!IsDecimalNumber(trimmed)) return "0";
    const double value = std::strtod(trimmed.c_str(), nullptr);
    // A delay is a count of seconds in a 32-bit number wherever it is used.
    if (!std::isfinite(value) || std::fabs(value) > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return "0";
    return std::to_string(RoundHalfEven(value));
}

pugi::xml_node ItemWriter::Item(std::string_view tablePath, int n) {
    // Paths name elements ignoring case, so two spellings of one path must share one entry.
    std::string key = ToLower(tablePath);
    auto found = tables_.find(key);
    if (found == tables_.end())
        found = tables_.emplace(std::move(key), TableElement{CreateXMLPath(tablePath, root_), 0}).first;
    TableElement& table = found->second;
    const std::string itemName = "item_" + std::to_string(n);
    // Rows are written in ascending positions, so an item numbered above every item written so
    // far cannot be there yet: appending it directly spares a search through all the items
    // before it, which would make a save quadratic in the rows of a table.
    if (n > table.highestItem) {
        table.highestItem = n;
        return table.node.append_child(itemName.c_str());
    }
    return CreateXMLPath(itemName, table.node);
}

pugi::xml_node ItemWriter::WriteFolderItem(std::string_view tablePath, int n, std::string_view name,
                                           std::string_view path, std::string_view arg) {
    const pugi::xml_node item = Item(tablePath, n);
    Field(item, "name", name);
    Field(item, "path", path);
    Field(item, "arg", arg);
    return item;
}

pugi::xml_node ItemWriter::WriteNamePathItem(std::string_view tablePath, int n, std::string_view name,
                                             std::string_view path) {
    const pugi::xml_node item = Item(tablePath, n);
    Field(item, "name", name);
    Field(item, "path", path);
    return item;
}

pugi::xml_node ItemWriter::WriteDelayedItem(std::string_view tablePath, int n, std::string_view name,
                                            std::string_view path, std::string_view delay, std::string_view prev,
                                            bool active, std::string_view priority) {
    const pugi::xml_node item = Item(tablePath, n);
    Field(item, "name", name);
    Field(item, "path", path);
    Field(item, "delay", delay);
    Field(item, "prev", prev);
    Field(item, "active", Flag(active));
    Field(item, "priority", priority);
    return item;
}

pugi::xml_node ItemWriter::WriteKnownItem(std::string_view tablePath, int n, std::string_view path, bool enable) {
    const pugi::xml_node item = Item(tablePath, n);
    Field(item, "path", path);
    Field(item, "enable", Flag(enable));
    return item;
}

pugi::xml_node ItemWriter::WriteProcessItem(std::string_view tablePath, int n, std::string_view name,
                                            std::string_view path, std::string_view priority) {
    const pugi::xml_node item = Item(tablePath, n);
    Field(item, "name", name);
    Field(item, "path", path);
    Field(item, "priority", priority);
    return item;
}

}  // namespace kestrune
