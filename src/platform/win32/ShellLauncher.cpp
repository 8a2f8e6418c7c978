#include "platform/win32/ShellLauncher.h"

#include <windows.h>

#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/Utf.h"

namespace kestrune::platform::win32 {

namespace {

std::wstring ExpandEnvironment(const std::wstring& text) {
    const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (needed == 0) return text;
    std::wstring expanded(needed, L'\0');
    const DWORD written = ExpandEnvironmentStringsW(text.c_str(), expanded.data(), needed);
    if (written == 0 || written > needed) return text;
    expanded.resize(written - 1);
    return expanded;
}

}  // namespace

std::string SystemErrorText(unsigned long errorNumber) {
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, errorNumber, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0 || !text) return "Error " + std::to_string(errorNumber);
    std::wstring message(text, length);
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return Narrow(message);
}

LaunchResult ShellLauncher::StartCommand(const std::string& commandLine, ShowWindow show) {
    // CreateProcessW may write into the command line, so it gets its own terminated copy.
    const std::wstring expanded = ExpandEnvironment(Widen(commandLine));
    std::vector<wchar_t> command(expanded.begin(), expanded.end());
    command.push_back(L'\0');

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show == ShowWindow::Minimised ? SW_SHOWMINIMIZED : SW_SHOWNORMAL);
    PROCESS_INFORMATION started{};
    // The started program is on its own: no handles inherited, and a console program gets
    // a console of its own, shown the same way, rather than sharing ours.
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_PROCESS_GROUP | CREATE_DEFAULT_ERROR_MODE | CREATE_NEW_CONSOLE, nullptr, nullptr,
                        &startup, &started)) {
        const DWORD error = GetLastError();
        return {false, static_cast<int>(error), SystemErrorText(error), 0};
    }
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    return {true, 0, "", static_cast<std::uint32_t>(started.dwProcessId)};
}

}  // namespace kestrune::platform::win32
