#pragma once
// Owners for the kernel and registry handles of this backend, closed on every path out.

#include <windows.h>

#include <string_view>
#include <utility>

#include "platform/Registry.h"

namespace kestrune::platform::win32 {

class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    // CreateFileW and CreateToolhelp32Snapshot fail with INVALID_HANDLE_VALUE, the others with NULL.
    bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    void Reset(HANDLE handle = nullptr) {
        if (Valid()) CloseHandle(handle_);
        handle_ = handle;
    }

private:
    HANDLE handle_ = nullptr;
};

class UniqueKey {
public:
    UniqueKey() = default;
    ~UniqueKey() {
        if (key_) RegCloseKey(key_);
    }
    UniqueKey(const UniqueKey&) = delete;
    UniqueKey& operator=(const UniqueKey&) = delete;

    HKEY Get() const { return key_; }
    HKEY* Out() { return &key_; }

private:
    HKEY key_ = nullptr;
};

// Opens root\subkey with RegOpenKeyExW into `key`; the call's status.
LONG OpenKey(RootKey root, std::string_view subkey, REGSAM access, UniqueKey& key);

}  // namespace kestrune::platform::win32
