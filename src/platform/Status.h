#pragma once
// The outcome of a change the system may refuse.

namespace kestrune::platform {

struct Status {
    int code = 0;  // 0 on success, otherwise the system's (Windows) error number
    bool Ok() const { return code == 0; }
    explicit operator bool() const { return Ok(); }
};

// Windows' error numbers that both backends answer with.
inline constexpr int kErrorFileNotFound = 2;
inline constexpr int kErrorPathNotFound = 3;
inline constexpr int kErrorAccessDenied = 5;
inline constexpr int kErrorWriteFault = 29;
inline constexpr int kErrorDiskFull = 112;
inline constexpr int kErrorAlreadyExists = 183;

}  // namespace kestrune::platform
