#pragma once
// Ctrl+C during a long-running command (a delayed run, the monitor) ends the command instead of
// the process, so the shut-down still writes the options and the settings document: answers
// remembered during the run are not lost.

#include <iosfwd>

namespace kestrune::cli {

// While an `InterruptGuard` lives, SIGINT and SIGTERM only set a flag that `Interrupted` reads.
class InterruptGuard {
public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

    static bool Interrupted();

private:
    using Handler = void (*)(int);
    Handler previousInt_, previousTerm_;
};

// Says that the command was interrupted and answers the exit status for it.
int ReportInterrupted(std::ostream& out);

}  // namespace kestrune::cli
