#pragma once
// Path and command-line helpers: cutting a command line into program and arguments, and
// finding the file that an entry's text names.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrune {

namespace platform {
class FileSystem;
class System;
}  // namespace platform

struct SplitResult {
    std::string path;
    std::string arguments;
};

// Looks for the arguments after the file extension of the last path component; without any
// backslash, the first space outside double quotes splits instead. Leading and trailing
// double quotes are taken off the path unless `keepQuotes`.
SplitResult SplitCommandLine(std::string_view commandLine, bool keepQuotes);

// The text after the last separator ("\" and, where it is the system's separator, "/").
std::string FileNameOf(std::string_view path);
// "." and the text after the last "."; "" when the name has no ".".
std::string ExtensionOf(std::string_view name);
// The path without its last component when that component has a "."; else the path itself.
std::string FolderOf(std::string_view path);
// Appends the system's separator unless the text already ends with one.
std::string AddBackslash(std::string_view folder);

using EnvironmentList = std::vector<std::pair<std::string, std::string>>;

// Replaces every %NAME% whose NAME is a variable (ignoring case) by its value.
std::string ExpandEnvironment(std::string_view text, const EnvironmentList& environment);

// The file an entry's text names: the text itself, its program path, the path with its
// %NAME% references expanded, or that under the Windows or System folder; when none exists,
// the expanded text.
std::string ResolveItemFile(std::string_view text, platform::FileSystem& files, platform::System& system,
                            const EnvironmentList& environment);

}  // namespace kestrune
