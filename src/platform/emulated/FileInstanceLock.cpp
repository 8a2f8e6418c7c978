#include "platform/emulated/FileInstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kestrune::platform {

bool FileInstanceLock::TryAcquire() {
    if (fd_ >= 0) return true;
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return true;  // a folder we cannot write must not stop the program from starting
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void FileInstanceLock::Release() {
    if (fd_ < 0) return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

}  // namespace kestrune::platform
