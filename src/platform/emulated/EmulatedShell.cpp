#include "platform/emulated/EmulatedShell.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "platform/emulated/LinuxFileSystem.h"
#include "platform/emulated/ShellLauncher.h"
#include "platform/emulated/ShellLink.h"

namespace kestrune::platform {

namespace {

std::string Native(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// The first executable "xdg-open" on PATH; "" when the desktop has none.
std::string FindOpener() {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "/usr/local/bin:/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (folder.empty()) continue;
        const std::string candidate = folder + "/xdg-open";
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return "";
}

bool OpenWithDesktop(const std::string& target) {
    const std::string opener = FindOpener();
    return !opener.empty() && !target.empty() && SpawnDetached({opener, target}).ok;
}

}  // namespace

std::string EmulatedShell::SpecialFolder(int csidl) {
    if (csidl == kCsidlCommonStartup) return layout_.CommonStartup();
    if (csidl == kCsidlStartup) {
        const auto value = registry_.QueryValue(RootKey::CurrentUser, kShellFoldersKey, kStartupValue);
        if (!value || value->data.empty()) return "";
        std::string folder = value->data;
        if (folder.back() != '/') folder.push_back('/');
        return folder;
    }
    return "";
}

std::optional<ShortcutInfo> EmulatedShell::ReadShortcut(const std::string& path) {
    const int fd = ::open(Native(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string bytes;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<size_t>(st.st_size) <= kMaxShellLinkSize;
    char buffer[16384];
    while (ok && bytes.size() <= kMaxShellLinkSize) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    if (!ok) return std::nullopt;
    return ReadShellLink(bytes);
}

Status EmulatedShell::WriteShortcut(const std::string& path, const ShortcutInfo& info) {
    if (honourRefusals_ && refusals_.RefusesFile(Native(path))) return {kErrorAccessDenied};
    LinuxFileSystem files;
    if (files.WriteFileAtomic(Native(path), WriteShellLink(info))) return {};
    struct stat st {};
    const std::string folder = Native(path).substr(0, Native(path).find_last_of('/') + 1);
    return {::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? kErrorAccessDenied : kErrorPathNotFound};
}

Status EmulatedShell::DeleteShortcut(const std::string& path) {
    if (honourRefusals_ && refusals_.RefusesFile(Native(path))) return {kErrorAccessDenied};
    if (::unlink(Native(path).c_str()) == 0) return {};
    switch (errno) {
        case ENOENT: return {kErrorFileNotFound};
        case ENOTDIR: return {kErrorPathNotFound};
        default: return {kErrorAccessDenied};
    }
}

Status EmulatedShell::RenameShortcut(const std::string& from, const std::string& to) {
    const std::string source = Native(from);
    const std::string target = Native(to);
    if (honourRefusals_ && (refusals_.RefusesFile(source) || refusals_.RefusesFile(target)))
        return {kErrorAccessDenied};
    struct stat st {};
    if (::stat(source.c_str(), &st) != 0) return {errno == ENOENT ? kErrorFileNotFound : kErrorPathNotFound};
    // Windows names ignore case: only the file itself may be renamed to another spelling.
    struct stat other {};
    if (::stat(target.c_str(), &other) == 0 && (other.st_ino != st.st_ino || other.st_dev != st.st_dev))
        return {kErrorAlreadyExists};
    if (::rename(source.c_str(), target.c_str()) == 0) return {};
    return {errno == ENOENT || errno == ENOTDIR ? kErrorPathNotFound : kErrorAccessDenied};
}

bool EmulatedShell::OpenDocument(const std::string& target) { return OpenWithDesktop(target); }

bool EmulatedShell::OpenFolder(const std::string& folder) {
    struct stat st {};
    if (::stat(Native(folder).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    return OpenWithDesktop(Native(folder));
}

}  // namespace kestrune::platform
