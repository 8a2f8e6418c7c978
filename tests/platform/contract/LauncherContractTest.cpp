// Starting commands minimised, reporting failures with the system's number and text, and
// the single-instance lock.

#include <cstdint>
#include <string>

#include "ContractFixture.h"

namespace kestrune::contract {
namespace {

using platform::ShowWindow;

using LauncherContract = ContractTest;

TEST_F(LauncherContract, ACommandStartedMinimisedRuns) {
    for (const ShowWindow show : {ShowWindow::Minimised, ShowWindow::Normal}) {
        const std::string marker = PathOf("started " + std::to_string(static_cast<int>(show)) + ".txt");
        const auto result = Os().launcher().StartCommand(ProbeCommand("touch " + Quote(marker)), show);
        ASSERT_TRUE(result.ok) << result.errorNumber << " " << result.errorText;
        EXPECT_TRUE(WaitFor([&] { return Os().files().FileExists(marker); })) << "the command did not run";
    }
}

// Windows hands a program's narrow arguments over in the ANSI code page, which has none of
// these letters; the program must read them from its wide command line.
TEST_F(LauncherContract, AStartedProgramReadsNonAsciiArgumentsWhole) {
    const std::string written = PathOf("arguments.txt");
    const std::string name = "Zoë 山田";
    const std::string folder = "C:\\Users\\Zoë\\日本";
    const auto result = Os().launcher().StartCommand(
        ProbeCommand("args " + Quote(written) + " " + Quote(name) + " " + Quote(folder)), ShowWindow::Minimised);
    ASSERT_TRUE(result.ok) << result.errorNumber << " " << result.errorText;
    ASSERT_TRUE(WaitFor([&] { return Os().files().FileExists(written); })) << "the command did not run";
    EXPECT_EQ(Os().files().ReadFile(written).value_or(""), name + "\n" + folder + "\n");
}

TEST_F(LauncherContract, AProgramThatCannotStartReportsTheSystemsErrorNumberAndText) {
    const auto missing =
        Os().launcher().StartCommand(Quote(PathOf("no such program.exe")) + " --flag", ShowWindow::Minimised);
    EXPECT_FALSE(missing.ok) << "a missing program was reported as started";
    EXPECT_NE(missing.errorNumber, 0);
    EXPECT_FALSE(missing.errorText.empty());

    // A file that is there but is no program: no execute permission on Linux, no executable
    // image on Windows.
    const std::string text = PathOf("not a program.exe");
    ASSERT_TRUE(Os().files().WriteFileAtomic(text, "just text\n"));
    const auto refused = Os().launcher().StartCommand(Quote(text) + " -a", ShowWindow::Minimised);
    EXPECT_FALSE(refused.ok) << "a file that is not a program was reported as started";
    EXPECT_NE(refused.errorNumber, 0);
    EXPECT_FALSE(refused.errorText.empty());
}

TEST_F(LauncherContract, TheStartAnswersTheStartedProgramsOwnProcessId) {
    const std::string pidFile = PathOf("started.pid");
    const auto started =
        Os().launcher().StartCommand(ProbeCommand("hold " + Quote(pidFile) + " 60"), ShowWindow::Minimised);
    ASSERT_TRUE(started.ok) << started.errorText;
    std::uint32_t written = 0;
    ASSERT_TRUE(WaitFor([&] {
        const auto text = Os().files().ReadFile(pidFile);
        if (!text || text->empty()) return false;
        written = static_cast<std::uint32_t>(std::stoul(*text));
        return true;
    })) << "the program did not run";
    EXPECT_EQ(started.processId, written) << "the id answered is not the program's own";
    EXPECT_TRUE(Os().processes().Terminate(written));
}

using InstanceLockContract = ContractTest;

TEST_F(InstanceLockContract, OnlyOneCopyHoldsTheLockUntilItReleasesIt) {
    auto second = SecondPlatform();
    ASSERT_TRUE(Os().instanceLock().TryAcquire());
    EXPECT_TRUE(Os().instanceLock().TryAcquire()) << "the holder may ask again";
    EXPECT_FALSE(second->instanceLock().TryAcquire());
    Os().instanceLock().Release();
    EXPECT_TRUE(second->instanceLock().TryAcquire());
    second->instanceLock().Release();
}

TEST_F(InstanceLockContract, ALockLeftByAProcessThatDiedDoesNotBlock) {
    const std::string pidFile = PathOf("holder.pid");
    const auto started =
        Os().launcher().StartCommand(ProbeCommand("lock " + Quote(AppFolderGiven()) + " " + Quote(pidFile) +
                                                  " 60 --machine " + Quote(PathOf("machine"))),
                                     ShowWindow::Minimised);
    ASSERT_TRUE(started.ok) << started.errorText;
    std::uint32_t holder = 0;
    ASSERT_TRUE(WaitFor([&] {
        const auto text = Os().files().ReadFile(pidFile);
        if (!text || text->empty()) return false;
        holder = static_cast<std::uint32_t>(std::stoul(*text));
        return true;
    })) << "the other copy did not take the lock";

    EXPECT_FALSE(Os().instanceLock().TryAcquire()) << "another copy holds it";
    ASSERT_TRUE(Os().processes().Terminate(holder));
    EXPECT_TRUE(WaitFor([&] { return Os().instanceLock().TryAcquire(); }));
    Os().instanceLock().Release();
}

}  // namespace
}  // namespace kestrune::contract
