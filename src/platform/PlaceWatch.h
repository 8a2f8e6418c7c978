#pragma once
// Tells a caller that polls some folders and registry keys whether a look could find anything
// new, so that a look at places nobody touched costs next to nothing.

#include <memory>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace kestrune::platform {

struct WatchedKey {
    RootKey root;
    std::string subkey;
    RegistryView view = RegistryView::Native;
};

class PlaceWatch {
public:
    virtual ~PlaceWatch() = default;
    // True when any watched folder or key may have changed since the previous call (for the
    // first call: since the watch was made). True as well whenever the watch cannot tell, so a
    // false answer always means that a look would find what the previous one found.
    virtual bool MayHaveChanged() = 0;
};

}  // namespace kestrune::platform
