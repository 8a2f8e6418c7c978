#include "locations/Places.h"

#include "app/CommandLine.h"
#include "app/Paths.h"
#include "platform/StartupApproval.h"

namespace kestrune {

namespace {

using platform::RegistryView;
using platform::RootKey;

constexpr ApprovalPlace kMachineApprovals{RootKey::LocalMachine, platform::kApprovedRunKey};
constexpr ApprovalPlace kMachine32Approvals{RootKey::LocalMachine, platform::kApprovedRun32Key};
constexpr ApprovalPlace kUserApprovals{RootKey::CurrentUser, platform::kApprovedRunKey};

}  // namespace

const std::vector<RunKeySource>& RunKeySourcesOf(TableKind kind) {
    static const std::vector<RunKeySource> machineRun = {
        {PlaceKey::Main, {RootKey::LocalMachine, kRunKey, RegistryView::Bits64}, kMachineApprovals},
        {PlaceKey::Bits32, {RootKey::LocalMachine, kRunKey, RegistryView::Bits32}, kMachine32Approvals},
        {PlaceKey::Policy, {RootKey::LocalMachine, kPolicyRunKey, RegistryView::Bits64}, std::nullopt},
    };
    static const std::vector<RunKeySource> userRun = {
        {PlaceKey::Main, {RootKey::CurrentUser, kRunKey, RegistryView::Bits64}, kUserApprovals},
        {PlaceKey::Policy, {RootKey::CurrentUser, kPolicyRunKey, RegistryView::Bits64}, std::nullopt},
    };
    static const std::vector<RunKeySource> runOnce = {
        {PlaceKey::Main, {RootKey::LocalMachine, kRunOnceKey, RegistryView::Bits64}, std::nullopt},
        {PlaceKey::Bits32, {RootKey::LocalMachine, kRunOnceKey, RegistryView::Bits32}, std::nullopt},
        {PlaceKey::ThisUser, {RootKey::CurrentUser, kRunOnceKey, RegistryView::Bits64}, std::nullopt},
    };
    static const std::vector<RunKeySource> none;
    switch (kind) {
        case TableKind::HKLM_Run: return machineRun;
        case TableKind::HKCU_Run: return userRun;
        case TableKind::RunOnce: return runOnce;
        default: return none;
    }
}

std::optional<RunKeyPlace> RunKeyOf(TableKind kind) {
    const auto& sources = RunKeySourcesOf(kind);
    if (sources.empty()) return std::nullopt;
    return sources.front().place;
}

std::optional<RunKeySource> RunKeySourceOf(TableKind kind, PlaceKey key) {
    for (const RunKeySource& source : RunKeySourcesOf(kind))
        if (source.key == key) return source;
    return std::nullopt;
}

std::optional<ApprovalPlace> FolderApprovalsOf(TableKind kind) {
    if (kind == TableKind::UserStartup) return ApprovalPlace{RootKey::CurrentUser, platform::kApprovedStartupFolderKey};
    if (kind == TableKind::CommonStartup)
        return ApprovalPlace{RootKey::LocalMachine, platform::kApprovedStartupFolderKey};
    return std::nullopt;
}

platform::Registry& RegistryFor(platform::Registry& registry, const RunKeyPlace& place) {
    return registry.InView(place.view);
}

std::string DescribeKey(const RunKeySource& source) {
    std::string text = source.place.root == RootKey::CurrentUser ? "HKEY_CURRENT_USER\\" : "HKEY_LOCAL_MACHINE\\";
    std::string_view subkey = source.place.subkey;
    // The 32-bit view's key as the registry editor shows it.
    constexpr std::string_view software = "SOFTWARE\\";
    if (source.place.view == RegistryView::Bits32 && source.place.root == RootKey::LocalMachine &&
        subkey.substr(0, software.size()) == software) {
        text += std::string(software) + "WOW6432Node\\";
        subkey.remove_prefix(software.size());
    }
    text += subkey;
    if (source.key != PlaceKey::Main) text += " (" + std::string(PlaceKeyMark(source.key)) + ")";
    return text;
}

const std::string& StartupFolderOf(const Paths& paths, TableKind kind) {
    static const std::string none;
    if (kind == TableKind::UserStartup) return paths.userStartupFolder;
    if (kind == TableKind::CommonStartup) return paths.commonStartupFolder;
    return none;
}

std::string ShortcutFileOf(const std::string& folder, std::string_view name) {
    return AddBackslash(folder) + std::string(name) + kShortcutExtension;
}

}  // namespace kestrune
