#pragma once
// Watches the emulated machine's Startup folders and registry files with inotify.

#include <memory>
#include <string>
#include <vector>

#include "platform/PlaceWatch.h"

namespace kestrune::platform {

// `registryFiles` are the files that hold the watched keys (the whole root's file: a change to
// any key of it counts). Null when inotify is not available.
std::unique_ptr<PlaceWatch> CreateInotifyPlaceWatch(const std::vector<std::string>& folders,
                                                    const std::vector<std::string>& registryFiles);

}  // namespace kestrune::platform
