#pragma once
// Lets a monitor tick skip reading the five places when no one has touched them since the
// previous look: the platform watches the Startup folders and the Run keys between ticks.

#include <memory>

#include "app/Paths.h"
#include "platform/PlaceWatch.h"
#include "platform/Platform.h"

namespace kestrune {

struct MonitorState;

// A watch over the two Startup folders and the three Run keys; null when the platform cannot
// watch them (then every look must read).
std::unique_ptr<platform::PlaceWatch> WatchStartupPlaces(platform::Platform& platform, const Paths& paths);

// True when the tick may skip its look because the places are as the previous look found
// them. The first look starts the watch just before it reads, so nothing done between the
// two goes unseen; a platform that cannot watch makes every tick look.
bool NothingChangedSinceLastLook(platform::Platform& platform, const Paths& paths, MonitorState& monitor);

}  // namespace kestrune
