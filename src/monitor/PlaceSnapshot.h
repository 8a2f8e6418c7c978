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
    std::string key;                     // the entry's path: the shortcut's target, the file or the value's data
    std::string name;                    // the shortcut's name (file name without extension), the file's or the value's
    std::string arguments;               // a shortcut's arguments
    std::string file;                    // the folder entry's file
    bool startupFile = false;            // a folder's file that is not a shortcut (StartupFiles.h)
    PlaceKey placeKey = PlaceKey::Main;  // which of the table's keys holds it
};

// Tables 1 to 5, in table order. An unreadable folder or key reads as empty.
using PlaceSnapshot = std::array<std::vector<MonitorEntry>, 5>;

PlaceSnapshot ReadPlaceSnapshot(platform::Platform& platform, const Paths& paths);

}  // namespace kestrune
