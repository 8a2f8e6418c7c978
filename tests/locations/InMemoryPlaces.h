#pragma once
// A stand-in registry and shell for the location tests while the emulated machine's own are
// not there yet: values in memory, shortcuts as small text files. Files, folders and the
// environment are the temporary machine's real ones.

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "app/Text.h"
#include "platform/Platform.h"

namespace kestrune::test {

class InMemoryRegistry final : public platform::Registry {
public:
    bool KeyExists(platform::RootKey root, std::string_view subkey) override { return keys_.count(Key(root, subkey)) > 0; }
    std::optional<std::vector<platform::RegistryValue>> EnumValues(platform::RootKey root,
                                                                   std::string_view subkey) override {
        const auto found = keys_.find(Key(root, subkey));
        if (found == keys_.end()) return std::nullopt;
        return found->second;
    }
    std::optional<platform::RegistryValue> QueryValue(platform::RootKey root, std::string_view subkey,
                                                      std::string_view name) override {
        const auto found = keys_.find(Key(root, subkey));
        if (found == keys_.end()) return std::nullopt;
        for (const auto& value : found->second)
            if (EqualsIgnoreCase(value.name, name)) return value;
        return std::nullopt;
    }
    platform::RegistryStatus SetValue(platform::RootKey root, std::string_view subkey,
                                      const platform::RegistryValue& value) override {
        const auto found = keys_.find(Key(root, subkey));
        if (found == keys_.end()) return {2};
        for (auto& existing : found->second)
            if (EqualsIgnoreCase(existing.name, value.name)) {
                existing = value;
                return {};
            }
        found->second.push_back(value);
        return {};
    }
    platform::RegistryStatus DeleteValue(platform::RootKey root, std::string_view subkey,
                                         std::string_view name) override {
        const auto found = keys_.find(Key(root, subkey));
        if (found == keys_.end()) return {2};
        auto& values = found->second;
        const auto it = std::find_if(values.begin(), values.end(),
                                     [&](const auto& v) { return EqualsIgnoreCase(v.name, name); });
        if (it == values.end()) return {2};
        values.erase(it);
        return {};
    }
    platform::RegistryStatus CreateKey(platform::RootKey root, std::string_view subkey) override {
        keys_[Key(root, subkey)];
        return {};
    }

private:
    static std::string Key(platform::RootKey root, std::string_view subkey) {
        return std::to_string(static_cast<unsigned>(root)) + "\\" + ToLower(subkey);
    }
    std::map<std::string, std::vector<platform::RegistryValue>> keys_;
};

class TextShortcutShell final : public platform::Shell {
public:
    explicit TextShortcutShell(std::string commonStartup) : commonStartup_(std::move(commonStartup)) {}
    std::string SpecialFolder(int csidl) override { return csidl == platform::kCsidlCommonStartup ? commonStartup_ : ""; }
    std::optional<platform::ShortcutInfo> ReadShortcut(const std::string& path) override {
        std::ifstream in(Native(path));
        std::string magic;
        if (!std::getline(in, magic) || magic != "LNK") return std::nullopt;
        platform::ShortcutInfo info;
        std::getline(in, info.target);
        std::getline(in, info.arguments);
        std::getline(in, info.iconLocation);
        return info;
    }
    bool WriteShortcut(const std::string& path, const platform::ShortcutInfo& info) override {
        std::ofstream out(Native(path));
        out << "LNK\n" << info.target << "\n" << info.arguments << "\n" << info.iconLocation << "\n";
        return static_cast<bool>(out);
    }
    bool OpenDocument(const std::string&) override { return false; }
    bool OpenFolder(const std::string&) override { return false; }

private:
    static std::string Native(std::string path) {
        std::replace(path.begin(), path.end(), '\\', '/');
        return path;
    }
    std::string commonStartup_;
};

// The machine's files, processes and system with the stand-in registry and shell.
class InMemoryPlacesPlatform final : public platform::Platform {
public:
    InMemoryPlacesPlatform(platform::Platform& machine, std::string commonStartup)
        : machine_(machine), shell_(std::move(commonStartup)) {}
    platform::Registry& registry() override { return registry_; }
    platform::Shell& shell() override { return shell_; }
    platform::FileSystem& files() override { return machine_.files(); }
    platform::Processes& processes() override { return machine_.processes(); }
    platform::ProcessorTimes& processorTimes() override { return machine_.processorTimes(); }
    platform::Launcher& launcher() override { return machine_.launcher(); }
    platform::InstanceLock& instanceLock() override { return machine_.instanceLock(); }
    platform::System& system() override { return machine_.system(); }

private:
    platform::Platform& machine_;
    InMemoryRegistry registry_;
    TextShortcutShell shell_;
};

}  // namespace kestrune::test
