#include "platform/emulated/MachineLayout.h"

#include <sys/stat.h>

#include <filesystem>

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
    create(RootKey::LocalMachine, {{std::string(kRunKey), false, {}}, {std::string(kRunOnceKey), false, {}}});
    create(RootKey::CurrentUser, {{std::string(kRunKey), false, {}},
                                  {std::string(kShellFoldersKey),
                                   false,
                                   {{{std::string(kStartupValue), ValueType::String, DefaultUserStartup()}, false}}}});
    std::vector<RegFileKey> perfStats;
    for (std::string_view key : kPerfStatsKeys) {
        perfStats.push_back({std::string(key),
                             false,
                             {{{std::string(kCpuUsageValue), ValueType::Dword, std::string(4, '\0')}, false}}});
    }
    create(RootKey::DynData, std::move(perfStats));
}

}  // namespace kestrune::platform
