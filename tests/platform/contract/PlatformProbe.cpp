// A small program the contract suite and scripts/test-wine start as "another program":
//   platform_probe [--machine DIR] lnk show FILE          two lines: target, arguments
//   platform_probe [--machine DIR] lnk create FILE --target PATH [--args TEXT]
//   platform_probe touch FILE                              writes FILE, then ends
//   platform_probe hold FILE SECONDS                       writes its process id to FILE, then waits
//   platform_probe lock APPDIR FILE SECONDS [--machine DIR] holds the single-instance lock of APPDIR
// The lnk commands match those of kestrune-machine, so scripts can use either reader.

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "ProcessId.h"
#include "platform/Platform.h"

namespace {

using kestrune::platform::CreatePlatform;
using kestrune::platform::Platform;

int Fail(const std::string& message) {
    std::fprintf(stderr, "platform_probe: %s\n", message.c_str());
    return 1;
}

void PrintLine(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
}

void Wait(const std::string& seconds) { std::this_thread::sleep_for(std::chrono::seconds(std::stoi(seconds))); }

bool WritePid(Platform& os, const std::string& file) {
    return os.files().WriteFileAtomic(file, std::to_string(kestrune::contract::CurrentProcessId()));
}

int Run(std::vector<std::string> args) {
    std::string machine;
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == "--machine") {
            machine = args[i + 1];
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            break;
        }
    }
    if (args.empty()) return Fail("no command");
    const std::string& command = args[0];

    if (command == "touch" && args.size() == 2) {
        return CreatePlatform({"", machine})->files().WriteFileAtomic(args[1], "started\n") ? 0 : Fail("cannot write");
    }
    if (command == "hold" && args.size() == 3) {
        if (!WritePid(*CreatePlatform({"", machine}), args[1])) return Fail("cannot write " + args[1]);
        Wait(args[2]);
        return 0;
    }
    if (command == "lock" && args.size() == 4) {
        const auto os = CreatePlatform({args[1], machine});
        if (!os->instanceLock().TryAcquire()) return Fail("lock held by another copy");
        if (!WritePid(*os, args[2])) return Fail("cannot write " + args[2]);
        Wait(args[3]);
        return 0;
    }
    if (command == "lnk" && args.size() == 3 && args[1] == "show") {
        const auto info = CreatePlatform({"", machine})->shell().ReadShortcut(args[2]);
        if (!info) return Fail("not a readable shortcut: " + args[2]);
        PrintLine(info->target);
        PrintLine(info->arguments);
        return 0;
    }
    if (command == "lnk" && args.size() >= 3 && args[1] == "create") {
        kestrune::platform::ShortcutInfo info;
        for (size_t i = 3; i + 1 < args.size(); i += 2) {
            if (args[i] == "--target") info.target = args[i + 1];
            else if (args[i] == "--args") info.arguments = args[i + 1];
            else return Fail("unknown option " + args[i]);
        }
        if (info.target.empty()) return Fail("--target is required");
        info.iconLocation = info.target;
        return CreatePlatform({"", machine})->shell().WriteShortcut(args[2], info) ? 0 : Fail("cannot write " + args[2]);
    }
    return Fail("unknown command " + command);
}

}  // namespace

#ifdef _WIN32
// The narrow arguments of a Windows program are in the ANSI code page; the wide ones carry
// every character, and become UTF-8 here.
std::string Utf8(const wchar_t* text) {
    std::string out;
    for (; *text; ++text) {
        char32_t c = static_cast<char16_t>(*text);
        if (c >= 0xD800 && c < 0xDC00 && text[1] >= 0xDC00 && text[1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(*++text) - 0xDC00);
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(Utf8(argv[i]));
    return Run(args);
}
#else
int main(int argc, char** argv) { return Run(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
