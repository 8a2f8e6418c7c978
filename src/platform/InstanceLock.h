#pragma once
// The single-instance lock: held by the first running copy of the program. A lock left
// behind by a process that died must not keep the next copy from starting.

namespace kestrune::platform {

class InstanceLock {
public:
    virtual ~InstanceLock() = default;
    // True when this process now holds the lock (or already held it).
    virtual bool TryAcquire() = 0;
    virtual void Release() = 0;
};

}  // namespace kestrune::platform
