#include "platform/emulated/LinuxSystem.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/Status.h"

namespace kestrune::platform {

namespace fs = std::filesystem;

namespace {

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder.push_back('/');
    return folder;
}

fs::path ExecutablePath() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path{} : exe;
}

}  // namespace

std::string DefaultAppFolder() {
    if (const char* dir = std::getenv("KESTRUNE_APP_DIR"); dir && *dir) {
        std::error_code ec;
        const fs::path absolute = fs::absolute(dir, ec);
        return WithSlash(ec ? std::string(dir) : absolute.string());
    }
    const fs::path exe = ExecutablePath();
    return WithSlash(exe.empty() ? fs::current_path().string() : exe.parent_path().string());
}

LinuxSystem::LinuxSystem(const std::string& appFolder, std::string machineRoot)
    : appFolder_(appFolder.empty() ? DefaultAppFolder() : WithSlash(fs::absolute(appFolder).string())),
      machineRoot_(std::move(machineRoot)) {
    const fs::path exe = ExecutablePath();
    programName_ = exe.empty() ? "kestrune" : exe.stem().string();
}

std::string LinuxSystem::ErrorText(int code) {
    switch (code) {
        case kErrorFileNotFound: return "The system cannot find the file specified.";
        case kErrorPathNotFound: return "The system cannot find the path specified.";
        case kErrorAccessDenied: return "Access is denied.";
        case kErrorWriteFault: return "The system cannot write to the specified device.";
        case kErrorDiskFull: return "There is not enough space on the disk.";
        case kErrorAlreadyExists: return "Cannot create a file when that file already exists.";
        case 1015: return "The registry is corrupted.";
        case 1016: return "An I/O operation initiated by the registry failed unrecoverably.";
        default: return "Error " + std::to_string(code);
    }
}

std::vector<std::pair<std::string, std::string>> LinuxSystem::Environment() {
    std::vector<std::pair<std::string, std::string>> variables;
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string text(*entry);
        const size_t eq = text.find('=');
        if (eq == std::string::npos || eq == 0) continue;
        variables.emplace_back(text.substr(0, eq), text.substr(eq + 1));
    }
    return variables;
}

std::string LinuxSystem::WindowsFolder() { return machineRoot_.empty() ? "" : WithSlash(machineRoot_) + "Windows"; }
std::string LinuxSystem::SystemFolder() {
    return machineRoot_.empty() ? "" : WithSlash(machineRoot_) + "Windows/System32";
}

}  // namespace kestrune::platform
