#include "platform/emulated/ShellLauncher.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kestrune::platform {

namespace {

constexpr const char* kShell = "/bin/sh";

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
    LaunchResult result;
    if (arguments.empty()) {
        result.errorNumber = EINVAL;
        result.errorText = std::strerror(EINVAL);
        return result;
    }
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    int errorPipe[2];
    if (::pipe2(errorPipe, O_CLOEXEC) != 0) {
        result.errorNumber = errno;
        result.errorText = std::strerror(errno);
        return result;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(errorPipe[0]);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild < 0) ReportAndExit(errorPipe[1], errno);
        if (grandchild > 0) ::_exit(0);
        BecomeCommand(argv.data(), errorPipe[1]);
    }
    const int forkError = errno;
    ::close(errorPipe[1]);
    if (child < 0) {
        ::close(errorPipe[0]);
        result.errorNumber = forkError;
        result.errorText = std::strerror(forkError);
        return result;
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int childError = 0;
    ssize_t got = 0;
    do {
        got = ::read(errorPipe[0], &childError, sizeof childError);
    } while (got < 0 && errno == EINTR);
    ::close(errorPipe[0]);
    if (got == static_cast<ssize_t>(sizeof childError)) {
        result.errorNumber = childError;
        result.errorText = std::strerror(childError);
        return result;
    }
    result.ok = true;
    return result;
}

LaunchResult ShellLauncher::StartCommand(const std::string& commandLine, ShowWindow) {
    return SpawnDetached({kShell, "-c", commandLine});
}

}  // namespace kestrune::platform
