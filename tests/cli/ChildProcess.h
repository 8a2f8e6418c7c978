#pragma once
// Runs a program as a child process with standard input from /dev/null (so it is not a
// terminal) and collects its standard output, standard error and exit status.

#include <chrono>
#include <string>
#include <vector>

namespace kestrune::cli::test {

struct ProcessResult {
    int status = -1;  // the exit status; -1 when it did not exit normally
    std::string out;
    std::string err;
};

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments);

// A child started now and waited for later (a command that runs for some seconds while the
// test plays another program).
class BackgroundProcess {
public:
    BackgroundProcess(const std::string& program, const std::vector<std::string>& arguments);
    ~BackgroundProcess();
    BackgroundProcess(const BackgroundProcess&) = delete;
    BackgroundProcess& operator=(const BackgroundProcess&) = delete;
    ProcessResult Wait();
    // Waits up to `limit` until the program's standard output holds `text`.
    bool WaitForOutput(const std::string& text, std::chrono::milliseconds limit);
    // The same for its standard error.
    bool WaitForError(const std::string& text, std::chrono::milliseconds limit);
    void Signal(int signal);

private:
    bool WaitFor(const std::string& path, const std::string& text, std::chrono::milliseconds limit);
    int pid_ = -1;
    std::string outPath_, errPath_;
};

}  // namespace kestrune::cli::test
