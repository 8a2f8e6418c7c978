#pragma once
// How busy the processor has been since the previous reading. The delayed run asks once a
// second while it waits for an idle processor.

#include <memory>

namespace kestrune {

namespace platform {
class Platform;
}

class CpuMeter {
public:
    virtual ~CpuMeter() = default;
    // Takes the first baseline (or starts the system's statistics counter).
    virtual void Initialize() = 0;
    // Processor usage in percent since the previous reading, 0 to 100; -1 when there is no
    // reading this time.
    virtual int Query() = 0;
    // Stops the statistics counter where there is one.
    virtual void Terminate() = 0;
};

// The meter over the processor times when they can be read, otherwise the one over the
// registry's performance statistics; already initialized.
std::unique_ptr<CpuMeter> CreateCpuMeter(platform::Platform& platform);

}  // namespace kestrune
