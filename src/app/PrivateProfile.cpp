#include "app/PrivateProfile.h"

#include <optional>
#include <vector>

#include "app/Text.h"
#include "platform/FileSystem.h"

namespace kestrune {

namespace {


std::vector<std::string> SplitLines(const std::string& content) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::string TrimBlanks(std::string_view text) {
    size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    return std::string(text.substr(begin, end - begin));
}

// The section name of a "[name]" line.
std::optional<std::string> SectionOf(const std::string& line) {
    const std::string trimmed = TrimBlanks(line);
    if (trimmed.size() < 2 || trimmed.front() != '[') return std::nullopt;
    const size_t close = trimmed.find(']');
    if (close == std::string::npos) return std::nullopt;
    return TrimBlanks(std::string_view(trimmed).substr(1, close - 1));
}

std::optional<std::pair<std::string, std::string>> KeyValueOf(const std::string& line) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos) return std::nullopt;
    std::string key = TrimBlanks(std::string_view(line).substr(0, eq));
    std::string value = TrimBlanks(std::string_view(line).substr(eq + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    return std::make_pair(std::move(key), std::move(value));
}

}  // namespace

std::string PrivateProfile::ReadValue(const std::string& section, const std::string& key, const std::string& file) {
    if (file.empty()) return {};
    const auto content = files_.ReadFile(file);
    if (!content) return {};
    bool inSection = false;
    for (const std::string& line : SplitLines(*content)) {
        if (const auto name = SectionOf(line)) {
            inSection = EqualsIgnoreCase(*name, section);
            continue;
        }
        if (!inSection) continue;
        if (const auto kv = KeyValueOf(line); kv && EqualsIgnoreCase(kv->first, key)) {
            std::string value = kv->second;
            if (value.size() > kIniValueLimit) value.resize(kIniValueLimit);
            return value;
        }
    }
    return {};
}

bool PrivateProfile::ValueExists(const std::string& section, const std::string& key, const std::string& file) {
    if (!section.empty()) rememberedSection_ = section;
    if (!file.empty()) rememberedFile_ = file;
    if (key.empty()) return false;
    return !ReadValue(rememberedSection_, key, rememberedFile_).empty();
}

namespace {

// Sets one key among the lines of a file: in place when the key is there, else after the last
// non-blank line of its section, else in a new section at the end.
void SetKey(std::vector<std::string>& lines, const std::string& section, const std::string& key,
            const std::string& value) {
    const std::string newLine = key + "=" + value;
    bool inSection = false;
    std::optional<size_t> sectionEnd;  // index after the last non-blank line of the section
    for (size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionOf(lines[i])) {
            if (inSection) break;
            inSection = EqualsIgnoreCase(*name, section);
            if (inSection) sectionEnd = i + 1;
            continue;
        }
        if (!inSection) continue;
        if (!TrimBlanks(lines[i]).empty()) sectionEnd = i + 1;
        if (const auto kv = KeyValueOf(lines[i]); kv && EqualsIgnoreCase(kv->first, key)) {
            lines[i] = newLine;
            return;
        }
    }
    if (sectionEnd) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*sectionEnd), newLine);
    } else {
        lines.push_back("[" + section + "]");
        lines.push_back(newLine);
    }
}

}  // namespace

bool PrivateProfile::WriteValue(const std::string& section, const std::string& key, const std::string& value,
                                const std::string& file) {
    return WriteValues({{section, key, value}}, file);
}

bool PrivateProfile::WriteValues(const std::vector<IniEntry>& entries, const std::string& file) {
    if (file.empty()) return false;
    std::vector<std::string> lines;
    const auto before = files_.ReadFile(file);
    if (before) lines = SplitLines(*before);
    bool any = false;
    for (const IniEntry& entry : entries) {
        if (entry.section.empty() || entry.key.empty()) continue;
        SetKey(lines, entry.section, entry.key, entry.value);
        any = true;
    }
    if (!any) return false;
    std::string out;
    for (const std::string& line : lines) out += line + "\r\n";
    // Options that did not change leave the file alone (and off the disk's queue).
    if (before && *before == out) return true;
    return files_.WriteFileAtomic(file, out);
}

}  // namespace kestrune
