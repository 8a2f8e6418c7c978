#pragma once
// The places of the emulated machine that refuse changes, standing for a key or folder that the
// user has no right to change (a Run key of the local machine, the all-users Startup folder, a
// read-only shortcut). The machine runs as whoever runs the tests, often root, so file
// permissions cannot stand for them: the machine tool lists them instead, one per line, in
// "refused.txt" under the machine root, and the registry and the shell answer "access denied"
// (5) to a change of a listed key or file, or of anything below it. The list is read afresh on
// every change, so that it may be changed while the program runs.

#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace kestrune::platform {

class Refusals {
public:
    // `machineRoot` with or without a trailing "/".
    explicit Refusals(std::string machineRoot);

    bool RefusesKey(RootKey root, std::string_view subkey) const;
    bool RefusesFile(const std::string& path) const;

    // For the machine tool: a key (HKLM\..., HKEY_CURRENT_USER\...) or a file or folder path.
    void Add(const std::string& item);
    void Remove(const std::string& item);
    std::vector<std::string> Items() const;

private:
    bool Refuses(const std::string& item) const;
    std::string file_;
};

}  // namespace kestrune::platform
