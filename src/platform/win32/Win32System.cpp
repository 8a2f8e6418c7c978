#include "platform/win32/Win32System.h"

#include <windows.h>

#include "platform/win32/ShellLauncher.h"
#include "platform/win32/Utf.h"

namespace kestrune::platform::win32 {

namespace {

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return L"";
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);  // cut short: a path longer than MAX_PATH
    }
}

std::wstring FullPath(const std::wstring& path) {
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return path;
    full.resize(length);
    return full;
}

std::wstring EnvironmentVariable(const wchar_t* name) {
    const DWORD needed = GetEnvironmentVariableW(name, nullptr, 0);
    if (needed == 0) return L"";
    std::wstring value(needed, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), needed);
    value.resize(length < needed ? length : 0);
    return value;
}

std::string WithBackslash(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder.push_back(L'\\');
    return Narrow(folder);
}

using FolderFunction = UINT(WINAPI*)(LPWSTR, UINT);

std::string FolderFrom(FolderFunction function) {
    std::wstring folder(MAX_PATH, L'\0');
    UINT length = function(folder.data(), static_cast<UINT>(folder.size()));
    if (length >= folder.size()) {
        folder.resize(length);
        length = function(folder.data(), static_cast<UINT>(folder.size()));
    }
    if (length == 0 || length >= folder.size()) return "";
    folder.resize(length);
    return Narrow(folder);
}

}  // namespace

Win32System::Win32System(const std::string& appFolder) {
    const std::wstring module = ModulePath();
    const size_t slash = module.find_last_of(L"\\/");
    const std::wstring file = slash == std::wstring::npos ? module : module.substr(slash + 1);
    const size_t dot = file.find_last_of(L'.');
    programName_ = Narrow(dot == std::wstring::npos ? file : file.substr(0, dot));
    programExtension_ = dot == std::wstring::npos ? ".exe" : Narrow(file.substr(dot));
    if (programName_.empty()) programName_ = "kestrune";

    if (!appFolder.empty()) {
        appFolder_ = WithBackslash(FullPath(Widen(appFolder)));
    } else if (const std::wstring fromEnvironment = EnvironmentVariable(L"KESTRUNE_APP_DIR");
               !fromEnvironment.empty()) {
        appFolder_ = WithBackslash(FullPath(fromEnvironment));
    } else {
        appFolder_ = WithBackslash(slash == std::wstring::npos ? FullPath(L".") : module.substr(0, slash));
    }
}

std::vector<std::pair<std::string, std::string>> Win32System::Environment() {
    std::vector<std::pair<std::string, std::string>> variables;
    wchar_t* block = GetEnvironmentStringsW();
    if (!block) return variables;
    for (const wchar_t* entry = block; *entry; entry += wcslen(entry) + 1) {
        const std::wstring_view text(entry);
        // Entries such as "=C:=C:\work" hold the current folder of each drive, not variables.
        const size_t equals = text.find(L'=', 1);
        if (text.front() == L'=' || equals == std::wstring_view::npos) continue;
        variables.emplace_back(Narrow(text.substr(0, equals)), Narrow(text.substr(equals + 1)));
    }
    FreeEnvironmentStringsW(block);
    return variables;
}

std::string Win32System::WindowsFolder() { return FolderFrom(GetWindowsDirectoryW); }
std::string Win32System::SystemFolder() { return FolderFrom(GetSystemDirectoryW); }

std::string Win32System::ErrorText(int code) { return SystemErrorText(static_cast<unsigned long>(code)); }

}  // namespace kestrune::platform::win32
