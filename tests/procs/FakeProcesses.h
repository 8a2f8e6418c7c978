#pragma once
// A process list the test writes by hand, standing in for the system's, and a platform that
// serves it beside a temporary machine's files.

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/Text.h"
#include "support/ForwardingPlatform.h"

namespace kestrune::test {

class FakeProcesses : public platform::Processes {
public:
    std::vector<platform::ProcessInfo> running;
    std::map<std::string, int> privilegeErrors;                    // privilege name -> error number
    std::vector<std::pair<std::uint32_t, std::uint32_t>> setById;  // id, class
    std::vector<std::pair<std::string, std::uint32_t>> setByName;  // name, class
    std::vector<std::uint32_t> terminated;
    bool refuseTermination = false;
    // An ended process stays listed without its path, as a Linux process does until its
    // parent collects it.
    bool endedStayListed = false;

    void Add(std::uint32_t id, std::string name, int basePriority, std::string path) {
        running.push_back({id, std::move(name), basePriority, std::move(path)});
    }

    std::vector<platform::ProcessInfo> List() override { return running; }
    std::string PathOf(std::uint32_t id) override {
        for (const auto& p : running)
            if (p.id == id) return p.path;
        return {};
    }
    bool SetPriorityClass(std::uint32_t id, std::uint32_t priorityClass) override {
        setById.emplace_back(id, priorityClass);
        for (auto& p : running)
            if (p.id == id) {
                p.basePriority = BaseOf(priorityClass);
                return true;
            }
        return false;
    }
    int SetPriorityClassByName(const std::string& name, std::uint32_t priorityClass) override {
        setByName.emplace_back(name, priorityClass);
        int asked = 0;
        for (auto& p : running)
            if (EqualsIgnoreCase(p.name, name)) {
                p.basePriority = BaseOf(priorityClass);
                ++asked;
            }
        return asked;
    }
    bool Terminate(std::uint32_t id) override {
        if (refuseTermination) return false;
        if (endedStayListed) {
            for (auto& p : running)
                if (p.id == id && !p.path.empty()) {
                    p.path.clear();
                    terminated.push_back(id);
                    return true;
                }
            return false;
        }
        const auto before = running.size();
        std::erase_if(running, [id](const auto& p) { return p.id == id; });
        if (running.size() == before) return false;
        terminated.push_back(id);
        return true;
    }
    int EnablePrivilege(const std::string& name) override {
        const auto found = privilegeErrors.find(name);
        return found == privilegeErrors.end() ? 0 : found->second;
    }
    void RaiseOwnPriority() override {}

    static int BaseOf(std::uint32_t priorityClass) {
        switch (priorityClass) {
            case 0x40: return 4;
            case 0x4000: return 6;
            case 0x8000: return 10;
            case 0x80: return 13;
            case 0x100: return 24;
            default: return 8;
        }
    }
};

// Everything from the wrapped platform except the processes.
class FakeProcessPlatform : public ForwardingPlatform {
public:
    FakeProcessPlatform(platform::Platform& inner, platform::Processes& processes)
        : ForwardingPlatform(inner), processes_(processes) {}
    platform::Processes& processes() override { return processes_; }

private:
    platform::Processes& processes_;
};

}  // namespace kestrune::test
