#pragma once
// The real Linux processes, read from /proc, with Windows' priority classes carried by nice
// values. The mapping, one nice value per class and a band of nice values per base priority,
// is symmetric: a class set and read back gives the same class.
//
//   class          set nice   reads back for nice   base priority
//   Realtime         -20            -20                  24
//   High             -10         -19 .. -10              13
//   Above Normal      -5          -9 .. -5               10
//   Normal             0          -4 .. 4                 8
//   Below Normal      10           5 .. 14                6
//   Idle (Low)        19          15 .. 19                4
//
// Real-time scheduling (SCHED_FIFO, SCHED_RR) also reads as base priority 24; it is never
// set, because a runaway real-time process can stop the whole machine. Raising a priority
// (a lower nice value) needs CAP_SYS_NICE; without it the change fails and is reported.
//
// Where the kernel groups processes by session (autogroup), a nice value only weighs against
// the processes of the same session: a program in a session of its own (as the launcher starts
// them) competes with the user's programs by its session's weight. Such a session, holding only
// the process and what it started, takes the same nice value, so that the class reaches as far
// as it does on Windows.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Processes.h"

namespace kestrune::platform {

// The nice value that stands for a priority class; nullopt for a value that is no class.
std::optional<int> NiceForClass(std::uint32_t priorityClass);
// The Windows base priority of a process at this nice value and scheduling policy.
int BasePriorityForNice(int nice, bool realtimePolicy = false);

struct SessionMember {
    int id = 0;
    int parent = 0;
    int session = 0;
};
// Whether every process of `id`'s session is `id` or started by it (through any number of
// steps), so that the session's weight is that program's alone.
bool SessionIsOwnedBy(int id, const std::vector<SessionMember>& processes);

class LinuxProcesses final : public Processes {
public:
    std::vector<ProcessInfo> List() override;
    std::string PathOf(std::uint32_t id) override;
    // Sets every thread of the process, since Linux keeps a nice value per thread.
    bool SetPriorityClass(std::uint32_t id, std::uint32_t priorityClass) override;
    int SetPriorityClassByName(const std::string& name, std::uint32_t priorityClass) override;
    // Ends the process at once (SIGKILL), as TerminateProcess does.
    bool Terminate(std::uint32_t id) override;
    // Linux has no token privileges to enable; the calls succeed.
    int EnablePrivilege(const std::string& name) override;
    // Asks for the High class; quietly stays put where that is not allowed.
    void RaiseOwnPriority() override;
    std::unique_ptr<ProcessMeter> Meter(std::uint32_t id) override;
};

}  // namespace kestrune::platform
