// A small program the contract suite and scripts/test-wine start as "another program":
//   platform_probe [--machine DIR] lnk show FILE          two lines: target, arguments
//   platform_probe [--machine DIR] lnk create FILE --target PATH [--args TEXT]
//   platform_probe touch FILE                              writes FILE, then ends
//   platform_probe args FILE ARGUMENT...                   writes its arguments to FILE, one a line
//   platform_probe hold FILE SECONDS                       writes its process id to FILE, then waits
//   platform_probe work FILE BYTES MS                     writes and reads back BYTES in FILE, keeps
//                                                          the processor busy for MS, waits a second
//   platform_probe lock APPDIR FILE SECONDS [--machine DIR] holds the single-instance lock of APPDIR
// The lnk commands match those of kestrune-machine, so scripts can use either reader.

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "ProcessId.h"
#include "platform/Console.h"
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
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                       args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            break;
        }
    }
    if (args.empty()) return Fail("no command");
    const std::string& command = args[0];

    if (command == "touch" && args.size() == 2) {
        return CreatePlatform({"", machine})->files().WriteFileAtomic(args[1], "started\n") ? 0 : Fail("cannot write");
    }
    if (command == "args" && args.size() >= 2) {
        std::string lines;
        for (size_t i = 2; i < args.size(); ++i) lines += args[i] + "\n";
        return CreatePlatform({"", machine})->files().WriteFileAtomic(args[1], lines) ? 0 : Fail("cannot write");
    }
    if (command == "hold" && args.size() == 3) {
        if (!WritePid(*CreatePlatform({"", machine}), args[1])) return Fail("cannot write " + args[1]);
        Wait(args[2]);
        return 0;
    }
    if (command == "work" && args.size() == 4) {
        auto os = CreatePlatform({"", machine});
        if (!os->files().WriteFileAtomic(args[1], std::string(std::stoul(args[2]), 'x')))
            return Fail("cannot write " + args[1]);
        if (!os->files().ReadFile(args[1])) return Fail("cannot read " + args[1]);
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::stoi(args[3]));
        volatile unsigned spin = 0;
        while (std::chrono::steady_clock::now() < until) spin = spin + 1;
        // Alive a moment longer, so that a meter reading at intervals sees the whole cost.
        std::this_thread::sleep_for(std::chrono::seconds(1));
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
        return CreatePlatform({"", machine})->shell().WriteShortcut(args[2], info) ? 0
                                                                                   : Fail("cannot write " + args[2]);
    }
    return Fail("unknown command " + command);
}

}  // namespace

int main(int argc, char** argv) { return Run(kestrune::platform::CommandLineArguments(argc, argv)); }
