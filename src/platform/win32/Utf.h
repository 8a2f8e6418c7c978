#pragma once
// UTF-8 <-> UTF-16 at the Windows boundary. The rest of the program speaks UTF-8; the wide
// functions of the Windows API speak UTF-16, and only this backend converts between them.

#include <string>
#include <string_view>

namespace kestrune::platform::win32 {

// Invalid UTF-8 becomes U+FFFD rather than failing: a damaged name should still reach the API.
std::wstring Widen(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string Narrow(std::wstring_view utf16);

}  // namespace kestrune::platform::win32
