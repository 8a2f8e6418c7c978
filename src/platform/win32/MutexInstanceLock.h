#pragma once
// The single-instance lock as a named mutex in the user's session. The system removes the
// mutex with the last handle to it, so a copy that died never blocks the next one.

#include "platform/InstanceLock.h"

namespace kestrune::platform::win32 {

class MutexInstanceLock final : public InstanceLock {
public:
    MutexInstanceLock();
    ~MutexInstanceLock() override;
    MutexInstanceLock(const MutexInstanceLock&) = delete;
    MutexInstanceLock& operator=(const MutexInstanceLock&) = delete;

    bool TryAcquire() override;
    void Release() override;

private:
    void* mutex_ = nullptr;
};

}  // namespace kestrune::platform::win32
