#include "cli/Interrupt.h"

#include <csignal>
#include <ostream>

#include "cli/ExitStatus.h"

namespace kestrune::cli {

namespace {
volatile std::sig_atomic_t interrupted = 0;
extern "C" void OnInterrupt(int) { interrupted = 1; }
}  // namespace

InterruptGuard::InterruptGuard()
    : previousInt_(std::signal(SIGINT, OnInterrupt)), previousTerm_(std::signal(SIGTERM, OnInterrupt)) {
    interrupted = 0;
}

InterruptGuard::~InterruptGuard() {
    std::signal(SIGINT, previousInt_ == SIG_ERR ? SIG_DFL : previousInt_);
    std::signal(SIGTERM, previousTerm_ == SIG_ERR ? SIG_DFL : previousTerm_);
}

bool InterruptGuard::Interrupted() { return interrupted != 0; }

int ReportInterrupted(std::ostream& out) {
    out << "Interrupted; saving the settings and exiting." << std::endl;
    return kExitInterrupted;
}

}  // namespace kestrune::cli
