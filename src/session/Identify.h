#pragma once
// Looking up the program behind a row on a web search page, and copying its file name or path:
// the search engines, the text a row gives, and the address made from an engine's template.

#include <array>
#include <string>
#include <string_view>

#include "app/Outcome.h"
#include "app/TableKind.h"

namespace kestrune {

class Table;
namespace platform {
class Platform;
}

struct SearchEngine {
    std::string_view displayName;
    std::string_view addressTemplate;  // "<?>" stands for the text; without it the text is appended
};

// In menu order; the first one also serves the double click and the "/" key.
inline constexpr std::array<SearchEngine, 7> kSearchEngines = {{
    {"Process Library", "http://www.processlibrary.com/directory/?files="},
    {"Sys Info", "http://www.sysinfo.org/startuplist.php?filter="},
    {"Reger 24", "http://www.reger24.de/prozesse/<?>.php"},
    {"2 Spyware", "http://www.2-spyware.com/file-<?>.html"},
    {"File Research Centre", "http://www.fileresearchcenter.com/search.html?searchitem=<?>&search=Search..."},
    {"Google", "http://www.google.com/search?q="},
    {"Yahoo", "http://search.yahoo.com/search?p="},
}};

inline constexpr std::string_view kSearchCaptionPrefix = "Search ";
inline constexpr std::string_view kCopiedStatus = "Item details copied to clipboard.";
inline constexpr std::string_view kCannotIdentifyMessage = "Could not extract executable file name to identify.";

// "Process Library\thttp://...": the search list as it is built at start-up.
std::string SearchListEntry(const SearchEngine& engine);
// "Search Process Library".
std::string SearchCaption(const SearchEngine& engine);

// The text a row gives: its path, with or without the arguments, cut to the file name unless
// `keepPath`.
std::string IdentifyText(const Table& table, int position, bool keepPath, bool withArguments);
// The address for a text: every "<?>" replaced, or the text appended when there is none.
std::string SearchAddress(std::string_view addressTemplate, std::string_view text);

struct Identification {
    Outcome outcome;      // refused, with the message, when the row gives no text to look up
    std::string address;  // the engine's page about the row's program
};
// "Identify" on row `position` of `table`: the address to open for it.
Identification IdentifyItem(const Table& table, int position, std::string_view addressTemplate);

struct ItemCopy {
    Outcome outcome;
    std::string text;  // what goes to the clipboard
};
// "Copy to clipboard": the row's text, and the status line that says it was copied.
ItemCopy CopyItemDetails(const Table& table, int position, bool keepPath, bool withArguments);

// "Open container folder": the folder of the row's program, opened with the desktop's file
// manager; nothing to do when the row names no folder that exists.
Outcome OpenContainerFolder(platform::Platform& platform, const Table& table, int position);

}  // namespace kestrune
