// Starting a command line through the shell, detached from the program.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/emulated/ShellLauncher.h"
#include "support/TestMachine.h"

namespace kestrune::platform {
namespace {

namespace fs = std::filesystem;

std::string WaitForFile(const std::string& path) {
    for (int i = 0; i < 500; ++i) {
        std::string text = test::ReadText(path);
        if (!text.empty() && text.back() == '\n') return text;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return "";
}

// Parent id and session id of a process, from /proc/<id>/stat fields 4 and 6.
std::pair<long, long> ParentAndSession(long pid) {
    const std::string text = test::ReadText("/proc/" + std::to_string(pid) + "/stat");
    std::istringstream rest(text.substr(text.rfind(')') + 1));
    std::string state;
    long parent = 0, group = 0, session = 0;
    rest >> state >> parent >> group >> session;
    return {parent, session};
}

TEST(ShellLauncherTest, TheCommandRunsThroughTheShellDetachedAndOutlivesItsStarter) {
    test::TempFolder temp;
    const std::string marker = temp.Path() + "started";
    // The starter is a process of its own, so that it can end before the command does.
    const pid_t starter = ::fork();
    ASSERT_GE(starter, 0);
    if (starter == 0) {
        ShellLauncher launcher;
        const LaunchResult result = launcher.StartCommand(
            "echo \"$$ $0\" > '" + marker + ".tmp' && mv '" + marker + ".tmp' '" + marker + "' && exec sleep 20",
            ShowWindow::Minimised);
        ::_exit(result.ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(starter, &status, 0), starter);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);

    const std::string line = WaitForFile(marker);
    ASSERT_FALSE(line.empty()) << "the command never ran";
    std::istringstream fields(line);
    long pid = 0;
    std::string shell;
    fields >> pid >> shell;
    EXPECT_EQ(shell, "/bin/sh");
    ASSERT_TRUE(fs::exists("/proc/" + std::to_string(pid))) << "the command ended with its starter";
    const auto [parent, session] = ParentAndSession(pid);
    EXPECT_NE(parent, starter);
    EXPECT_NE(parent, ::getpid());
    EXPECT_NE(session, ::getsid(0)) << "the command is in a session of its own";
    ::kill(static_cast<pid_t>(pid), SIGKILL);
}

TEST(ShellLauncherTest, LeavesNoChildBehindForTheProgramToReap) {
    test::TempFolder temp;
    ShellLauncher launcher;
    const std::string marker = temp.Path() + "done";
    ASSERT_TRUE(launcher.StartCommand("echo done > '" + marker + "'", ShowWindow::Normal).ok);
    ASSERT_FALSE(WaitForFile(marker).empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1) << "a child of the program is left over";
    EXPECT_EQ(errno, ECHILD);
}

TEST(ShellLauncherTest, APlainCommandLineIsSplitAsTheShellWouldAndAnythingElseGoesToTheShell) {
    using Words = std::vector<std::string>;
    EXPECT_EQ(PlainCommandWords("/nonexistent/prog.exe -a"), (Words{"/nonexistent/prog.exe", "-a"}));
    EXPECT_EQ(PlainCommandWords("  \"/opt/My Apps/run\"  'a b'\tc\\ d \"q\\\"x\\y\" ''"),
              (Words{"/opt/My Apps/run", "a b", "c d", "q\"x\\y", ""}));
    EXPECT_EQ(PlainCommandWords("/bin/sh -c 'touch /tmp/x; echo $HOME'"),
              (Words{"/bin/sh", "-c", "touch /tmp/x; echo $HOME"}));
    for (const char* shellOnly : {"echo hi > file", "a && b", "a | b", "a; b", "echo $HOME", "echo \"$HOME\"",
                                  "ls *.txt", "~/bin/tool", "NAME=value tool", "echo `date`", "'unclosed", "", "   "})
        EXPECT_EQ(PlainCommandWords(shellOnly), std::nullopt) << shellOnly;
}

TEST(ShellLauncherTest, AProgramThatIsMissingOrNotExecutableFailsTheStartItself) {
    ShellLauncher launcher;
    const LaunchResult missing = launcher.StartCommand("/nonexistent/prog.exe -a", ShowWindow::Minimised);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.errorNumber, ENOENT);
    EXPECT_EQ(launcher.StartCommand("kestrune-no-such-program-anywhere --x", ShowWindow::Minimised).errorNumber,
              ENOENT);

    test::TempFolder temp;
    const std::string notExecutable = temp.Path() + "plain file";
    test::WriteText(notExecutable, "text");
    const LaunchResult refused = launcher.StartCommand("\"" + notExecutable + "\" -a", ShowWindow::Minimised);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.errorNumber, EACCES);
    EXPECT_EQ(refused.errorText, std::strerror(EACCES));

    // A bare name is found along PATH, and the id answered is the program's own.
    const LaunchResult started = launcher.StartCommand("sleep 5", ShowWindow::Minimised);
    ASSERT_TRUE(started.ok) << started.errorText;
    ASSERT_NE(started.processId, 0u);
    std::error_code ec;
    EXPECT_EQ(fs::read_symlink("/proc/" + std::to_string(started.processId) + "/exe", ec).filename(), "sleep");
    ::kill(static_cast<pid_t>(started.processId), SIGKILL);
}

TEST(ShellLauncherTest, AFailedStartAnswersTheErrorNumberAndItsText) {
    const LaunchResult missing = SpawnDetached({"/nonexistent/kestrune-program"});
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.errorNumber, ENOENT);
    EXPECT_EQ(missing.errorText, std::strerror(ENOENT));

    test::TempFolder temp;
    const std::string notExecutable = temp.Path() + "plain.txt";
    test::WriteText(notExecutable, "text");
    const LaunchResult refused = SpawnDetached({notExecutable});
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.errorNumber, EACCES);
    EXPECT_FALSE(SpawnDetached({}).ok);
}

}  // namespace
}  // namespace kestrune::platform
