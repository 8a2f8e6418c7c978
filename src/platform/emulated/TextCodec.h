#pragma once
// Conversions between the program's UTF-8 text and the encodings Windows files carry:
// UTF-16LE (registry exports, shortcut string data) and the Western ANSI code page 1252
// (older exports and the ANSI parts of shortcut files). Malformed input never fails: each
// undecodable unit becomes U+FFFD, so a damaged file still yields text of bounded size.

#include <string>
#include <string_view>

namespace kestrune::platform {

std::string Utf16LeToUtf8(std::string_view bytes);
// Without terminator or byte-order mark.
std::string Utf8ToUtf16Le(std::string_view text);
std::string AnsiToUtf8(std::string_view bytes);
// Characters that code page 1252 lacks become "?".
std::string Utf8ToAnsi(std::string_view text);
bool IsValidUtf8(std::string_view text);
bool IsAscii(std::string_view text);

// Windows compares key and value names ignoring case; this folds ASCII and the common
// Latin, Greek and Cyrillic letters, which covers the names the program meets. It stands for
// the system's rule and so folds more than the program's own kestrune::EqualsIgnoreCase
// (ASCII and Latin-1), which the emulation must not borrow from a layer above it.
std::string FoldCase(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace kestrune::platform
