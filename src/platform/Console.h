#pragma once
// The console program's arguments and standard streams. Windows hands them over in its own
// encodings; the rest of the program speaks UTF-8.

#include <memory>
#include <streambuf>
#include <string>
#include <vector>

namespace kestrune::platform {

// The program's arguments after its own name, in UTF-8. On Windows they are read again from
// the wide command line: `argv` holds them in the ANSI code page, which loses every other letter.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Whether standard input is an interactive console; a file, a pipe or the null device is not.
bool StandardInputIsConsole();

// While it lives, std::cout and std::cerr show UTF-8 text as such where they are a console
// window (which on Windows would otherwise read the bytes in its own code page). Redirected to
// a file or a pipe they keep writing the UTF-8 bytes.
class ConsoleStreams {
public:
    ConsoleStreams();
    ~ConsoleStreams();  // NOLINT(performance-trivially-destructible): the Windows one gives the console back
    ConsoleStreams(const ConsoleStreams&) = delete;
    ConsoleStreams& operator=(const ConsoleStreams&) = delete;

private:
#ifdef _WIN32
    // Only Windows swaps the streams' buffers (Clang refuses fields that are never used).
    std::unique_ptr<std::streambuf> out_;
    std::unique_ptr<std::streambuf> err_;
    std::streambuf* previousOut_ = nullptr;
    std::streambuf* previousErr_ = nullptr;
#endif
};

}  // namespace kestrune::platform
