#include "delayed/CpuMeter.h"

#include "delayed/CpuUsage.h"
#include "delayed/CpuUsageNT.h"
#include "platform/Platform.h"

namespace kestrune {

std::unique_ptr<CpuMeter> CreateCpuMeter(platform::Platform& platform) {
    auto& times = platform.processorTimes();
    std::unique_ptr<CpuMeter> meter;
    if (times.ProcessorCount() && times.CurrentTime() && times.IdleTime()) meter = std::make_unique<CpuUsageNT>(times);
    else meter = std::make_unique<CpuUsage>(platform.registry());
    meter->Initialize();
    return meter;
}

}  // namespace kestrune
