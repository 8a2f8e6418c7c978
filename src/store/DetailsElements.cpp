#include "store/DetailsElements.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "app/Text.h"
#include "store/TreeDocument.h"

namespace kestrune {

namespace {

constexpr const char* kType = "type";
constexpr const char* kData = "data";
constexpr const char* kWorkingFolder = "dir";
constexpr const char* kIcon = "icon";
constexpr const char* kIconIndex = "iconindex";
constexpr const char* kShow = "show";
constexpr const char* kComment = "comment";
constexpr const char* kHotKey = "hotkey";
constexpr const char* kFrom = "from";
constexpr const char* kTick = "tick";
// A Startup folder file that is not a shortcut; its text is where the file waits, if it is out.
constexpr const char* kStartupFile = "startfile";
constexpr const char* kImpact = "impact";
constexpr const char* kImpactCpu = "cpu";
constexpr const char* kImpactRead = "read";
constexpr const char* kImpactWritten = "written";
constexpr const char* kImpactSeconds = "seconds";
// Far beyond any time a program is followed; what a hand-edited file may claim is held here.
constexpr std::int64_t kMaxFollowedSeconds = 86400;

// The elements of the columns a Deleted row had in its origin beyond name and path: the names
// its own table's items give them.
struct OriginColumn {
    int column;
    const char* element;
};

std::vector<OriginColumn> OriginColumns(TableKind kind) {
    if (IsFolderTable(kind)) return {{col::Arguments, "arg"}};
    if (kind == TableKind::Delayed)
        return {{col::Delay, "delay"}, {col::Previous, "prev"}, {col::DelayedPriority, "priority"}};
    if (kind == TableKind::Process) return {{col::ProcessPriority, "priority"}};
    return {};
}

void Field(pugi::xml_node item, const char* name, std::string_view text) { SetText(item.append_child(name), text); }

std::string Hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 0xF]);
    }
    return out;
}

std::optional<std::string> FromHex(std::string_view text) {
    if (text.size() % 2 != 0) return std::nullopt;
    std::string out;
    out.reserve(text.size() / 2);
    for (size_t i = 0; i < text.size(); i += 2) {
        unsigned value = 0;
        const auto [end, error] = std::from_chars(text.data() + i, text.data() + i + 2, value, 16);
        if (error != std::errc{} || end != text.data() + i + 2) return std::nullopt;
        out.push_back(static_cast<char>(value));
    }
    return out;
}

std::optional<std::int64_t> Number(pugi::xml_node element) {
    if (!element) return std::nullopt;
    return ParseWholeNumber(TextOf(element));
}

std::optional<TableKind> KindNamed(std::string_view name) {
    for (TableKind kind : kAllTables)
        if (EqualsIgnoreCase(KindName(kind), name)) return kind;
    return std::nullopt;
}

std::optional<StoredValue> ReadValue(pugi::xml_node item, std::string_view path) {
    const auto type = Number(item.child(kType));
    if (!type || *type < 0 || *type > 0xFFFFFFFFLL) return std::nullopt;
    StoredValue value{static_cast<platform::ValueType>(*type), std::string(path)};
    if (const pugi::xml_node data = item.child(kData)) {
        auto bytes = FromHex(TextOf(data));
        if (!bytes) return std::nullopt;
        value.data = std::move(*bytes);
    } else if (!IsTextValueType(value.type)) {
        return std::nullopt;  // bytes that are not text cannot be made up from the path
    }
    return value;
}

std::optional<platform::ShortcutInfo> ReadShortcut(pugi::xml_node item) {
    const auto show = Number(item.child(kShow));
    if (!show) return std::nullopt;
    platform::ShortcutInfo info;
    info.showCommand = static_cast<int>(*show);
    info.workingFolder = TextOf(item.child(kWorkingFolder));
    info.iconLocation = TextOf(item.child(kIcon));
    info.iconIndex = static_cast<int>(Number(item.child(kIconIndex)).value_or(0));
    info.description = TextOf(item.child(kComment));
    info.hotKey = static_cast<std::uint16_t>(Number(item.child(kHotKey)).value_or(0));
    return info;
}

std::optional<DeletedFrom> ReadOrigin(pugi::xml_node item, std::string_view name, std::string_view path) {
    const pugi::xml_node from = item.child(kFrom);
    if (!from) return std::nullopt;
    const auto kind = KindNamed(TextOf(from));
    if (!kind) return std::nullopt;
    DeletedFrom origin;
    origin.table = *kind;
    origin.ticked = TextOf(item.child(kTick)) == "1";
    origin.texts = Split(HeaderText(*kind), ",");
    for (std::string& text : origin.texts) text.clear();
    // Known, the one table without a Name column, never sends rows to Deleted.
    if (*kind == TableKind::Known) return std::nullopt;
    origin.texts[col::Name] = std::string(name);
    origin.texts[col::Path] = std::string(path);
    for (const OriginColumn& c : OriginColumns(*kind))
        origin.texts[static_cast<size_t>(c.column)] = TextOf(item.child(c.element));
    return origin;
}

}  // namespace

void WriteEntryDetails(pugi::xml_node item, const EntryDetails& details, std::string_view path) {
    if (details.origin) {
        const DeletedFrom& origin = *details.origin;
        Field(item, kFrom, KindName(origin.table));
        Field(item, kTick, origin.ticked ? "1" : "0");
        for (const OriginColumn& c : OriginColumns(origin.table)) {
            const auto at = static_cast<size_t>(c.column);
            Field(item, c.element, at < origin.texts.size() ? origin.texts[at] : std::string());
        }
    }
    if (details.value) {
        const StoredValue& value = *details.value;
        Field(item, kType, std::to_string(static_cast<std::uint32_t>(value.type)));
        // A text value's data is the row's path; bytes are written only when they say more.
        if (!IsTextValueType(value.type) || value.data != path) Field(item, kData, Hex(value.data));
    }
    if (details.file) Field(item, kStartupFile, details.file->keptAt);
    if (details.shortcut) {
        const platform::ShortcutInfo& link = *details.shortcut;
        Field(item, kWorkingFolder, link.workingFolder);
        Field(item, kIcon, link.iconLocation);
        Field(item, kIconIndex, std::to_string(link.iconIndex));
        Field(item, kShow, std::to_string(link.showCommand));
        Field(item, kComment, link.description);
        Field(item, kHotKey, std::to_string(link.hotKey));
    }
}

void WriteImpact(pugi::xml_node item, const std::optional<Impact>& impact) {
    if (!impact) return;
    pugi::xml_node element = item.append_child(kImpact);
    Field(element, kImpactCpu, std::to_string(impact->cpuMs));
    Field(element, kImpactRead, std::to_string(impact->bytesRead));
    Field(element, kImpactWritten, std::to_string(impact->bytesWritten));
    Field(element, kImpactSeconds, std::to_string(impact->followedSeconds));
}

std::optional<Impact> ReadImpact(pugi::xml_node item) {
    const pugi::xml_node element = item.child(kImpact);
    if (!element) return std::nullopt;
    const auto cpu = Number(element.child(kImpactCpu));
    const auto read = Number(element.child(kImpactRead));
    const auto written = Number(element.child(kImpactWritten));
    const auto seconds = Number(element.child(kImpactSeconds));
    if (!cpu || !read || !written || !seconds || *cpu < 0 || *read < 0 || *written < 0 || *seconds < 0)
        return std::nullopt;
    Impact impact;
    impact.cpuMs = *cpu;
    impact.bytesRead = static_cast<std::uint64_t>(*read);
    impact.bytesWritten = static_cast<std::uint64_t>(*written);
    impact.followedSeconds = static_cast<int>(std::min<std::int64_t>(*seconds, kMaxFollowedSeconds));
    return impact;
}

EntryDetails ReadEntryDetails(pugi::xml_node item, std::string_view name, std::string_view path) {
    EntryDetails details;
    details.origin = ReadOrigin(item, name, path);
    details.value = ReadValue(item, path);
    details.shortcut = ReadShortcut(item);
    if (const pugi::xml_node file = item.child(kStartupFile)) details.file = StartupFile{TextOf(file)};
    return details;
}

}  // namespace kestrune
