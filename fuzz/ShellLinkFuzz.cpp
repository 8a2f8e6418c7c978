// Any bytes given to the shortcut reader: it must stay within them and never crash, and a
// shortcut it could read must survive being written again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/emulated/ShellLink.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrune::platform;
    const auto link = ReadShellLink(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!link) return 0;
    const auto again = ReadShellLink(WriteShellLink(*link));
    if (!again || again->arguments != link->arguments || again->workingFolder != link->workingFolder) std::abort();
    return 0;
}
