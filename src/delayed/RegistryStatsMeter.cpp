#include "delayed/RegistryStatsMeter.h"

#include <algorithm>

#include "platform/Registry.h"

namespace kestrune {

namespace {
constexpr auto kDynData = platform::RootKey::DynData;
}

void RegistryStatsMeter::Initialize() {
    if (!registry_.KeyExists(kDynData, kPerfStartKey)) return;
    // Reading the value is what starts the kernel's counter; its content does not matter.
    (void)registry_.QueryValue(kDynData, kPerfStartKey, kCpuUsageValue);
    dataKeyOpen_ = registry_.KeyExists(kDynData, kPerfDataKey);
}

int RegistryStatsMeter::Query() {
    if (dataKeyOpen_) {
        const auto value = registry_.QueryValue(kDynData, kPerfDataKey, kCpuUsageValue);
        // A value longer than the 4-byte buffer does not fit: the read fails, the buffer stays.
        if (value && value->data.size() <= buffer_.size())
            std::copy(value->data.begin(), value->data.end(), buffer_.begin());
    }
    return buffer_[0];
}

void RegistryStatsMeter::Terminate() {
    dataKeyOpen_ = false;
    if (!registry_.KeyExists(kDynData, kPerfStopKey)) return;
    (void)registry_.QueryValue(kDynData, kPerfStopKey, kCpuUsageValue);
}

}  // namespace kestrune
