// Fills an emulated machine with N entries in each of the five start-up places, for the
// start-up time benchmark (bench/startup-time).
// Usage: startup-time-machine <app folder> <machine root> <entries per place>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Platform.h"

namespace {

using kestrune::platform::RootKey;

constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunOnce = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

bool FillKey(kestrune::platform::Registry& registry, RootKey root, const char* subkey, const std::string& prefix,
             int count) {
    if (!registry.CreateKey(root, subkey).Ok()) return false;
    for (int i = 1; i <= count; ++i) {
        const std::string n = std::to_string(i);
        kestrune::platform::RegistryValue value{
            prefix + " " + n, kestrune::platform::ValueType::String,
            "\"C:\\Program Files\\" + prefix + " " + n + "\\app" + n + ".exe\" /background"};
        if (!registry.SetValue(root, subkey, value).Ok()) return false;
    }
    return true;
}

bool FillFolder(kestrune::platform::Shell& shell, int csidl, const std::string& prefix, int count) {
    const std::string folder = shell.SpecialFolder(csidl);
    if (folder.empty()) return false;
    for (int i = 1; i <= count; ++i) {
        const std::string n = std::to_string(i);
        kestrune::platform::ShortcutInfo link;
        link.target = "C:\\Program Files\\" + prefix + " " + n + "\\tool" + n + ".exe";
        link.arguments = "-tray";
        if (!shell.WriteShortcut(folder + prefix + " " + n + ".lnk", link)) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <app folder> <machine root> <entries per place>\n", argv[0]);
        return 2;
    }
    const int count = std::atoi(argv[3]);
    auto platform = kestrune::platform::CreatePlatform({argv[1], argv[2]});
    auto& registry = platform->registry();
    auto& shell = platform->shell();
    const bool ok = FillKey(registry, RootKey::LocalMachine, kRun, "Machine", count) &&
                    FillKey(registry, RootKey::CurrentUser, kRun, "User", count) &&
                    FillKey(registry, RootKey::LocalMachine, kRunOnce, "Once", count) &&
                    FillFolder(shell, kestrune::platform::kCsidlStartup, "Personal", count) &&
                    FillFolder(shell, kestrune::platform::kCsidlCommonStartup, "Shared", count);
    if (!ok) std::fprintf(stderr, "could not fill the machine at %s\n", argv[2]);
    return ok ? 0 : 1;
}
