#pragma once
// The console program's exit statuses and the error that ends a command early.

#include <stdexcept>
#include <string>

namespace kestrune::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitRefused = 1;        // the program refused; its message has been printed
inline constexpr int kExitUsage = 2;          // wrong usage, or a question nobody answered
inline constexpr int kExitInterrupted = 130;  // Ctrl+C ended a long-running command; settings were saved

inline constexpr const char* kProgramName = "kestrunec";

// Ends a command with a one-line error and a status. Raised before the command changed
// anything, so the shut-down sequence is skipped and no file is written.
class CommandError : public std::runtime_error {
public:
    CommandError(int status, const std::string& message) : std::runtime_error(message), status_(status) {}
    int Status() const { return status_; }

private:
    int status_;
};

}  // namespace kestrune::cli
