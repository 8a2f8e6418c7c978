#pragma once
// What the fuzz targets share: a program folder on a throw-away emulated machine whose files
// stay in memory, a front end that answers nothing, and a check that ends the run with a
// readable reason.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/MainState.h"
#include "platform/Platform.h"
#include "support/TempFolder.h"

namespace kestrune::fuzz {

// A broken property is a finding: libFuzzer keeps the input that caused the abort.
inline void Require(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

class FixedClock final : public Clock {
public:
    LocalTime Now() override { return {2026, 12, 7, 8, 15, 2}; }
};

// Files kept in memory: the disk would make every run wait for its writes to be synced.
class MemoryFiles final : public platform::FileSystem {
public:
    bool FileExists(const std::string& path) override { return files_.count(path) > 0; }
    bool DirectoryExists(const std::string&) override { return false; }
    std::vector<std::string> ListFiles(const std::string&) override { return {}; }
    std::optional<std::string> ReadFile(const std::string& path) override {
        const auto found = files_.find(path);
        if (found == files_.end()) return std::nullopt;
        return found->second;
    }
    bool ReadInChunks(const std::string& path, const std::function<void(std::string_view)>& take) override {
        const auto found = files_.find(path);
        if (found == files_.end()) return false;
        take(found->second);
        return true;
    }
    std::optional<platform::FileStamp> Stamp(const std::string& path) override {
        const auto found = files_.find(path);
        if (found == files_.end()) return std::nullopt;
        return platform::FileStamp{found->second.size(), 0};
    }
    bool WriteFileAtomic(const std::string& path, const std::string& content) override {
        files_[path] = content;
        return true;
    }
    bool AppendToFile(const std::string& path, const std::string& content) override {
        files_[path] += content;
        return true;
    }
    bool RemoveFile(const std::string& path) override { return files_.erase(path) > 0; }
    bool RenameFile(const std::string& from, const std::string& to) override {
        const auto found = files_.find(from);
        if (found == files_.end() || files_.count(to)) return false;
        files_[to] = std::move(found->second);
        files_.erase(from);
        return true;
    }
    bool CreateDirectories(const std::string&) override { return true; }
    void Clear() { files_.clear(); }

private:
    std::map<std::string, std::string> files_;
};

// The emulated machine with its files in memory.
class MemoryPlatform final : public platform::Platform {
public:
    explicit MemoryPlatform(std::unique_ptr<platform::Platform> inner) : inner_(std::move(inner)) {}
    MemoryFiles memory;

    platform::Registry& registry() override { return inner_->registry(); }
    platform::Shell& shell() override { return inner_->shell(); }
    platform::FileSystem& files() override { return memory; }
    platform::Processes& processes() override { return inner_->processes(); }
    platform::ProcessorTimes& processorTimes() override { return inner_->processorTimes(); }
    platform::Launcher& launcher() override { return inner_->launcher(); }
    platform::InstanceLock& instanceLock() override { return inner_->instanceLock(); }
    platform::System& system() override { return inner_->system(); }

private:
    std::unique_ptr<platform::Platform> inner_;
};

// One program folder and machine for the whole run, in a temporary folder removed at exit.
class FuzzMachine {
public:
    static FuzzMachine& Instance() {
        static FuzzMachine machine;
        return machine;
    }
    MemoryPlatform& Platform() { return *platform_; }
    const std::string& AppFolder() const { return appFolder_; }

    // A fresh state over the program folder, with the paths start-up would give it. The files
    // of the run before are gone.
    std::unique_ptr<MainState> NewState(bool keepFiles = false) {
        if (!keepFiles) platform_->memory.Clear();
        auto state = std::make_unique<MainState>(*platform_, clock_);
        state->paths.appFolder = appFolder_;
        state->paths.iniPath = appFolder_ + "settings.ini";
        state->paths.profilesPath = appFolder_ + "profiles.txt";
        state->paths.logPath = appFolder_ + "log.txt";
        state->paths.settingsDocumentPath = appFolder_ + "settings.xml";
        return state;
    }

private:
    FuzzMachine() {
        appFolder_ = root_.Path() + "app/";
        std::filesystem::create_directories(appFolder_);
        platform_ = std::make_unique<MemoryPlatform>(platform::CreatePlatform({appFolder_, root_.Path() + "machine"}));
    }

    test::TempFolder root_{"kestrune-fuzz"};
    std::string appFolder_;
    std::unique_ptr<MemoryPlatform> platform_;
    FixedClock clock_;
};

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace kestrune::fuzz
