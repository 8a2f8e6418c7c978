// The process list, priority classes, ending a process, privileges and processor times,
// checked on this test process and on a helper it starts.

#include <algorithm>
#include <cctype>
#include <chrono>
#include <optional>
#include <string>
#include <thread>

#include "ContractFixture.h"
#include "ProcessId.h"

namespace kestrune::contract {
namespace {

using platform::PriorityClass;
using platform::ProcessInfo;
using platform::ShowWindow;

constexpr std::uint32_t kNoSuchProcess = 0x7FFFFFF0u;

std::optional<ProcessInfo> FindProcess(platform::Processes& processes, std::uint32_t id) {
    for (const ProcessInfo& info : processes.List())
        if (info.id == id) return info;
    return std::nullopt;
}

std::uint32_t Class(PriorityClass priority) { return static_cast<std::uint32_t>(priority); }

class ProcessContract : public ContractTest {
protected:
    // Starts the helper, which waits a minute; answers its process id, 0 when it did not start.
    std::uint32_t StartHelper() {
        const std::string pidFile = PathOf("helper.pid");
        const auto started =
            Os().launcher().StartCommand(ProbeCommand("hold " + Quote(pidFile) + " 60"), ShowWindow::Minimised);
        if (!started.ok) return 0;
        std::uint32_t id = 0;
        WaitFor([&] {
            const auto text = Os().files().ReadFile(pidFile);
            if (!text || text->empty()) return false;
            id = static_cast<std::uint32_t>(std::stoul(*text));
            return true;
        });
        helper_ = id;
        return id;
    }
    void TearDown() override {
        if (helper_) Os().processes().Terminate(helper_);
        ContractTest::TearDown();
    }
    std::uint32_t helper_ = 0;
};

TEST_F(ProcessContract, ListHoldsThisTestWithItsNameAndPath) {
    const std::string expectedName = Os().system().ProgramName() + Os().system().ProgramExtension();
    const auto self = FindProcess(Os().processes(), CurrentProcessId());
    ASSERT_TRUE(self.has_value());
    EXPECT_TRUE(EqualIgnoringCase(self->name, expectedName)) << self->name;
    EXPECT_TRUE(EqualIgnoringCase(FileNameOf(self->path), expectedName)) << self->path;
    EXPECT_TRUE(Os().files().FileExists(self->path)) << self->path;
    EXPECT_EQ(Os().processes().PathOf(CurrentProcessId()), self->path);
    const int bases[] = {4, 6, 8, 10, 13, 24};
    EXPECT_NE(std::find(std::begin(bases), std::end(bases), self->basePriority), std::end(bases)) << self->basePriority;
}

TEST_F(ProcessContract, PriorityClassesSetOnAHelperReadBackAsBasePriorities) {
    const std::uint32_t helper = StartHelper();
    ASSERT_NE(helper, 0u) << "the helper did not start";
    const auto before = FindProcess(Os().processes(), helper);
    ASSERT_TRUE(before.has_value());
    EXPECT_TRUE(EqualIgnoringCase(before->name, ProbeFileName())) << before->name;

    struct Case {
        PriorityClass priority;
        int base;
    };
    // Only ever lowered: raising needs rights a test cannot count on.
    for (const Case c : {Case{PriorityClass::BelowNormal, 6}, Case{PriorityClass::Idle, 4}}) {
        SCOPED_TRACE(c.base);
        ASSERT_TRUE(Os().processes().SetPriorityClass(helper, Class(c.priority)));
        const auto after = FindProcess(Os().processes(), helper);
        ASSERT_TRUE(after.has_value());
        EXPECT_EQ(after->basePriority, c.base);
    }

    std::string upperName = ProbeFileName();
    for (char& ch : upperName) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    EXPECT_GE(Os().processes().SetPriorityClassByName(upperName, Class(PriorityClass::Idle)), 1)
        << "names compare ignoring case";
    EXPECT_EQ(Os().processes().SetPriorityClassByName("no such program.exe", Class(PriorityClass::Idle)), 0);
}

// What the delayed run does to each program it starts: lowered to Idle at first, then Normal.
// Windows lets a program raise its own children again; Linux only with CAP_SYS_NICE.
TEST_F(ProcessContract, AHelperLoweredToIdleGoesBackToNormal) {
    const std::uint32_t helper = StartHelper();
    ASSERT_NE(helper, 0u) << "the helper did not start";
    ASSERT_TRUE(Os().processes().SetPriorityClass(helper, Class(PriorityClass::Idle)));
    ASSERT_EQ(FindProcess(Os().processes(), helper).value_or(ProcessInfo{}).basePriority, 4);
    if (!Os().processes().SetPriorityClass(helper, Class(PriorityClass::Normal)))
        GTEST_SKIP() << "this account may not raise a priority again";
    const auto after = FindProcess(Os().processes(), helper);
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(after->basePriority, 8);
}

TEST_F(ProcessContract, TerminatingEndsTheHelper) {
    const std::uint32_t helper = StartHelper();
    ASSERT_NE(helper, 0u) << "the helper did not start";
    ASSERT_TRUE(Os().processes().Terminate(helper));
    EXPECT_TRUE(WaitFor([&] { return !FindProcess(Os().processes(), helper).has_value(); }))
        << "the process is still listed";
    helper_ = 0;
}

TEST_F(ProcessContract, AbsentProcessesCannotBeReadOrChanged) {
    EXPECT_EQ(Os().processes().PathOf(kNoSuchProcess), "");
    EXPECT_FALSE(Os().processes().Terminate(kNoSuchProcess));
    EXPECT_FALSE(Os().processes().SetPriorityClass(kNoSuchProcess, Class(PriorityClass::Normal)));
}

TEST_F(ProcessContract, PrivilegesAnswerTheSystemsErrorNumber) {
    // Enabled (0), or not held by this account (ERROR_NOT_ALL_ASSIGNED): never another failure
    // for the two privileges the program asks for.
    for (const char* name : {"SeIncreaseBasePriorityPrivilege", "SeDebugPrivilege"}) {
        const int result = Os().processes().EnablePrivilege(name);
        EXPECT_TRUE(result == 0 || result == 1300) << name << ": " << result;
    }
    const int unknown = Os().processes().EnablePrivilege("SeNoSuchPrivilege");
    // Linux has no privileges to look up; the emulated machine enables every name.
    if (std::string(BackendName()) != "emulated") {
        EXPECT_NE(unknown, 0);
    }
}

TEST_F(ProcessContract, ProcessorTimesAdvanceWithTheClock) {
    auto& times = Os().processorTimes();
    const auto processors = times.ProcessorCount();
    ASSERT_TRUE(processors.has_value());
    EXPECT_GE(*processors, 1);

    const auto time1 = times.CurrentTime();
    const auto idle1 = times.IdleTime();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto time2 = times.CurrentTime();
    const auto idle2 = times.IdleTime();
    ASSERT_TRUE(time1 && idle1 && time2 && idle2);

    const std::int64_t elapsed = *time2 - *time1;  // 100-nanosecond units
    EXPECT_GE(elapsed, 2'500'000) << "300 ms passed";
    EXPECT_LT(elapsed, 600'000'000);
    EXPECT_GE(*idle2, *idle1);
    // Idle time counts all processors together, so it cannot grow faster than the clock on all
    // of them (with a tick of slack each).
    EXPECT_LE(*idle2 - *idle1, (elapsed + 200'000) * *processors);
}

}  // namespace
}  // namespace kestrune::contract
