#include "locations/Approvals.h"

#include "platform/StartupApproval.h"

namespace kestrune {

namespace {

// The approval keys lie under HKLM\SOFTWARE too, which the 32-bit view would move.
platform::Registry& ApprovalRegistry(platform::Registry& registry) {
    return registry.InView(platform::RegistryView::Bits64);
}

}  // namespace

bool DisabledInWindows(platform::Registry& registry, const ApprovalPlace& approvals, std::string_view name) {
    const auto value = ApprovalRegistry(registry).QueryValue(approvals.root, approvals.subkey, name);
    if (!value) return false;
    const auto approval = platform::DecodeStartupApproval(*value);
    return approval && approval->disabled;
}

int SetWindowsApproval(platform::Registry& registry, const ApprovalPlace& approvals, std::string_view name,
                       bool disabled) {
    platform::Registry& view = ApprovalRegistry(registry);
    const auto existing = view.QueryValue(approvals.root, approvals.subkey, name);
    const auto approval = existing ? platform::DecodeStartupApproval(*existing) : std::nullopt;
    if (!disabled && !(approval && approval->disabled)) return 0;
    if (disabled) {
        if (const auto status = view.CreateKey(approvals.root, approvals.subkey); !status.Ok()) return status.code;
    }
    const unsigned char flags = approval ? approval->flags : platform::kApprovalEnabled;
    return view
        .SetValue(approvals.root, approvals.subkey,
                  platform::EncodeStartupApproval(name, disabled, platform::FileTimeNow(), flags))
        .code;
}

std::string FolderApprovalName(std::string_view rowName) { return std::string(rowName) + kShortcutExtension; }

}  // namespace kestrune
