#include "platform/emulated/MachineLayout.h"

#include <sys/stat.h>

#include <filesystem>

#include "platform/StartupApproval.h"
#include "platform/emulated/EmulatedRegistry.h"

namespace kestrune::platform {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kCommonStartup = "ProgramData/Microsoft/Windows/Start Menu/Programs/Startup/";
constexpr std::string_view kUserProfile = "Users/User";
constexpr std::string_view kUserStartup = "/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Startup";
constexpr std::string_view kSystemFolder = "Windows/System32";
constexpr std::string_view kPerfStatsKeys[] = {"PerfStats\\StartStat", "PerfStats\\StatData", "PerfStats\\StopStat"};
constexpr std::string_view kCpuUsageValue = "KERNEL\\CPUUsage";

// The keys of each root a machine is made with (the values come only with a new file).
std::vector<std::string> LocalMachineKeys() {
    return {std::string(kRunKey),
            std::string(kRunOnceKey),
            std::string(kRun32Key),
            std::string(kRunOnce32Key),
            std::string(kApprovedRunKey),
            std::string(kApprovedRun32Key),
            std::string(kApprovedStartupFolderKey)};
}
std::vector<std::string> CurrentUserKeys() {
    return {std::string(kRunKey),
            std::string(kRunOnceKey),
            std::string(kApprovedRunKey),
            std::string(kApprovedRun32Key),
            std::string(kApprovedStartupFolderKey),
            std::string(kShellFoldersKey)};
}

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

MachineLayout::MachineLayout(const std::string& root) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(root.empty() ? fs::path(".") : fs::path(root), ec);
    root_ = (ec ? fs::path(root) : absolute.lexically_normal()).string();
    if (root_.empty() || root_.back() != '/') root_.push_back('/');
}

std::string MachineLayout::CommonStartup() const { return root_ + std::string(kCommonStartup); }
std::string MachineLayout::UserProfile() const { return root_ + std::string(kUserProfile); }
std::string MachineLayout::DefaultUserStartup() const { return UserProfile() + std::string(kUserStartup); }

void MachineLayout::Ensure(EmulatedRegistry& registry) const {
    std::error_code ec;
    for (const std::string& folder : {CommonStartup(), DefaultUserStartup(), root_ + std::string(kSystemFolder)}) {
        fs::create_directories(folder, ec);
    }
    // Each new root key is written in one go: a machine is made often (every test makes one).
    const auto create = [&](RootKey root, std::vector<RegFileKey> keys) {
        if (Exists(registry.FilePath(root))) return;
        for (RegFileKey& key : keys) key.path = RootName(root) + "\\" + key.path;
        registry.Import(RegFile{std::move(keys)});
    };
    const auto keysOf = [](const std::vector<std::string>& paths) {
        std::vector<RegFileKey> keys;
        for (const std::string& path : paths) keys.push_back({path, false, {}});
        return keys;
    };
    create(RootKey::LocalMachine, keysOf(LocalMachineKeys()));
    std::vector<RegFileKey> user = keysOf(CurrentUserKeys());
    user.back().values.push_back({{std::string(kStartupValue), ValueType::String, DefaultUserStartup()}, false});
    create(RootKey::CurrentUser, std::move(user));
    std::vector<RegFileKey> perfStats;
    for (std::string_view key : kPerfStatsKeys) {
        perfStats.push_back({std::string(key),
                             false,
                             {{{std::string(kCpuUsageValue), ValueType::Dword, std::string(4, '\0')}, false}}});
    }
    create(RootKey::DynData, std::move(perfStats));
}

bool MachineLayout::EnsureKeys(EmulatedRegistry& registry) const {
    bool ok = true;
    const auto ensure = [&](RootKey root, const std::vector<std::string>& keys) {
        for (const std::string& key : keys) {
            if (!registry.KeyExists(root, key)) ok = registry.CreateKey(root, key).Ok() && ok;
        }
    };
    ensure(RootKey::LocalMachine, LocalMachineKeys());
    ensure(RootKey::CurrentUser, CurrentUserKeys());
    return ok;
}

}  // namespace kestrune::platform
