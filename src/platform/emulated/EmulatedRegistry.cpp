#include "platform/emulated/EmulatedRegistry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <utility>

#include "platform/emulated/TextCodec.h"

namespace kestrune::platform {

namespace {

// A registry file larger than this is taken for damage rather than read into memory.
constexpr off_t kMaxFileSize = off_t{64} * 1024 * 1024;

std::string ProblemText(const std::string& path, const std::string& reason) {
    return "Registry file " + path + " cannot be used (" + reason +
           "); its keys read as absent and the file is left unchanged";
}

// Holds the machine root's exclusive lock for one change; the kernel drops it if we die.
class DirectoryLock {
public:
    explicit DirectoryLock(const std::string& folder)
        : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (fd_ < 0) return;
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                ::close(fd_);
                fd_ = -1;
                return;
            }
        }
    }
    ~DirectoryLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    DirectoryLock(const DirectoryLock&) = delete;
    DirectoryLock& operator=(const DirectoryLock&) = delete;
    bool Held() const { return fd_ >= 0; }

private:
    int fd_;
};

// Writes a new file beside the old one and renames it over it, so that readers, who take no
// lock, see either the old or the new content. No fsync: every change would wait for the disk
// (tens of milliseconds, for each of a scan's writes); the file systems Linux runs on commit a
// replacing rename only after the new file's data, so a crash leaves the old or new file.
bool ReplaceFile(const std::string& path, const std::string& content) {
    std::string temp = path + ".tmp-XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, 0644) == 0;
    for (size_t done = 0; ok && done < content.size();) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<size_t>(n);
    }
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace

EmulatedRegistry::Signature EmulatedRegistry::SignatureOf(const struct stat& st) {
    return Signature{static_cast<unsigned long long>(st.st_dev),
                     static_cast<unsigned long long>(st.st_ino),
                     static_cast<unsigned long long>(st.st_size),
                     st.st_mtim.tv_sec,
                     st.st_mtim.tv_nsec,
                     st.st_ctim.tv_sec,
                     st.st_ctim.tv_nsec};
}

std::string ThirtyTwoBitSubkey(RootKey root, std::string_view subkey) {
    std::string path = NormalizeSubkey(subkey);
    if (root != RootKey::LocalMachine) return path;
    constexpr std::string_view software = "SOFTWARE";
    const bool underSoftware = path.size() >= software.size() &&
                               EqualsIgnoreCase(std::string_view(path).substr(0, software.size()), software) &&
                               (path.size() == software.size() || path[software.size()] == '\\');
    if (!underSoftware) return path;
    const std::string_view rest = std::string_view(path).substr(std::min(path.size(), software.size() + 1));
    const std::string_view first = rest.substr(0, rest.find('\\'));
    // A path that names the node itself is already in the 32-bit programs' part.
    if (EqualsIgnoreCase(first, kWow64Node)) return path;
    std::string mapped = path.substr(0, software.size()) + "\\" + std::string(kWow64Node);
    if (!rest.empty()) mapped += "\\" + std::string(rest);
    return mapped;
}

// The machine's registry with every key name moved into the 32-bit programs' part.
class EmulatedRegistry::ThirtyTwoBitView final : public Registry {
public:
    explicit ThirtyTwoBitView(EmulatedRegistry& machine) : machine_(machine) {}

    bool KeyExists(RootKey root, std::string_view subkey) override {
        return machine_.KeyExists(root, ThirtyTwoBitSubkey(root, subkey));
    }
    std::optional<std::vector<RegistryValue>> EnumValues(RootKey root, std::string_view subkey) override {
        return machine_.EnumValues(root, ThirtyTwoBitSubkey(root, subkey));
    }
    std::optional<RegistryValue> QueryValue(RootKey root, std::string_view subkey, std::string_view name) override {
        return machine_.QueryValue(root, ThirtyTwoBitSubkey(root, subkey), name);
    }
    RegistryStatus SetValue(RootKey root, std::string_view subkey, const RegistryValue& value) override {
        return machine_.SetValue(root, ThirtyTwoBitSubkey(root, subkey), value);
    }
    RegistryStatus DeleteValue(RootKey root, std::string_view subkey, std::string_view name) override {
        return machine_.DeleteValue(root, ThirtyTwoBitSubkey(root, subkey), name);
    }
    RegistryStatus CreateKey(RootKey root, std::string_view subkey) override {
        return machine_.CreateKey(root, ThirtyTwoBitSubkey(root, subkey));
    }
    Registry& InView(RegistryView view) override { return machine_.InView(view); }
    std::vector<std::string> TakeProblems() override { return machine_.TakeProblems(); }

private:
    EmulatedRegistry& machine_;
};

EmulatedRegistry::EmulatedRegistry(std::string machineRoot)
    : root_(std::move(machineRoot)), bits32_(std::make_unique<ThirtyTwoBitView>(*this)), refusals_(root_) {
    if (!root_.empty() && root_.back() != '/') root_.push_back('/');
}

EmulatedRegistry::~EmulatedRegistry() = default;

Registry& EmulatedRegistry::InView(RegistryView view) {
    if (view == RegistryView::Bits32) return *bits32_;
    return *this;
}

std::string EmulatedRegistry::FilePath(RootKey root) const { return root_ + RootName(root) + ".reg"; }

EmulatedRegistry::Loaded EmulatedRegistry::ReadFile(RootKey root) {
    const std::string path = FilePath(root);
    Loaded loaded;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            loaded.hive.emplace(root);
            return loaded;
        }
        const int error = errno;
        loaded.failure = error == EACCES ? kErrorAccessDenied : kErrorRegistryIoFailed;
        Report(root, ProblemText(path, std::strerror(error)), Signature{});
        return loaded;
    }
    struct stat st {};
    std::string bytes;
    bool readOk = ::fstat(fd, &st) == 0 && st.st_size <= kMaxFileSize;
    if (readOk) {
        loaded.signature = SignatureOf(st);
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                readOk = n == 0;
                break;
            }
            bytes.append(buffer, static_cast<size_t>(n));
            if (bytes.size() > static_cast<size_t>(kMaxFileSize)) {
                readOk = false;
                break;
            }
        }
    }
    ::close(fd);
    const Signature signature = loaded.signature.value_or(Signature{});
    if (!readOk) {
        loaded.failure = kErrorRegistryIoFailed;
        Report(root, ProblemText(path, "the file cannot be read whole"), signature);
        return loaded;
    }
    const RegFileParse parsed = ParseRegFile(bytes);
    std::optional<std::string> fault;
    RegistryHive hive(root);
    if (!parsed.file) {
        fault = parsed.Describe();
    } else {
        fault = hive.Apply(*parsed.file);
    }
    if (fault) {
        loaded.failure = kErrorRegistryCorrupt;
        Report(root, ProblemText(path, *fault), signature);
        return loaded;
    }
    loaded.hive = std::move(hive);
    return loaded;
}

void EmulatedRegistry::Report(RootKey root, const std::string& problem, const Signature& signature) {
    const auto told = reported_.find(root);
    if (told != reported_.end() && told->second == signature) return;
    reported_[root] = signature;
    problems_.push_back(problem);
    std::cerr << problem << '\n';
}

const EmulatedRegistry::Loaded& EmulatedRegistry::Current(RootKey root) {
    const auto cached = cache_.find(root);
    if (cached != cache_.end()) {
        struct stat st {};
        const bool exists = ::stat(FilePath(root).c_str(), &st) == 0;
        const Loaded& loaded = cached->second;
        if (!exists && !loaded.signature && loaded.hive && errno == ENOENT) return loaded;
        if (exists && loaded.signature && *loaded.signature == SignatureOf(st)) return loaded;
    }
    return cache_[root] = ReadFile(root);
}

template <class Apply>
RegistryStatus EmulatedRegistry::Modify(RootKey root, Apply apply) {
    DirectoryLock lock(root_);
    if (!lock.Held()) return {kErrorRegistryIoFailed};
    Loaded fresh = ReadFile(root);
    if (!fresh.hive) {
        const int failure = fresh.failure;
        cache_[root] = std::move(fresh);
        return {failure};
    }
    const Change change = apply(*fresh.hive);
    if (change.code != 0 || !change.changed) {
        cache_[root] = std::move(fresh);
        return {change.code};
    }
    if (!ReplaceFile(FilePath(root), FormatRegFile(fresh.hive->ToRegFile()))) {
        cache_.erase(root);
        return {kErrorRegistryIoFailed};
    }
    // Still under the lock, so the file we stat is the one we wrote.
    struct stat st {};
    if (::stat(FilePath(root).c_str(), &st) == 0) {
        fresh.signature = SignatureOf(st);
        cache_[root] = std::move(fresh);
    } else {
        cache_.erase(root);
    }
    return {};
}

bool EmulatedRegistry::KeyExists(RootKey root, std::string_view subkey) {
    const Loaded& loaded = Current(root);
    return loaded.hive && loaded.hive->KeyExists(subkey);
}

std::optional<std::vector<RegistryValue>> EmulatedRegistry::EnumValues(RootKey root, std::string_view subkey) {
    const Loaded& loaded = Current(root);
    if (!loaded.hive || !loaded.hive->KeyExists(subkey)) return std::nullopt;
    const std::vector<RegistryValue>* values = loaded.hive->Values(subkey);
    return values ? *values : std::vector<RegistryValue>{};
}

std::optional<RegistryValue> EmulatedRegistry::QueryValue(RootKey root, std::string_view subkey,
                                                          std::string_view name) {
    const Loaded& loaded = Current(root);
    if (!loaded.hive) return std::nullopt;
    if (const std::vector<RegistryValue>* values = loaded.hive->Values(subkey)) {
        for (const RegistryValue& value : *values) {
            if (EqualsIgnoreCase(value.name, name)) return value;
        }
    }
    return std::nullopt;
}

RegistryStatus EmulatedRegistry::SetValue(RootKey root, std::string_view subkey, const RegistryValue& value) {
    if (Refused(root, subkey)) return {kErrorAccessDenied};
    return Modify(root, [&](RegistryHive& hive) {
        if (!hive.KeyExists(subkey)) return Change{kErrorFileNotFound, false};
        if (const std::vector<RegistryValue>* values = hive.Values(subkey)) {
            for (const RegistryValue& existing : *values) {
                if (EqualsIgnoreCase(existing.name, value.name) && existing.type == value.type &&
                    existing.data == value.data)
                    return Change{0, false};
            }
        }
        hive.SetValue(subkey, value);
        return Change{0, true};
    });
}

RegistryStatus EmulatedRegistry::DeleteValue(RootKey root, std::string_view subkey, std::string_view name) {
    if (Refused(root, subkey)) return {kErrorAccessDenied};
    return Modify(root, [&](RegistryHive& hive) {
        if (!hive.DeleteValue(subkey, name)) return Change{kErrorFileNotFound, false};
        return Change{0, true};
    });
}

RegistryStatus EmulatedRegistry::CreateKey(RootKey root, std::string_view subkey) {
    if (Refused(root, subkey)) return {kErrorAccessDenied};
    return Modify(root, [&](RegistryHive& hive) { return Change{0, hive.CreateKey(subkey)}; });
}

RegistryStatus EmulatedRegistry::DeleteKey(RootKey root, std::string_view subkey) {
    return Modify(root, [&](RegistryHive& hive) {
        if (NormalizeSubkey(subkey).empty() || !hive.DeleteKey(subkey)) return Change{kErrorFileNotFound, false};
        return Change{0, true};
    });
}

RegistryStatus EmulatedRegistry::EnsureFile(RootKey root) {
    struct stat st {};
    if (::stat(FilePath(root).c_str(), &st) == 0) return {};
    return Modify(root, [](RegistryHive&) { return Change{0, true}; });
}

RegistryStatus EmulatedRegistry::Import(const RegFile& file, std::string* error) {
    std::vector<std::pair<RootKey, RegFile>> byRoot;
    for (const RegFileKey& key : file.keys) {
        const auto split = SplitRootedPath(key.path);
        if (!split) {
            if (error) *error = "the key " + key.path + " has no known root key";
            return {kErrorFileNotFound};
        }
        auto it =
            std::find_if(byRoot.begin(), byRoot.end(), [&](const auto& entry) { return entry.first == split->first; });
        if (it == byRoot.end()) it = byRoot.insert(byRoot.end(), {split->first, RegFile{}});
        it->second.keys.push_back(key);
    }
    for (const auto& entry : byRoot) {
        // Named copies, not a structured binding: Clang before 16 cannot capture one in a lambda.
        const RootKey root = entry.first;
        const RegFile& part = entry.second;
        const RegistryStatus status = Modify(root, [&](RegistryHive& hive) {
            hive.Apply(part);
            return Change{0, true};
        });
        if (!status.Ok()) {
            if (error) *error = "the registry file " + FilePath(root) + " cannot be written";
            return status;
        }
    }
    return {};
}

std::optional<RegFile> EmulatedRegistry::Export(RootKey root, std::string_view subkey) {
    const Loaded& loaded = Current(root);
    if (!loaded.hive) return std::nullopt;
    return loaded.hive->Export(subkey);
}

std::vector<std::string> EmulatedRegistry::TakeProblems() { return std::exchange(problems_, {}); }

}  // namespace kestrune::platform
