#pragma once
// Shortcut files in the Shell Link Binary File Format that Windows' shell reads and writes.
//
// Reading takes the target where Windows finds it: the target ID list (My Computer, a drive,
// then folder and file entries with their long names), else the link info's local base path
// (or network share) with its common path suffix, else the environment-variable block's
// target, else the relative path. A file that is not a shell link, or whose structure runs
// past its end, reads as nullopt; a link whose places name no file has an empty target.
// Every read is bounded by the bytes given.
//
// Writing produces what Windows itself writes for a file shortcut: Unicode string data, an
// ID list for drive paths ("C:\..."), a link info with the local base path (ANSI, plus Unicode
// when the path needs it), and an environment-variable block for targets holding "%NAME%".

#include <optional>
#include <string>
#include <string_view>

#include "platform/Shell.h"

namespace kestrune::platform {

// Files larger than this are not taken for shortcuts.
inline constexpr size_t kMaxShellLinkSize = size_t{1024} * 1024;

std::optional<ShortcutInfo> ReadShellLink(std::string_view bytes);
std::string WriteShellLink(const ShortcutInfo& info);

}  // namespace kestrune::platform
