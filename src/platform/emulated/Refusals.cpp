#include "platform/emulated/Refusals.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/emulated/LinuxFileSystem.h"
#include "platform/emulated/RegistryHive.h"

namespace kestrune::platform {

namespace {

namespace fs = std::filesystem;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// Keys compare ignoring case, by their full root name; files by their absolute path.
std::string Canonical(const std::string& item) {
    if (const auto key = SplitRootedPath(item)) {
        std::string canonical = RootName(key->first);
        if (const std::string subkey = NormalizeSubkey(key->second); !subkey.empty()) canonical += "\\" + subkey;
        return Lower(canonical);
    }
    std::string path = item;
    std::replace(path.begin(), path.end(), '\\', '/');
    std::error_code ec;
    std::string absolute = fs::absolute(fs::path(path), ec).lexically_normal().string();
    if (ec) absolute = path;
    while (absolute.size() > 1 && absolute.back() == '/') absolute.pop_back();
    return absolute;
}

bool IsWithin(const std::string& item, const std::string& listed) {
    if (item.size() < listed.size() || item.compare(0, listed.size(), listed) != 0) return false;
    if (item.size() == listed.size()) return true;
    const char next = item[listed.size()];
    return next == '\\' || next == '/';
}

}  // namespace

Refusals::Refusals(std::string machineRoot) {
    while (machineRoot.size() > 1 && machineRoot.back() == '/') machineRoot.pop_back();
    file_ = machineRoot + "/refused.txt";
}

std::vector<std::string> Refusals::Items() const {
    std::vector<std::string> items;
    std::ifstream in(file_);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) items.push_back(line);
    }
    return items;
}

bool Refusals::Refuses(const std::string& item) const {
    const std::string canonical = Canonical(item);
    for (const std::string& listed : Items()) {
        if (IsWithin(canonical, Canonical(listed))) return true;
    }
    return false;
}

bool Refusals::RefusesKey(RootKey root, std::string_view subkey) const {
    return Refuses(RootName(root) + "\\" + NormalizeSubkey(subkey));
}

bool Refusals::RefusesFile(const std::string& path) const { return !path.empty() && Refuses(path); }

void Refusals::Add(const std::string& item) {
    const std::string canonical = Canonical(item);
    std::vector<std::string> items = Items();
    for (const std::string& listed : items) {
        if (Canonical(listed) == canonical) return;
    }
    items.push_back(SplitRootedPath(item) ? item : canonical);
    std::ostringstream text;
    for (const std::string& listed : items) text << listed << '\n';
    LinuxFileSystem files;
    if (!files.WriteFileAtomic(file_, text.str())) throw std::runtime_error("cannot write " + file_);
}

void Refusals::Remove(const std::string& item) {
    const std::string canonical = Canonical(item);
    std::ostringstream text;
    bool found = false;
    for (const std::string& listed : Items()) {
        if (Canonical(listed) == canonical) found = true;
        else text << listed << '\n';
    }
    if (!found) return;
    LinuxFileSystem files;
    if (!files.WriteFileAtomic(file_, text.str())) throw std::runtime_error("cannot write " + file_);
}

}  // namespace kestrune::platform
