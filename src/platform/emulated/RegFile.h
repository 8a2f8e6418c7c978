#pragma once
// The registry's text export format, as Windows' registry editor reads and writes it:
// "Windows Registry Editor Version 5.00" (UTF-16LE with a byte-order mark, or UTF-8) and the
// older "REGEDIT4" (ANSI), with key deletions ("[-KEY]") and value deletions ("NAME"=-).
// The emulated machine keeps each root key in such a file; the machine tool imports and
// exports them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace kestrune::platform {

struct RegFileValue {
    RegistryValue value;
    bool remove = false;  // "NAME"=-
};

struct RegFileKey {
    std::string path;     // as written, root name first: "HKEY_CURRENT_USER\Software\..."
    bool remove = false;  // [-PATH]: the key and all its subkeys
    std::vector<RegFileValue> values;
};

struct RegFile {
    std::vector<RegFileKey> keys;
};

struct RegFileParse {
    std::optional<RegFile> file;  // nullopt when the text is not a valid registry file
    int errorLine = 0;            // 1-based line of the first fault
    std::string error;            // what is wrong there, one line of text

    // "line N: what", or "" when the file parsed.
    std::string Describe() const;
};

// Reads a whole file as stored on disk (any of the encodings above). Refuses the whole file
// at its first fault rather than guessing, so a damaged file is never taken for less than it held.
RegFileParse ParseRegFile(std::string_view bytes);

// Writes "Windows Registry Editor Version 5.00" text in UTF-8 with CR LF line ends. Strings
// that a quoted line cannot carry (line breaks, NULs) are written as hex(1) so they survive.
std::string FormatRegFile(const RegFile& file);

}  // namespace kestrune::platform
