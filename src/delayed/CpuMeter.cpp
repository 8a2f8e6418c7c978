#include "delayed/CpuMeter.h"

#include "delayed/ProcessorTimesMeter.h"
#include "delayed/RegistryStatsMeter.h"
#include "platform/Platform.h"

namespace kestrune {

std::unique_ptr<CpuMeter> CreateCpuMeter(platform::Platform& platform) {
    auto& times = platform.processorTimes();
    std::unique_ptr<CpuMeter> meter;
    if (times.ProcessorCount() && times.CurrentTime() && times.IdleTime())
        meter = std::make_unique<ProcessorTimesMeter>(times);
    else meter = std::make_unique<RegistryStatsMeter>(platform.registry());
    meter->Initialize();
    return meter;
}

}  // namespace kestrune
