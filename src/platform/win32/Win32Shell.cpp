#include "platform/win32/Win32Shell.h"

#include <windows.h>
// after windows.h
#include <knownfolders.h>
#include <objbase.h>
#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "platform/win32/Utf.h"

namespace kestrune::platform::win32 {

namespace {

// Shortcut fields are bounded by the shell-link format, not by MAX_PATH.
constexpr int kFieldChars = 32768;

// The shell's link object wants an apartment-threaded caller. Each call initialises COM
// for itself, so the backend works from any thread and never leaves COM set up behind it;
// a thread already in the multithreaded apartment is used as it is.
class ComApartment {
public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT result_;
};

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (ptr_) ptr_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T* operator->() const { return ptr_; }
    T* Get() const { return ptr_; }
    void** Out() { return reinterpret_cast<void**>(&ptr_); }

private:
    T* ptr_ = nullptr;
};

struct ShellLink {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
};

bool CreateShellLink(ShellLink& shellLink) {
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shellLink.link.Out())))
        return false;
    return SUCCEEDED(shellLink.link->QueryInterface(IID_IPersistFile, shellLink.file.Out()));
}

std::string TextUpToNul(const std::vector<wchar_t>& buffer) { return Narrow(std::wstring_view(buffer.data())); }

}  // namespace

std::string Win32Shell::SpecialFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) || path[0] == L'\0') return "";
    std::string folder = Narrow(path);
    if (folder.back() != '\\') folder.push_back('\\');
    return folder;
}

std::string Win32Shell::KnownFolder(int csidl) {
    const KNOWNFOLDERID* id = csidl == kCsidlStartup         ? &FOLDERID_Startup
                              : csidl == kCsidlCommonStartup ? &FOLDERID_CommonStartup
                                                             : nullptr;
    if (!id) return "";
    PWSTR path = nullptr;
    const HRESULT result = SHGetKnownFolderPath(*id, KF_FLAG_DEFAULT, nullptr, &path);
    std::string folder = SUCCEEDED(result) && path ? Narrow(path) : "";
    CoTaskMemFree(path);
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

std::optional<ShortcutInfo> Win32Shell::ReadShortcut(const std::string& path) {
    ComApartment com;
    ShellLink shellLink;
    if (!com.Usable() || !CreateShellLink(shellLink)) return std::nullopt;
    if (FAILED(shellLink.file->Load(Widen(path).c_str(), STGM_READ))) return std::nullopt;

    ShortcutInfo info;
    std::vector<wchar_t> buffer(kFieldChars, L'\0');
    // The target ID list names the target in full Unicode; the link-info path that GetPath
    // may fall back on can be in the ANSI code page (Wine writes only that form). A link to
    // something that is not a file (a printer, a control panel item) has no path: that is an
    // empty target, not an unreadable shortcut.
    if (PIDLIST_ABSOLUTE idList = nullptr; SUCCEEDED(shellLink.link->GetIDList(&idList)) && idList) {
        if (SHGetPathFromIDListEx(idList, buffer.data(), kFieldChars, GPFIDL_DEFAULT))
            info.target = TextUpToNul(buffer);
        CoTaskMemFree(idList);
    }
    buffer.assign(kFieldChars, L'\0');
    if (info.target.empty() && shellLink.link->GetPath(buffer.data(), kFieldChars, nullptr, 0) == S_OK)
        info.target = TextUpToNul(buffer);
    buffer.assign(kFieldChars, L'\0');
    if (SUCCEEDED(shellLink.link->GetArguments(buffer.data(), kFieldChars))) info.arguments = TextUpToNul(buffer);
    buffer.assign(kFieldChars, L'\0');
    if (SUCCEEDED(shellLink.link->GetWorkingDirectory(buffer.data(), kFieldChars)))
        info.workingFolder = TextUpToNul(buffer);
    buffer.assign(kFieldChars, L'\0');
    int iconIndex = 0;
    if (SUCCEEDED(shellLink.link->GetIconLocation(buffer.data(), kFieldChars, &iconIndex))) {
        info.iconLocation = TextUpToNul(buffer);
        info.iconIndex = iconIndex;
    }
    int showCommand = SW_SHOWNORMAL;
    if (SUCCEEDED(shellLink.link->GetShowCmd(&showCommand))) info.showCommand = showCommand;
    buffer.assign(kFieldChars, L'\0');
    if (SUCCEEDED(shellLink.link->GetDescription(buffer.data(), kFieldChars))) info.description = TextUpToNul(buffer);
    WORD hotKey = 0;
    if (SUCCEEDED(shellLink.link->GetHotkey(&hotKey))) info.hotKey = hotKey;
    return info;
}

Status Win32Shell::WriteShortcut(const std::string& path, const ShortcutInfo& info) {
    ComApartment com;
    ShellLink shellLink;
    if (!com.Usable() || !CreateShellLink(shellLink)) return {ERROR_NOT_SUPPORTED};
    IShellLinkW& link = *shellLink.link.Get();
    if (FAILED(link.SetPath(Widen(info.target).c_str()))) return {ERROR_INVALID_PARAMETER};
    if (FAILED(link.SetArguments(Widen(info.arguments).c_str()))) return {ERROR_INVALID_PARAMETER};
    if (!info.workingFolder.empty() && FAILED(link.SetWorkingDirectory(Widen(info.workingFolder).c_str())))
        return {ERROR_INVALID_PARAMETER};
    if (!info.iconLocation.empty() && FAILED(link.SetIconLocation(Widen(info.iconLocation).c_str(), info.iconIndex)))
        return {ERROR_INVALID_PARAMETER};
    if (FAILED(link.SetShowCmd(info.showCommand))) return {ERROR_INVALID_PARAMETER};
    if (!info.description.empty() && FAILED(link.SetDescription(Widen(info.description).c_str())))
        return {ERROR_INVALID_PARAMETER};
    if (info.hotKey != 0 && FAILED(link.SetHotkey(info.hotKey))) return {ERROR_INVALID_PARAMETER};
    const HRESULT saved = shellLink.file->Save(Widen(path).c_str(), TRUE);
    if (SUCCEEDED(saved)) return {};
    // A file system refusal comes back as a Win32 error wrapped in an HRESULT.
    if (HRESULT_FACILITY(saved) == FACILITY_WIN32) return {static_cast<int>(HRESULT_CODE(saved))};
    return {ERROR_WRITE_FAULT};
}

Status Win32Shell::DeleteShortcut(const std::string& path) {
    if (DeleteFileW(Widen(path).c_str())) return {};
    return {static_cast<int>(GetLastError())};
}

Status Win32Shell::RenameShortcut(const std::string& from, const std::string& to) {
    // Without MOVEFILE_REPLACE_EXISTING another file of that name is left alone (error 183),
    // while the file itself may take another letter case.
    if (MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), 0)) return {};
    return {static_cast<int>(GetLastError())};
}

Status Win32Shell::RelocateFile(const std::string& from, const std::string& to) {
    // A copy onto another volume is written through before the original goes.
    if (MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH)) return {};
    const DWORD error = GetLastError();
    return {static_cast<int>(error == ERROR_FILE_EXISTS ? ERROR_ALREADY_EXISTS : error)};
}

bool Win32Shell::OpenDocument(const std::string& target) {
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", Widen(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    // ShellExecuteW answers a number above 32 for success, dressed as a handle.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool Win32Shell::OpenFolder(const std::string& folder) {
    const std::wstring parameters = L"/n,\"" + Widen(folder) + L"\"";
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"open", L"explorer.exe", parameters.c_str(), nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace kestrune::platform::win32
