#include "platform/emulated/LinuxFileSystem.h"

#include "platform/Status.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace kestrune::platform {

namespace fs = std::filesystem;

namespace {

// Callers may write "\" between folders; on Linux it separates too.
std::string Native(const std::string& path) {
    std::string out = path;
    std::replace(out.begin(), out.end(), '\\', '/');
    return ShortcutPathIgnoringCase(out);
}

bool WriteAll(int fd, const std::string& content) {
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

namespace {

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

}  // namespace

std::string ShortcutPathIgnoringCase(const std::string& path) {
    constexpr std::string_view kExtension = ".lnk";
    const auto slash = path.find_last_of('/');
    const std::string_view name = std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
    if (name.size() <= kExtension.size() ||
        !EqualsIgnoringAsciiCase(name.substr(name.size() - kExtension.size()), kExtension))
        return path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) return path;
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string candidate = it->path().filename().string();
        if (EqualsIgnoringAsciiCase(candidate, name)) return (slash == std::string::npos ? "" : folder) + candidate;
    }
    return path;
}

bool IsSystemName(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower == "desktop.ini" || lower == "thumbs.db";
}

bool IsHiddenOrSystemName(const std::string& name) { return name.empty() || name.front() == '.' || IsSystemName(name); }

bool LinuxFileSystem::FileExists(const std::string& path) {
    if (path.empty()) return false;
    const std::string native = Native(path);
    struct stat st {};
    if (::stat(native.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    return !IsSystemName(fs::path(native).filename().string());
}

bool LinuxFileSystem::DirectoryExists(const std::string& path) {
    if (path.empty()) return false;
    struct stat st {};
    return ::stat(Native(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> LinuxFileSystem::ListFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(Native(folder), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (!it->is_regular_file(typeError) || IsHiddenOrSystemName(name)) continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> LinuxFileSystem::ReadFile(const std::string& path) {
    std::ifstream in(Native(path), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return content.str();
}

bool LinuxFileSystem::ReadInChunks(const std::string& path, const std::function<void(std::string_view)>& take) {
    const int fd = ::open(Native(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    std::string buffer(kReadChunk, '\0');
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        if (n == 0) break;
        take(std::string_view(buffer.data(), static_cast<size_t>(n)));
    }
    ::close(fd);
    return ok;
}

std::optional<FileStamp> LinuxFileSystem::Stamp(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(Native(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    FileStamp stamp;
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    stamp.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return stamp;
}

bool LinuxFileSystem::WriteFileAtomic(const std::string& path, const std::string& content) {
    const std::string target = Native(path);
    // A hidden name: a program watching the folder (a Startup folder, say) must not take the
    // file for an entry of its own while it is being written, nor delete it under us.
    const fs::path targetPath(target);
    std::string temp = (targetPath.parent_path() / ("." + targetPath.filename().string() + ".tmp-XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return Failed();
    const bool ok = WriteAll(fd, content) && ::fsync(fd) == 0;
    const int writeError = errno;
    struct stat st {};
    if (ok && ::stat(target.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
    else if (ok) ::fchmod(fd, 0644);
    ::close(fd);
    if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
        if (!ok) errno = writeError;
        Failed();
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool LinuxFileSystem::AppendToFile(const std::string& path, const std::string& content) {
    const int fd = ::open(Native(path).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool ok = WriteAll(fd, content);
    ::close(fd);
    return ok;
}

bool LinuxFileSystem::RemoveFile(const std::string& path) { return ::unlink(Native(path).c_str()) == 0; }

bool LinuxFileSystem::RenameFile(const std::string& from, const std::string& to) {
    const std::string target = Native(to);
    struct stat st {};
    if (::lstat(target.c_str(), &st) == 0) {
        errno = EEXIST;
        return Failed();
    }
    return ::rename(Native(from).c_str(), target.c_str()) == 0 || Failed();
}

bool LinuxFileSystem::Failed() {
    switch (errno) {
        case ENOENT:
        case ENOTDIR: lastError_ = kErrorPathNotFound; break;
        case EACCES:
        case EPERM:
        case EROFS: lastError_ = kErrorAccessDenied; break;
        case ENOSPC:
        case EDQUOT: lastError_ = kErrorDiskFull; break;
        case EEXIST: lastError_ = kErrorAlreadyExists; break;
        default: lastError_ = kErrorWriteFault; break;
    }
    return false;
}

bool LinuxFileSystem::CreateDirectories(const std::string& path) {
    std::error_code ec;
    fs::create_directories(Native(path), ec);
    return DirectoryExists(path);
}

}  // namespace kestrune::platform
