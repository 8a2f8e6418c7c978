#include "app/CommandLine.h"

#include <algorithm>

#include "app/Text.h"
#include "platform/FileSystem.h"
#include "platform/System.h"

namespace kestrune {

namespace {

#ifdef _WIN32
constexpr bool kSlashSeparates = false;
constexpr char kNativeSeparator = '\\';
#else
constexpr bool kSlashSeparates = true;
constexpr char kNativeSeparator = '/';
#endif

size_t LastSeparator(std::string_view path) {
    const size_t back = path.rfind('\\');
    if (!kSlashSeparates) return back;
    const size_t slash = path.rfind('/');
    if (back == std::string_view::npos) return slash;
    if (slash == std::string_view::npos) return back;
    return std::max(back, slash);
}

// A space is enclosed when the double quotes before it and those after it are both odd.
size_t FirstUnquotedSpace(std::string_view text) {
    const size_t totalQuotes = static_cast<size_t>(std::count(text.begin(), text.end(), '"'));
    size_t quotesBefore = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"') {
            ++quotesBefore;
        } else if (text[i] == ' ') {
            const size_t quotesAfter = totalQuotes - quotesBefore;
            if (!(quotesBefore % 2 == 1 && quotesAfter % 2 == 1)) return i;
        }
    }
    return std::string_view::npos;
}

std::string StripQuotes(std::string_view path) {
    size_t begin = 0, end = path.size();
    while (begin < end && path[begin] == '"') ++begin;
    while (end > begin && path[end - 1] == '"') --end;
    return std::string(path.substr(begin, end - begin));
}

}  // namespace

SplitResult SplitCommandLine(std::string_view commandLine, bool keepQuotes) {
    const bool hasBackslash = commandLine.find('\\') != std::string_view::npos;
    const size_t lastSep = commandLine.rfind(hasBackslash ? '\\' : '/');
    const std::string_view last = lastSep == std::string_view::npos ? commandLine : commandLine.substr(lastSep + 1);
    const size_t lastDot = last.rfind('.');
    const std::string_view tail = lastDot == std::string_view::npos ? last : last.substr(lastDot + 1);

    SplitResult result;
    const size_t space = tail.find(' ');
    if (space != std::string_view::npos) result.arguments = std::string(tail.substr(space + 1));

    if (!result.arguments.empty()) {
        result.path = Trim(commandLine.substr(0, commandLine.size() - result.arguments.size()));
    } else {
        result.path = std::string(commandLine);
        if (!hasBackslash) {
            const size_t split = FirstUnquotedSpace(commandLine);
            if (split != std::string_view::npos) {
                result.path = std::string(commandLine.substr(0, split));
                result.arguments = std::string(commandLine.substr(split + 1));
            }
        }
    }
    if (!keepQuotes) result.path = StripQuotes(result.path);
    return result;
}

std::string FileNameOf(std::string_view path) {
    const size_t sep = LastSeparator(path);
    return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

std::string ExtensionOf(std::string_view name) {
    const size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string{} : std::string(name.substr(dot));
}

std::string FolderOf(std::string_view path) {
    if (FileNameOf(path).find('.') == std::string::npos) return std::string(path);
    const size_t sep = LastSeparator(path);
    return sep == std::string_view::npos ? std::string{} : std::string(path.substr(0, sep + 1));
}

std::string AddBackslash(std::string_view folder) {
    std::string out(folder);
    if (!out.empty() && (out.back() == '\\' || (kSlashSeparates && out.back() == '/'))) return out;
    out.push_back(kNativeSeparator);
    return out;
}

std::string ExpandEnvironment(std::string_view text, const EnvironmentList& environment) {
    // One pass from left to right, so a value that itself holds "%NAME%" is never expanded again.
    std::string out;
    size_t at = 0;
    while (at < text.size()) {
        const size_t open = text.find('%', at);
        const size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
        if (close == std::string_view::npos) break;
        const std::string_view name = text.substr(open + 1, close - open - 1);
        const auto found = std::find_if(environment.begin(), environment.end(),
                                        [&](const auto& variable) { return EqualsIgnoreCase(variable.first, name); });
        out.append(text.substr(at, open - at));
        if (!name.empty() && found != environment.end()) {
            out += found->second;
            at = close + 1;
        } else {
            out.push_back('%');  // not a reference: the closing "%" may open the next one
            at = open + 1;
        }
    }
    out.append(text.substr(std::min(at, text.size())));
    return out;
}

std::string ResolveItemFile(std::string_view text, platform::FileSystem& files, platform::System& system,
                            const EnvironmentList& environment) {
    std::string current(text);
    if (files.FileExists(current)) return current;
    current = SplitCommandLine(current, false).path;
    if (files.FileExists(current)) return current;
    current = ExpandEnvironment(current, environment);
    if (files.FileExists(current)) return current;
    for (const std::string& folder : {system.WindowsFolder(), system.SystemFolder()}) {
        if (folder.empty()) continue;
        std::string candidate = AddBackslash(folder) + current;
        if (files.FileExists(candidate)) return candidate;
    }
    return current;
}

}  // namespace kestrune
