#include "ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace kestrune::cli::test {

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string TempFile() {
    std::string pattern = "/tmp/kestrunec-test-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) throw std::runtime_error("cannot make a temporary file");
    ::close(fd);
    return pattern;
}

// Output goes to files rather than pipes, so a chatty child never blocks on a full pipe.
int Spawn(const std::string& program, const std::vector<std::string>& arguments, const std::string& outPath,
          const std::string& errPath) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_TRUNC);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_TRUNC);
        if (in < 0 || out < 0 || err < 0) ::_exit(127);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    return pid;
}

ProcessResult Collect(int pid, const std::string& outPath, const std::string& errPath) {
    int raw = 0;
    ProcessResult result;
    if (::waitpid(pid, &raw, 0) == pid && WIFEXITED(raw)) result.status = WEXITSTATUS(raw);
    result.out = ReadAll(outPath);
    result.err = ReadAll(errPath);
    ::unlink(outPath.c_str());
    ::unlink(errPath.c_str());
    return result;
}

}  // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments) {
    const std::string outPath = TempFile(), errPath = TempFile();
    return Collect(Spawn(program, arguments, outPath, errPath), outPath, errPath);
}

BackgroundProcess::BackgroundProcess(const std::string& program, const std::vector<std::string>& arguments)
    : outPath_(TempFile()), errPath_(TempFile()) {
    pid_ = Spawn(program, arguments, outPath_, errPath_);
}

BackgroundProcess::~BackgroundProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        Collect(pid_, outPath_, errPath_);
    }
}

bool BackgroundProcess::WaitFor(const std::string& path, const std::string& text, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (ReadAll(path).find(text) != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

bool BackgroundProcess::WaitForOutput(const std::string& text, std::chrono::milliseconds limit) {
    return WaitFor(outPath_, text, limit);
}

bool BackgroundProcess::WaitForError(const std::string& text, std::chrono::milliseconds limit) {
    return WaitFor(errPath_, text, limit);
}

void BackgroundProcess::Signal(int signal) {
    if (pid_ > 0) ::kill(pid_, signal);
}

ProcessResult BackgroundProcess::Wait() {
    const int pid = pid_;
    pid_ = -1;
    return Collect(pid, outPath_, errPath_);
}

}  // namespace kestrune::cli::test
