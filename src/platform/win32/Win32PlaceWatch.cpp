#include "platform/win32/Win32PlaceWatch.h"

#include <windows.h>

#include "platform/win32/Handles.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Registry.h"

namespace kestrune::platform::win32 {

namespace {

constexpr DWORD kFolderFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE |
                                FILE_NOTIFY_CHANGE_ATTRIBUTES;
constexpr DWORD kKeyFilter = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET;

// One folder: a change notification handle, or none while the folder cannot be watched.
struct FolderWatch {
    std::wstring path;
    HANDLE handle = INVALID_HANDLE_VALUE;

    bool Open() {
        handle = FindFirstChangeNotificationW(path.c_str(), FALSE, kFolderFilter);
        return handle != INVALID_HANDLE_VALUE;
    }
    void Close() {
        if (handle != INVALID_HANDLE_VALUE) FindCloseChangeNotification(handle);
        handle = INVALID_HANDLE_VALUE;
    }
};

// One key: the open key and the event its next change sets. A notification fires once, so it
// is asked for again after every change seen.
struct KeyWatch {
    WatchedKey place;
    UniqueKey key;
    UniqueHandle event;
    bool armed = false;

    LONG Open() { return OpenKey(place.root, place.subkey, KEY_NOTIFY | ViewFlag(place.view), key); }
    bool Arm() {
        armed = RegNotifyChangeKeyValue(key.Get(), FALSE, kKeyFilter, event.Get(), TRUE) == ERROR_SUCCESS;
        return armed;
    }
};

class Win32PlaceWatch final : public PlaceWatch {
public:
    Win32PlaceWatch(const std::vector<std::string>& folders, const std::vector<WatchedKey>& keys) {
        for (const std::string& folder : folders) {
            if (folder.empty()) continue;
            FolderWatch w;
            w.path = Widen(folder);
            w.Open();
            folders_.push_back(std::move(w));
        }
        for (const WatchedKey& place : keys) {
            auto w = std::make_unique<KeyWatch>();
            w->place = place;
            w->event.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
            if (w->event.Valid() && w->Open() == ERROR_SUCCESS) w->Arm();
            keys_.push_back(std::move(w));
        }
    }
    ~Win32PlaceWatch() override {
        for (FolderWatch& w : folders_) w.Close();
    }

    bool MayHaveChanged() override {
        bool changed = false;
        for (FolderWatch& w : folders_) {
            if (w.handle == INVALID_HANDLE_VALUE) {
                // A missing folder that has appeared counts as changed; one still missing does not.
                if (w.Open() || GetLastError() != ERROR_FILE_NOT_FOUND) changed = true;
                continue;
            }
            const DWORD state = WaitForSingleObject(w.handle, 0);
            if (state == WAIT_OBJECT_0) {
                changed = true;
                if (!FindNextChangeNotification(w.handle)) w.Close();
            } else if (state != WAIT_TIMEOUT) {
                changed = true;
            }
        }
        for (auto& w : keys_) {
            if (!w->armed) {
                // A key that could not be watched is looked at every time, except one that is
                // still missing (most machines have no policy keys): it holds nothing to find.
                if (!w->key.Get() && w->event.Valid()) {
                    const LONG opened = w->Open();
                    if (opened == ERROR_FILE_NOT_FOUND) continue;
                }
                changed = true;
                if (w->key.Get()) w->Arm();
                continue;
            }
            if (WaitForSingleObject(w->event.Get(), 0) != WAIT_TIMEOUT) {
                changed = true;
                ResetEvent(w->event.Get());
                w->Arm();
            }
        }
        return changed;
    }

private:
    std::vector<FolderWatch> folders_;
    std::vector<std::unique_ptr<KeyWatch>> keys_;
};

}  // namespace

std::unique_ptr<PlaceWatch> CreatePlaceWatch(const std::vector<std::string>& folders,
                                             const std::vector<WatchedKey>& keys) {
    return std::make_unique<Win32PlaceWatch>(folders, keys);
}

}  // namespace kestrune::platform::win32
