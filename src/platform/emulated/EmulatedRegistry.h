#pragma once
// The emulated machine's registry: one ".reg" file per root key under the machine root
// ("HKEY_LOCAL_MACHINE.reg", ...). Another process (the machine tool, a second copy of the
// program, a test) may change the same files at any time, so:
// - every change takes an exclusive lock on the machine root, reads the file afresh, applies
//   itself and replaces the file through a new file and a rename, then lets go of the lock;
// - readers never lock (a rename is atomic) and read a file again whenever it changed;
// - a file that does not parse reads as an empty root (every key absent), is reported once
//   through TakeProblems() and on standard error, and is never written over.

#include <sys/stat.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/emulated/Refusals.h"
#include "platform/emulated/RegFile.h"
#include "platform/emulated/RegistryHive.h"

namespace kestrune::platform {

// Windows' error numbers that only this registry answers with.
inline constexpr int kErrorRegistryCorrupt = 1015;
inline constexpr int kErrorRegistryIoFailed = 1016;

// The emulated machine is a 64-bit Windows: its own view is the 64-bit one, and the 32-bit
// view keeps HKEY_LOCAL_MACHINE\SOFTWARE\X under HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\X.
// Everything else (HKEY_CURRENT_USER among it) both views share.
inline constexpr std::string_view kWow64Node = "WOW6432Node";
std::string ThirtyTwoBitSubkey(RootKey root, std::string_view subkey);

class EmulatedRegistry final : public Registry {
public:
    explicit EmulatedRegistry(std::string machineRoot);
    ~EmulatedRegistry() override;

    bool KeyExists(RootKey root, std::string_view subkey) override;
    std::optional<std::vector<RegistryValue>> EnumValues(RootKey root, std::string_view subkey) override;
    std::optional<RegistryValue> QueryValue(RootKey root, std::string_view subkey, std::string_view name) override;
    RegistryStatus SetValue(RootKey root, std::string_view subkey, const RegistryValue& value) override;
    RegistryStatus DeleteValue(RootKey root, std::string_view subkey, std::string_view name) override;
    RegistryStatus CreateKey(RootKey root, std::string_view subkey) override;
    std::vector<std::string> TakeProblems() override;
    Registry& InView(RegistryView view) override;

    // For the machine tool: removing a whole key, importing and exporting ".reg" files.
    RegistryStatus DeleteKey(RootKey root, std::string_view subkey);
    // Applies every key of the file in order; stops at the first root that cannot be written.
    RegistryStatus Import(const RegFile& file, std::string* error = nullptr);
    std::optional<RegFile> Export(RootKey root, std::string_view subkey);
    // Creates the root's file, empty, when it does not exist (never touches an existing one).
    RegistryStatus EnsureFile(RootKey root);
    std::string FilePath(RootKey root) const;
    // The machine tool acts as the machine's administrator: the keys that refuse the program's
    // changes (see Refusals) do not refuse its own.
    void IgnoreRefusals() { honourRefusals_ = false; }

private:
    struct Signature {
        unsigned long long device = 0, inode = 0, size = 0;
        long long modifiedSec = 0, modifiedNsec = 0, changedSec = 0, changedNsec = 0;
        bool operator==(const Signature&) const = default;
    };
    static Signature SignatureOf(const struct stat& st);
    struct Loaded {
        std::optional<Signature> signature;  // nullopt: the file did not exist
        std::optional<RegistryHive> hive;    // nullopt: the file exists but cannot be read
        int failure = 0;                     // why `hive` is missing
    };
    struct Change {
        int code = 0;
        bool changed = false;
    };

    // The root's current content, read again when the file changed since the last look.
    const Loaded& Current(RootKey root);
    Loaded ReadFile(RootKey root);
    void Report(RootKey root, const std::string& problem, const Signature& signature);
    template <class Apply>
    RegistryStatus Modify(RootKey root, Apply apply);

    bool Refused(RootKey root, std::string_view subkey) const {
        return honourRefusals_ && refusals_.RefusesKey(root, subkey);
    }

    class ThirtyTwoBitView;

    std::string root_;
    std::unique_ptr<ThirtyTwoBitView> bits32_;
    Refusals refusals_;
    bool honourRefusals_ = true;
    std::map<RootKey, Loaded> cache_;
    std::map<RootKey, Signature> reported_;
    std::vector<std::string> problems_;
};

}  // namespace kestrune::platform
