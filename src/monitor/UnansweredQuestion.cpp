#include "monitor/UnansweredQuestion.h"

#include "app/Services.h"
#include "app/Text.h"

namespace kestrune {

namespace {

// One entry per line: the table number, a tab, the identity. An identity holds tabs but no
// line break (it is a file name, a target and arguments, or a value's name and data).
constexpr char kFieldSeparator = '\t';
constexpr char kLineSeparator = '\n';

}  // namespace

bool KeepUnanswered(Services& services, const std::string& file, const std::vector<UnansweredEntry>& entries) {
    std::string text;
    for (const UnansweredEntry& entry : entries) {
        if (entry.identity.find(kLineSeparator) != std::string::npos) continue;
        text += std::to_string(Number(entry.kind)) + kFieldSeparator + entry.identity + kLineSeparator;
    }
    return services.platform.files().WriteFileAtomic(file, text);
}

std::vector<UnansweredEntry> ReadUnanswered(Services& services, const std::string& file) {
    std::vector<UnansweredEntry> entries;
    if (!services.FileExists(file)) return entries;
    const auto text = services.platform.files().ReadFile(file);
    if (!text) return entries;
    for (const std::string& line : Split(*text, std::string(1, kLineSeparator))) {
        const auto tab = line.find(kFieldSeparator);
        if (tab == std::string::npos) continue;
        const auto number = ParseWholeNumber(line.substr(0, tab));
        const auto kind = number ? TableFromNumber(static_cast<int>(*number)) : std::nullopt;
        if (!kind || !IsLocationTable(*kind)) continue;
        entries.push_back({*kind, line.substr(tab + 1)});
    }
    return entries;
}

void ForgetUnanswered(Services& services, const std::string& file) {
    if (services.FileExists(file)) services.platform.files().RemoveFile(file);
}

}  // namespace kestrune
