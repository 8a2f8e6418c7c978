#include "platform/emulated/LinuxProcessMeter.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

namespace kestrune::platform {

namespace {

std::string ReadSmallFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Folder(pid_t id) { return "/proc/" + std::to_string(id); }

std::int64_t TicksTo100ns(std::int64_t ticks) {
    static const long perSecond = [] {
        const long hz = ::sysconf(_SC_CLK_TCK);
        return hz > 0 ? hz : 100;
    }();
    return ticks * 10'000'000 / perSecond;
}

bool Gone(char state) { return state == 'Z' || state == 'X' || state == 'x'; }

std::vector<pid_t> Children(pid_t id) {
    std::vector<pid_t> children;
    const std::string tasks = Folder(id) + "/task";
    DIR* dir = ::opendir(tasks.c_str());
    if (!dir) return children;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::atoi(entry->d_name) <= 0) continue;
        std::istringstream list(ReadSmallFile(tasks + "/" + entry->d_name + "/children"));
        for (long child = 0; list >> child;)
            if (child > 0 && child <= INT_MAX) children.push_back(static_cast<pid_t>(child));
    }
    ::closedir(dir);
    return children;
}

// One process's cost, its running descendants' added; `seen` guards against a loop through
// an id reused while we walked.
void AddCost(pid_t id, ProcessCost& total, std::set<pid_t>& seen, int depth) {
    if (depth > 64 || !seen.insert(id).second) return;
    const auto stat = ParseStatCost(ReadSmallFile(Folder(id) + "/stat"));
    if (!stat || Gone(stat->state)) return;
    total.cpuTime += TicksTo100ns(stat->ownTicks + stat->childrenTicks);
    const ProcessCost io = ParseIoCost(ReadSmallFile(Folder(id) + "/io"));
    total.bytesRead += io.bytesRead;
    total.bytesWritten += io.bytesWritten;
    for (const pid_t child : Children(id)) AddCost(child, total, seen, depth + 1);
}

class LinuxProcessMeter final : public ProcessMeter {
public:
    LinuxProcessMeter(pid_t id, std::uint64_t startTime) : id_(id), startTime_(startTime) {}

    CostReading Read() override {
        if (ended_) return {last_, true};
        const auto stat = ParseStatCost(ReadSmallFile(Folder(id_) + "/stat"));
        if (!stat || stat->startTime != startTime_ || Gone(stat->state)) {
            ended_ = true;
            return {last_, true};
        }
        ProcessCost now;
        std::set<pid_t> seen;
        AddCost(id_, now, seen, 0);
        // A child that has ended but is not yet waited for counts neither as running nor as
        // reaped for a moment: the figures never go back.
        last_.cpuTime = std::max(last_.cpuTime, now.cpuTime);
        last_.bytesRead = std::max(last_.bytesRead, now.bytesRead);
        last_.bytesWritten = std::max(last_.bytesWritten, now.bytesWritten);
        return {last_, false};
    }

private:
    pid_t id_;
    std::uint64_t startTime_;
    ProcessCost last_;
    bool ended_ = false;
};

}  // namespace

std::optional<StatCost> ParseStatCost(const std::string& line) {
    // The name sits in parentheses and may itself hold spaces and ")".
    const size_t close = line.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    std::istringstream rest(line.substr(close + 1));
    StatCost cost;
    std::string field;
    std::int64_t utime = 0, stime = 0, cutime = 0, cstime = 0;
    int number = 3;
    for (; rest >> field && number <= 22; ++number) {
        const auto value = [&] { return std::strtoll(field.c_str(), nullptr, 10); };
        switch (number) {
            case 3: cost.state = field.empty() ? '?' : field[0]; break;
            case 14: utime = value(); break;
            case 15: stime = value(); break;
            case 16: cutime = value(); break;
            case 17: cstime = value(); break;
            case 22: cost.startTime = std::strtoull(field.c_str(), nullptr, 10); break;
            default: break;
        }
    }
    if (number <= 22) return std::nullopt;  // cut short
    cost.ownTicks = utime + stime;
    cost.childrenTicks = cutime + cstime;
    return cost;
}

ProcessCost ParseIoCost(const std::string& text) {
    ProcessCost cost;
    std::istringstream lines(text);
    std::string key;
    std::uint64_t value = 0;
    while (lines >> key >> value) {
        if (key == "rchar:") cost.bytesRead = value;
        else if (key == "wchar:") cost.bytesWritten = value;
    }
    return cost;
}

std::unique_ptr<ProcessMeter> CreateLinuxProcessMeter(std::uint32_t id) {
    if (id == 0 || id > static_cast<std::uint32_t>(INT_MAX)) return nullptr;
    const auto pid = static_cast<pid_t>(id);
    const auto stat = ParseStatCost(ReadSmallFile(Folder(pid) + "/stat"));
    if (!stat || Gone(stat->state)) return nullptr;
    return std::make_unique<LinuxProcessMeter>(pid, stat->startTime);
}

}  // namespace kestrune::platform
