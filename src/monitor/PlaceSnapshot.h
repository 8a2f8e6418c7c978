#pragma once
// The entries of the five start-up places as they are read now, for comparing one look with
// the next (the change monitor, and the window following outside changes).

#include <array>
#include <string>
#include <vector>

#include "app/RowPlace.h"

namespace kestrune {

struct Paths;
namespace platform {
class Platform;
}

// One entry of a place.
struct MonitorEntry {
    std::string identity;                // compared between looks: the entry exactly as read
    std::string key;                     // the entry's path: the shortcut's target or the value's data
    std::string name;                    // the shortcut's name (file name without extension) or the value's name
    std::string arguments;               // a shortcut's arguments
    std::string file;                    // a shortcut's file
    PlaceKey placeKey = PlaceKey::Main;  // which of the table's keys holds it
};

// Tables 1 to 5, in table order. An unreadable folder or key reads as empty.
using PlaceSnapshot = std::array<std::vector<MonitorEntry>, 5>;

PlaceSnapshot ReadPlaceSnapshot(platform::Platform& platform, const Paths& paths);

}  // namespace kestrune
