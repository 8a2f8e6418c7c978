// Starting commands minimised, reporting failures with the system's number and text, and
// the single-instance lock.

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

TEST_F(LauncherContract, AMissingProgramReportsTheSystemsErrorNumberAndText) {
    const auto result =
        Os().launcher().StartCommand(Quote(PathOf("no such program.exe")) + " --flag", ShowWindow::Minimised);
    if (result.ok) {
        // The emulated machine hands every command to /bin/sh, which can only report a
        // missing program in its exit status, after the start has succeeded.
        EXPECT_STREQ(BackendName(), "emulated") << "Windows cannot start a missing program";
        GTEST_SKIP() << "this backend reports a missing program only after starting the shell";
    }
    EXPECT_NE(result.errorNumber, 0);
    EXPECT_FALSE(result.errorText.empty());
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
