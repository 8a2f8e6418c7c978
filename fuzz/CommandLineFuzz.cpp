// Any bytes as a Run value's command line: splitting never yields more than it was given, the
// arguments are the end of the line, quotes only ever come off the path's ends, and the file
// that an entry resolves to exists or is the expanded program path.
//
// The input is the command line, then, after each zero byte, either "NAME=value" (an
// environment variable) or the path of a file that exists.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "app/CommandLine.h"
#include "app/Text.h"
#include "platform/FileSystem.h"
#include "platform/System.h"

namespace {

using namespace kestrune;
using fuzz::Require;

class ListedFiles final : public platform::FileSystem {
public:
    std::set<std::string> files;
    bool FileExists(const std::string& path) override { return files.count(path) > 0; }
    bool DirectoryExists(const std::string&) override { return false; }
    std::vector<std::string> ListFiles(const std::string&) override { return {}; }
    std::optional<std::string> ReadFile(const std::string&) override { return std::nullopt; }
    bool ReadInChunks(const std::string&, const std::function<void(std::string_view)>&) override { return false; }
    std::optional<platform::FileStamp> Stamp(const std::string&) override { return std::nullopt; }
    bool WriteFileAtomic(const std::string&, const std::string&) override { return false; }
    bool AppendToFile(const std::string&, const std::string&) override { return false; }
    bool RemoveFile(const std::string&) override { return false; }
    bool RenameFile(const std::string&, const std::string&) override { return false; }
    bool CreateDirectories(const std::string&) override { return false; }
};

class WindowsFolders final : public platform::System {
public:
    std::string AppFolder() override { return "C:\\Kestrune\\"; }
    std::string ProgramName() override { return "kestrune"; }
    std::string ProgramExtension() override { return ".exe"; }
    std::vector<std::pair<std::string, std::string>> Environment() override { return {}; }
    std::string WindowsFolder() override { return "C:\\WINDOWS"; }
    std::string SystemFolder() override { return "C:\\WINDOWS\\system32"; }
    char PathSeparator() override { return '\\'; }
    std::string ErrorText(int code) override { return "Error " + std::to_string(code); }
};

std::string StripQuotes(std::string text) {
    while (!text.empty() && text.front() == '"') text.erase(0, 1);
    while (!text.empty() && text.back() == '"') text.pop_back();
    return text;
}

void CheckSplit(std::string_view line) {
    const SplitResult kept = SplitCommandLine(line, true);
    const SplitResult split = SplitCommandLine(line, false);
    Require(kept.path.size() + kept.arguments.size() <= line.size(), "a split never yields more than its input");
    Require(line.ends_with(kept.arguments), "the arguments are the end of the command line");
    Require(line.find(kept.path) != std::string_view::npos, "the path as written is part of the command line");
    Require(kept.arguments.empty() || !kept.path.empty() || line.front() == ' ', "arguments come with a path");
    Require(split.arguments == kept.arguments, "keeping the quotes changes only the path");
    Require(split.path == StripQuotes(kept.path), "only the quotes at the path's ends come off");
}

void CheckNames(std::string_view path) {
    const std::string name = FileNameOf(path);
    Require(path.ends_with(name) && name.find_first_of("\\/") == std::string::npos, "a file name is the path's end");
    const std::string extension = ExtensionOf(name);
    Require(name.ends_with(extension) && (extension.empty() || extension.front() == '.'), "an extension ends the name");
    const std::string folder = FolderOf(path);
    Require(path.starts_with(folder), "a folder begins the path");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> parts = Split(fuzz::AsText(data, size), std::string_view("\0", 1));
    const std::string& line = parts.front();
    CheckSplit(line);
    CheckNames(line);

    ListedFiles files;
    EnvironmentList environment;
    size_t longestValue = 0;
    for (size_t i = 1; i < parts.size(); ++i) {
        const size_t equals = parts[i].find('=');
        if (equals != std::string::npos && equals > 0) {
            environment.emplace_back(parts[i].substr(0, equals), parts[i].substr(equals + 1));
            longestValue = std::max(longestValue, parts[i].size() - equals - 1);
        } else {
            files.files.insert(parts[i]);
        }
    }
    const std::string expanded = ExpandEnvironment(line, environment);
    const size_t references = static_cast<size_t>(std::count(line.begin(), line.end(), '%')) / 2;
    Require(expanded.size() <= line.size() + references * longestValue, "each reference grows by at most its value");
    if (environment.empty()) Require(expanded == line, "nothing to expand leaves the text as it is");

    WindowsFolders system;
    const std::string file = ResolveItemFile(line, files, system, environment);
    if (files.FileExists(line)) Require(file == line, "a file of that exact text is the answer");
    const std::string fallback = ExpandEnvironment(SplitCommandLine(line, false).path, environment);
    Require(files.FileExists(file) || file == fallback, "the answer exists, or is the expanded program path");
    return 0;
}
