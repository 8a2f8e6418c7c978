#include "platform/emulated/InotifyPlaceWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <set>

namespace kestrune::platform {

namespace {

// Everything that can change what a folder lists or what a file holds: files written, made,
// removed, renamed in or out, and the folder itself going away.
constexpr std::uint32_t kFolderEvents = IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                        IN_ATTRIB | IN_MODIFY | IN_DELETE_SELF | IN_MOVE_SELF;

std::string Native(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::pair<std::string, std::string> SplitFolderAndName(const std::string& file) {
    const std::string path = Native(file);
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

class InotifyPlaceWatch final : public PlaceWatch {
public:
    InotifyPlaceWatch(int fd, const std::vector<std::string>& folders, const std::vector<std::string>& files)
        : fd_(fd) {
        for (const std::string& folder : folders)
            if (!folder.empty()) watches_.push_back({Native(folder), {}, -1, true});
        // A registry file is replaced through a rename, so its folder is watched for its name.
        for (const std::string& file : files) {
            const auto split = SplitFolderAndName(file);
            const auto& folder = split.first;
            const auto& name = split.second;
            auto found = std::find_if(watches_.begin(), watches_.end(),
                                      [&](const Watch& w) { return w.path == folder && !w.wholeFolder; });
            if (found == watches_.end()) {
                watches_.push_back({folder, {}, -1, false});
                found = watches_.end() - 1;
            }
            found->names.insert(name);
        }
        for (Watch& w : watches_) Add(w);
    }
    ~InotifyPlaceWatch() override { ::close(fd_); }

    bool MayHaveChanged() override {
        bool changed = Drain();
        // A folder that was missing may have appeared (with entries in it) since.
        for (Watch& w : watches_) {
            if (w.descriptor >= 0) continue;
            if (Add(w) || errno != ENOENT) changed = true;
        }
        return changed;
    }

private:
    struct Watch {
        std::string path;
        std::set<std::string> names;  // only these entries count; all when wholeFolder
        int descriptor;
        bool wholeFolder;
    };

    bool Add(Watch& w) {
        w.descriptor = ::inotify_add_watch(fd_, w.path.c_str(), kFolderEvents | IN_ONLYDIR);
        return w.descriptor >= 0;
    }

    // Reads every queued event; true when one of them concerns a watched place.
    bool Drain() {
        bool changed = false;
        alignas(struct inotify_event) char buffer[16 * 1024];
        for (;;) {
            const ssize_t length = ::read(fd_, buffer, sizeof buffer);
            if (length < 0) {
                if (errno == EINTR) continue;
                if (errno == EAGAIN) return changed;
                return true;  // cannot tell
            }
            if (length == 0) return changed;
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const struct inotify_event*>(buffer + at);
                at += static_cast<ssize_t>(sizeof(struct inotify_event) + event->len);
                if (Concerns(*event)) changed = true;
            }
        }
    }

    bool Concerns(const struct inotify_event& event) {
        if (event.mask & IN_Q_OVERFLOW) return true;  // events were lost
        for (Watch& w : watches_) {
            if (w.descriptor != event.wd) continue;
            if (event.mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) {
                // The folder went away or was replaced: watch again when it is back.
                if (event.mask & IN_IGNORED) w.descriptor = -1;
                return true;
            }
            if (w.wholeFolder) return true;
            if (event.len > 0 && w.names.contains(event.name)) return true;
        }
        return false;
    }

    int fd_;
    std::vector<Watch> watches_;
};

}  // namespace

std::unique_ptr<PlaceWatch> CreateInotifyPlaceWatch(const std::vector<std::string>& folders,
                                                    const std::vector<std::string>& registryFiles) {
    const int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0) return nullptr;
    return std::make_unique<InotifyPlaceWatch>(fd, folders, registryFiles);
}

}  // namespace kestrune::platform
