// Any bytes given to the .reg reader: it must never crash, and what it accepts must be
// written and read again to the same meaning (formatting twice gives the same text).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/emulated/RegFile.h"
#include "platform/emulated/RegistryHive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrune::platform;
    const RegFileParse parsed = ParseRegFile(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!parsed.file) {
        if (parsed.errorLine < 1 || parsed.error.empty()) std::abort();
        return 0;
    }
    const std::string text = FormatRegFile(*parsed.file);
    const RegFileParse reread = ParseRegFile(text);
    if (!reread.file || FormatRegFile(*reread.file) != text) std::abort();
    for (RootKey root : {RootKey::LocalMachine, RootKey::CurrentUser}) {
        RegistryHive hive(root);
        if (!hive.Apply(*parsed.file)) (void)FormatRegFile(hive.ToRegFile());
    }
    return 0;
}
