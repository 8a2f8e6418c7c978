#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <algorithm>
#include <climits>

#include "platform/win32/Handles.h"
#include "platform/win32/Utf.h"

namespace kestrune::platform::win32 {

namespace {

constexpr DWORD kHiddenOrSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

DWORD AttributesOf(const std::string& path) {
    if (path.empty()) return INVALID_FILE_ATTRIBUTES;
    return GetFileAttributesW(Widen(path).c_str());
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool WriteAll(HANDLE file, const std::string& content) {
    size_t done = 0;
    while (done < content.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(content.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, content.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

bool LessIgnoringCase(const std::wstring& a, const std::wstring& b) {
    const int order =
        CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE);
    if (order != CSTR_EQUAL) return order == CSTR_LESS_THAN;
    return a < b;
}

}  // namespace

bool Win32FileSystem::FileExists(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & (FILE_ATTRIBUTE_DIRECTORY | kHiddenOrSystem));
}

bool Win32FileSystem::DirectoryExists(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> Win32FileSystem::ListFiles(const std::string& folder) {
    std::wstring pattern = Widen(folder);
    if (pattern.empty()) return {};
    if (!IsSeparator(pattern.back())) pattern.push_back(L'\\');
    pattern.push_back(L'*');

    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    const HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) return {};
    do {
        if (entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | kHiddenOrSystem)) continue;
        names.emplace_back(entry.cFileName);
    } while (FindNextFileW(find, &entry));
    FindClose(find);

    // Windows names compare ignoring case, and so does the order the user sees in a folder.
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    std::vector<std::string> result;
    result.reserve(names.size());
    for (const std::wstring& name : names) result.push_back(Narrow(name));
    return result;
}

std::optional<std::string> Win32FileSystem::ReadFile(const std::string& path) {
    UniqueHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 || size.QuadPart > INT_MAX) return std::nullopt;
    std::string content(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < content.size()) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), content.data() + done, static_cast<DWORD>(content.size() - done), &read, nullptr))
            return std::nullopt;
        if (read == 0) break;  // the file shrank while it was read
        done += read;
    }
    content.resize(done);
    return content;
}

bool Win32FileSystem::ReadInChunks(const std::string& path, const std::function<void(std::string_view)>& take) {
    UniqueHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.Valid()) return false;
    std::string buffer(kReadChunk, '\0');
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) return false;
        if (read == 0) return true;
        take(std::string_view(buffer.data(), read));
    }
}

std::optional<FileStamp> Win32FileSystem::Stamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
    FileStamp stamp;
    stamp.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.modified = static_cast<std::int64_t>((static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                               data.ftLastWriteTime.dwLowDateTime);
    return stamp;
}

bool Win32FileSystem::WriteFileAtomic(const std::string& path, const std::string& content) {
    const std::wstring target = Widen(path);
    if (target.empty()) return false;
    const std::wstring temporary = target + L".tmp" + std::to_wstring(GetCurrentProcessId());
    {
        UniqueHandle file(
            CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) return Failed();
        if (!WriteAll(file.Get(), content) || !FlushFileBuffers(file.Get())) {
            Failed();
            file.Reset();
            DeleteFileW(temporary.c_str());
            return false;
        }
    }
    if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        Failed();
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

bool Win32FileSystem::AppendToFile(const std::string& path, const std::string& content) {
    UniqueHandle file(CreateFileW(Widen(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() && WriteAll(file.Get(), content);
}

bool Win32FileSystem::RemoveFile(const std::string& path) { return DeleteFileW(Widen(path).c_str()) != 0; }

bool Win32FileSystem::RenameFile(const std::string& from, const std::string& to) {
    return MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), 0) != 0 || Failed();
}

bool Win32FileSystem::Failed() {
    lastError_ = GetLastError();
    return false;
}

bool Win32FileSystem::CreateDirectories(const std::string& path) {
    const std::wstring wide = Widen(path);
    if (wide.empty()) return false;
    // Skip the root ("C:\", "\\server\share\") which cannot be created, then make each
    // folder below it in turn.
    size_t start = 0;
    if (wide.size() >= 2 && wide[1] == L':') {
        start = 2;
    } else if (wide.size() >= 2 && IsSeparator(wide[0]) && IsSeparator(wide[1])) {
        size_t separators = 0;
        for (start = 2; start < wide.size() && separators < 2; ++start)
            if (IsSeparator(wide[start])) ++separators;
    }
    for (size_t i = start; i <= wide.size(); ++i) {
        if (i != wide.size() && !IsSeparator(wide[i])) continue;
        if (i == 0 || IsSeparator(wide[i - 1])) continue;
        const std::wstring prefix = wide.substr(0, i);
        if (!CreateDirectoryW(prefix.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            const DWORD attributes = GetFileAttributesW(prefix.c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
        }
    }
    return DirectoryExists(path);
}

}  // namespace kestrune::platform::win32
