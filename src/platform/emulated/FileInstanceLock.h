#pragma once
// The single-instance lock as a file held with flock(): the kernel drops the lock when its
// holder dies, so a crashed copy never blocks the next start.

#include <string>

#include "platform/InstanceLock.h"

namespace kestrune::platform {

class FileInstanceLock final : public InstanceLock {
public:
    explicit FileInstanceLock(std::string path) : path_(std::move(path)) {}
    ~FileInstanceLock() override { Release(); }
    FileInstanceLock(const FileInstanceLock&) = delete;
    FileInstanceLock& operator=(const FileInstanceLock&) = delete;

    bool TryAcquire() override;
    void Release() override;

private:
    std::string path_;
    int fd_ = -1;
};

}  // namespace kestrune::platform
