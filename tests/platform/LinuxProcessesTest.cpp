// Real Linux processes seen as Windows processes: names, paths, base priorities, priority
// classes set by identifier and by name, and ending a process.
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/emulated/LinuxProcesses.h"
#include "support/TestMachine.h"

namespace kestrune::platform {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t Class(PriorityClass c) { return static_cast<std::uint32_t>(c); }

int NiceOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream rest(text.substr(text.rfind(')') + 1));
    std::string field;
    for (int number = 3; rest >> field; ++number) {
        if (number == 19) return std::stoi(field);
    }
    return 999;
}

// A sleeping child running a copy of sleep under a name no other process has.
class Sleeper {
public:
    explicit Sleeper(const std::string& folder) {
        name_ = "KestruneSleeper" + std::to_string(::getpid());
        path_ = folder + name_;
        fs::copy_file("/usr/bin/sleep", path_);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::execl(path_.c_str(), path_.c_str(), "30", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        // Wait for the exec, after which /proc shows the copy as the executable.
        for (int i = 0; i < 200 && fs::read_symlink("/proc/" + std::to_string(pid_) + "/exe", ec_) != path_; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ~Sleeper() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    pid_t Pid() const { return pid_; }
    const std::string& Name() const { return name_; }
    const std::string& Path() const { return path_; }
    // Reaps the child; the signal that ended it, or 0.
    int Reap() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    }

private:
    std::string name_, path_;
    pid_t pid_ = -1;
    std::error_code ec_;
};

std::optional<ProcessInfo> Find(Processes& processes, std::uint32_t id) {
    for (const ProcessInfo& info : processes.List()) {
        if (info.id == id) return info;
    }
    return std::nullopt;
}

TEST(LinuxProcessesTest, EveryClassReadsBackAsItsOwnBasePriority) {
    struct Case {
        PriorityClass priorityClass;
        int nice;
        int basePriority;
    };
    const std::vector<Case> cases = {
        {PriorityClass::Realtime, -20, 24}, {PriorityClass::High, -10, 13},      {PriorityClass::AboveNormal, -5, 10},
        {PriorityClass::Normal, 0, 8},      {PriorityClass::BelowNormal, 10, 6}, {PriorityClass::Idle, 19, 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NiceForClass(Class(c.priorityClass)), c.nice);
        EXPECT_EQ(BasePriorityForNice(c.nice), c.basePriority);
    }
    const std::vector<std::pair<int, int>> bands = {{-19, 13}, {-9, 10}, {-4, 8}, {4, 8}, {5, 6}, {14, 6}, {15, 4}};
    for (const auto& [nice, base] : bands) EXPECT_EQ(BasePriorityForNice(nice), base) << nice;
    EXPECT_EQ(BasePriorityForNice(0, true), 24);
    EXPECT_FALSE(NiceForClass(0));
    EXPECT_FALSE(NiceForClass(0x1234));
}

TEST(LinuxProcessesTest, ASessionIsAProgramsOwnOnlyWhenAllItHoldsDescendsFromIt) {
    // Sessions far from any the test runs in.
    constexpr int kSession = 0x3ffffff0;
    const std::vector<SessionMember> started = {
        {500, 1, kSession}, {501, 500, kSession}, {502, 501, kSession}, {600, 1, kSession + 1}};
    EXPECT_TRUE(SessionIsOwnedBy(500, started)) << "the program, its child and grandchild";
    EXPECT_FALSE(SessionIsOwnedBy(501, started)) << "its parent shares the session";
    EXPECT_FALSE(SessionIsOwnedBy(700, started)) << "gone";

    std::vector<SessionMember> orphaned = started;
    orphaned.push_back({503, 1, kSession});  // started by it, then left to init: cannot tell
    EXPECT_FALSE(SessionIsOwnedBy(500, orphaned));

    const std::vector<SessionMember> looped = {{500, 1, kSession}, {510, 511, kSession}, {511, 510, kSession}};
    EXPECT_FALSE(SessionIsOwnedBy(500, looped)) << "parent links read while processes changed";

    const std::vector<SessionMember> ours = {{static_cast<int>(::getpid()), 1, static_cast<int>(::getsid(0))}};
    EXPECT_FALSE(SessionIsOwnedBy(::getpid(), ours)) << "the user's own session is never one program's";
}

TEST(LinuxProcessesTest, AChildProcessIsListedAndItsPriorityChangesAreVisibleInProc) {
    test::TempFolder temp;
    Sleeper child(temp.Path());
    LinuxProcesses processes;
    const auto id = static_cast<std::uint32_t>(child.Pid());

    errno = 0;
    const int ownNice = ::getpriority(PRIO_PROCESS, 0);
    const auto listed = Find(processes, id);
    ASSERT_TRUE(listed);
    EXPECT_EQ(listed->name, child.Name());
    EXPECT_EQ(listed->path, child.Path());
    EXPECT_EQ(listed->basePriority, BasePriorityForNice(ownNice));
    EXPECT_EQ(processes.PathOf(id), child.Path());

    ASSERT_LE(ownNice, 10) << "the test runs at a nice value that Below Normal cannot reach";
    EXPECT_TRUE(processes.SetPriorityClass(id, Class(PriorityClass::BelowNormal)));
    EXPECT_EQ(NiceOf(child.Pid()), 10);
    EXPECT_EQ(Find(processes, id)->basePriority, 6);

    // By name, ignoring case: only our uniquely named child answers to it.
    std::string shouted = child.Name();
    for (char& c : shouted) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(processes.SetPriorityClassByName(shouted, Class(PriorityClass::Idle)), 1);
    EXPECT_EQ(NiceOf(child.Pid()), 19);
    EXPECT_EQ(Find(processes, id)->basePriority, 4);
    EXPECT_EQ(processes.SetPriorityClassByName("no such program.exe", Class(PriorityClass::Idle)), 0);
    // Idle waits for every other program: a waking one must not wait out its slice.
    EXPECT_EQ(::sched_getscheduler(child.Pid()), SCHED_IDLE);
    if (::geteuid() == 0) {
        EXPECT_TRUE(processes.SetPriorityClass(id, Class(PriorityClass::Normal)));
        EXPECT_EQ(NiceOf(child.Pid()), 0);
        EXPECT_EQ(::sched_getscheduler(child.Pid()), SCHED_OTHER) << "Normal again takes its turns as before";
    }

    // Asking for more than an ordinary user may have is refused, not thrown.
    if (::geteuid() != 0) {
        EXPECT_FALSE(processes.SetPriorityClass(id, Class(PriorityClass::High)));
    }
    EXPECT_FALSE(processes.SetPriorityClass(id, 0x1234));

    EXPECT_TRUE(processes.Terminate(id));
    EXPECT_EQ(child.Reap(), SIGKILL);
    EXPECT_FALSE(processes.Terminate(id)) << "a vanished process";
    EXPECT_FALSE(processes.SetPriorityClass(id, Class(PriorityClass::Normal)));
    EXPECT_EQ(processes.PathOf(id), "");
}

TEST(LinuxProcessesTest, IdentifierZeroNeverAddressesTheProgramItself) {
    LinuxProcesses processes;
    errno = 0;
    const int before = ::getpriority(PRIO_PROCESS, 0);
    EXPECT_FALSE(processes.SetPriorityClass(0, Class(PriorityClass::Idle)));
    EXPECT_EQ(::getpriority(PRIO_PROCESS, 0), before);
    EXPECT_FALSE(processes.Terminate(0));
    EXPECT_FALSE(processes.Terminate(0xFFFFFFFFu)) << "would be kill(-1), every process we may signal";
    EXPECT_EQ(processes.PathOf(0), "");
    EXPECT_EQ(processes.EnablePrivilege("SeDebugPrivilege"), 0);

    const auto self = Find(processes, static_cast<std::uint32_t>(::getpid()));
    ASSERT_TRUE(self);
    EXPECT_EQ(self->path, fs::read_symlink("/proc/self/exe").string());
    EXPECT_EQ(self->name, fs::path(self->path).filename().string());
}

}  // namespace
}  // namespace kestrune::platform
