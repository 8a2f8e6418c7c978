#pragma once
// Watches folders with change notifications and registry keys with RegNotifyChangeKeyValue.

#include <memory>
#include <string>
#include <vector>

#include "platform/PlaceWatch.h"

namespace kestrune::platform::win32 {

std::unique_ptr<PlaceWatch> CreatePlaceWatch(const std::vector<std::string>& folders,
                                             const std::vector<WatchedKey>& keys);

}  // namespace kestrune::platform::win32
