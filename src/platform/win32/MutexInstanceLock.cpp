#include "platform/win32/MutexInstanceLock.h"

#include <windows.h>

namespace kestrune::platform::win32 {

namespace {
constexpr wchar_t kMutexName[] = L"Local\\Kestrune";
}

MutexInstanceLock::MutexInstanceLock() = default;
MutexInstanceLock::~MutexInstanceLock() { Release(); }

bool MutexInstanceLock::TryAcquire() {
    if (mutex_) return true;
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, kMutexName);
    const DWORD error = GetLastError();
    if (!mutex) {
        // Denied access means another user's copy made it; any other failure must not keep
        // the program from starting.
        return error != ERROR_ACCESS_DENIED;
    }
    if (error == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    mutex_ = mutex;
    return true;
}

void MutexInstanceLock::Release() {
    if (!mutex_) return;
    CloseHandle(static_cast<HANDLE>(mutex_));
    mutex_ = nullptr;
}

}  // namespace kestrune::platform::win32
