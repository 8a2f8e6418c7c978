#include "platform/emulated/EmulatedShell.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string_view>

#include "platform/emulated/LinuxFileSystem.h"
#include "platform/emulated/ShellLauncher.h"
#include "platform/emulated/ShellLink.h"

namespace kestrune::platform {

namespace {

std::string Native(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return ShortcutPathIgnoringCase(path);
}

// The first executable "xdg-open" on PATH; "" when the desktop has none.
std::string FindOpener() {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "/usr/local/bin:/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (folder.empty()) continue;
        std::string candidate = folder + "/xdg-open";
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

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

// Another file of the folder whose name is `target`'s ignoring case: Windows would find it
// under that name. The file `source` itself may take another spelling.
bool AnotherFileNamed(const std::string& target, const struct stat& source) {
    const auto slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string name = target.substr(slash == std::string::npos ? 0 : slash + 1);
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!SameIgnoringCase(it->path().filename().string(), name)) continue;
        struct stat other {};
        if (::stat(it->path().c_str(), &other) != 0) continue;
        if (other.st_ino != source.st_ino || other.st_dev != source.st_dev) return true;
    }
    return false;
}

// Across file systems a rename cannot move a file: the bytes are copied (through a file
// renamed into place) and the original goes only once the copy is whole.
Status CopyThenRemove(const std::string& source, const std::string& target) {
    LinuxFileSystem files;
    const auto bytes = files.ReadFile(source);
    if (!bytes) return {kErrorAccessDenied};
    if (!files.WriteFileAtomic(target, *bytes)) return {kErrorAccessDenied};
    if (::unlink(source.c_str()) == 0) return {};
    ::unlink(target.c_str());
    return {kErrorAccessDenied};
}

}  // namespace

Status EmulatedShell::RelocateFile(const std::string& from, const std::string& to) {
    const std::string source = Native(from);
    const std::string target = Native(to);
    if (honourRefusals_ && (refusals_.RefusesFile(source) || refusals_.RefusesFile(target)))
        return {kErrorAccessDenied};
    struct stat st {};
    if (::stat(source.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return {errno == ENOENT || S_ISDIR(st.st_mode) ? kErrorFileNotFound : kErrorPathNotFound};
    if (AnotherFileNamed(target, st)) return {kErrorAlreadyExists};
    if (::rename(source.c_str(), target.c_str()) == 0) return {};
    if (errno == EXDEV) return CopyThenRemove(source, target);
    return {errno == ENOENT || errno == ENOTDIR ? kErrorPathNotFound : kErrorAccessDenied};
}

bool EmulatedShell::OpenDocument(const std::string& target) { return OpenWithDesktop(target); }

bool EmulatedShell::OpenFolder(const std::string& folder) {
    struct stat st {};
    if (::stat(Native(folder).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    return OpenWithDesktop(Native(folder));
}

}  // namespace kestrune::platform
