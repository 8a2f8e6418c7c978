#pragma once
// Reads the program's log the way a person checking it would: line by line, each line's time
// stamp apart from what it says. Tests, benchmarks and scenarios share it so that a change to
// the log's layout is made here once.

#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune::test {

struct LogLine {
    std::string stamp;  // "dd/mm/yyyy hh:nn:ss"
    std::string text;
};

// The lines of the log at `path`, in order; none when there is no log. A line too short to
// carry a stamp is kept whole as its text.
inline std::vector<LogLine> ReadLog(const std::string& path) {
    constexpr size_t kStamp = 19;  // the stamp, then one space
    std::ifstream in(path, std::ios::binary);
    std::vector<LogLine> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const bool stamped = line.size() > kStamp && line[kStamp] == ' ';
        lines.push_back(stamped ? LogLine{line.substr(0, kStamp), line.substr(kStamp + 1)} : LogLine{{}, line});
    }
    return lines;
}

// What the lines say, without their stamps, from line `from` on (a fixture that began the
// log skips its own line).
inline std::vector<std::string> LogTexts(const std::string& path, size_t from = 0) {
    std::vector<std::string> texts;
    auto lines = ReadLog(path);
    for (size_t i = from; i < lines.size(); ++i) texts.push_back(std::move(lines[i].text));
    return texts;
}

// How many lines say something containing `part`.
inline int LogLinesWith(const std::string& path, std::string_view part) {
    int count = 0;
    for (const auto& line : ReadLog(path))
        if (line.text.find(part) != std::string::npos) ++count;
    return count;
}

}  // namespace kestrune::test
