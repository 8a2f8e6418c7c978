#include "platform/emulated/ShellLauncher.h"

#include <fcntl.h>
#include <signal.h>  // NOLINT(modernize-deprecated-headers): kill() is POSIX, which <csignal> need not declare
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace kestrune::platform {

namespace {

constexpr const char* kShell = "/bin/sh";

LaunchResult Failure(int error) {
    LaunchResult result;
    result.errorNumber = error;
    result.errorText = std::strerror(error);
    return result;
}

// Characters that mean something to the shell wherever they stand unquoted: a plain command
// line has none of them.
bool IsShellSyntax(char c) { return std::string_view("|&;<>()$`*?[]~{}#\n").find(c) != std::string_view::npos; }

// The program a bare name stands for, searched along PATH as the shell would; an error number
// when there is none that may be run.
std::pair<std::string, int> FindProgram(const std::string& name) {
    if (name.find('/') != std::string::npos) return {name, 0};
    const char* path = std::getenv("PATH");
    std::string_view folders = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
    int error = ENOENT;
    while (true) {
        const size_t colon = folders.find(':');
        std::string folder(folders.substr(0, colon));
        if (folder.empty()) folder = ".";
        const std::string candidate = folder + "/" + name;
        struct stat st {};
        if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            if (::access(candidate.c_str(), X_OK) == 0) return {candidate, 0};
            error = EACCES;
        }
        if (colon == std::string_view::npos) break;
        folders.remove_prefix(colon + 1);
    }
    return {"", error};
}

bool ReadWhole(int fd, void* data, size_t size) {
    ssize_t got = 0;
    do {
        got = ::read(fd, data, size);
    } while (got < 0 && errno == EINTR);
    return got == static_cast<ssize_t>(size);
}

void ReportAndExit(int pipeFd, int error) {
    (void)!::write(pipeFd, &error, sizeof error);
    ::_exit(127);
}

// Runs in the grandchild, after fork: only async-signal-safe calls from here on.
[[noreturn]] void BecomeCommand(char* const* argv, int pipeFd) {
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int sig : {SIGPIPE, SIGCHLD, SIGHUP, SIGINT, SIGQUIT, SIGTERM}) ::signal(sig, SIG_DFL);
    // The program may have raised its own priority; started programs run at the usual one.
    errno = 0;
    if (::getpriority(PRIO_PROCESS, 0) < 0 && errno == 0) ::setpriority(PRIO_PROCESS, 0, 0);
    const int devNull = ::open("/dev/null", O_RDONLY);
    if (devNull >= 0 && devNull != STDIN_FILENO) {
        ::dup2(devNull, STDIN_FILENO);
        ::close(devNull);
    }
    ::execv(argv[0], argv);
    ReportAndExit(pipeFd, errno);
    ::_exit(127);
}

}  // namespace

LaunchResult SpawnDetached(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return Failure(EINVAL);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    // The grandchild reports a failed exec on one pipe; the child in between tells the
    // grandchild's id on the other.
    int errorPipe[2];
    int idPipe[2];
    if (::pipe2(errorPipe, O_CLOEXEC) != 0) return Failure(errno);
    if (::pipe2(idPipe, O_CLOEXEC) != 0) {
        const int error = errno;
        ::close(errorPipe[0]);
        ::close(errorPipe[1]);
        return Failure(error);
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(errorPipe[0]);
        ::close(idPipe[0]);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild < 0) ReportAndExit(errorPipe[1], errno);
        if (grandchild > 0) {
            (void)!::write(idPipe[1], &grandchild, sizeof grandchild);
            ::_exit(0);
        }
        ::close(idPipe[1]);
        BecomeCommand(argv.data(), errorPipe[1]);
    }
    const int forkError = errno;
    ::close(errorPipe[1]);
    ::close(idPipe[1]);
    if (child < 0) {
        ::close(errorPipe[0]);
        ::close(idPipe[0]);
        return Failure(forkError);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    pid_t started = 0;
    if (!ReadWhole(idPipe[0], &started, sizeof started)) started = 0;
    ::close(idPipe[0]);
    // Answers once the exec has happened (the pipe closes with it) or failed: the process is
    // then the program, and a priority set on it is not undone by the start.
    int childError = 0;
    const bool failed = ReadWhole(errorPipe[0], &childError, sizeof childError);
    ::close(errorPipe[0]);
    if (failed) return Failure(childError);
    LaunchResult result;
    result.ok = true;
    result.processId = static_cast<std::uint32_t>(started);
    return result;
}

std::optional<std::vector<std::string>> PlainCommandWords(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ' ' || c == '\t') {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '\'') {
            const size_t close = line.find('\'', i + 1);
            if (close == std::string_view::npos) return std::nullopt;
            word.append(line.substr(i + 1, close - i - 1));
            i = close;
        } else if (c == '"') {
            for (++i;; ++i) {
                if (i >= line.size()) return std::nullopt;
                const char q = line[i];
                if (q == '"') break;
                if (q == '$' || q == '`') return std::nullopt;
                if (q == '\\' && i + 1 < line.size() &&
                    std::string_view("$`\"\\").find(line[i + 1]) != std::string_view::npos)
                    ++i;
                word += line[i];
            }
        } else if (c == '\\') {
            if (i + 1 >= line.size() || line[i + 1] == '\n') return std::nullopt;
            word += line[++i];
        } else if (IsShellSyntax(c) || (c == '=' && words.empty())) {
            // "NAME=value program" sets a variable for the program: the shell's business too.
            return std::nullopt;
        } else {
            word += c;
        }
    }
    if (inWord) words.push_back(std::move(word));
    if (words.empty()) return std::nullopt;
    return words;
}

LaunchResult ShellLauncher::StartCommand(const std::string& commandLine, ShowWindow) {
    std::optional<std::vector<std::string>> words = PlainCommandWords(commandLine);
    if (!words) return SpawnDetached({kShell, "-c", commandLine});
    auto [program, error] = FindProgram(words->front());
    if (error != 0) return Failure(error);
    words->front() = std::move(program);
    return SpawnDetached(*words);
}

}  // namespace kestrune::platform
