// Any bytes as profiles.txt: the list starts with "[default]" and holds it only there, no
// entry is empty or spans a line, and the list saved at shut-down loads back the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "app/Text.h"
#include "store/Profiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrune;
    using fuzz::Require;
    auto& machine = fuzz::FuzzMachine::Instance();
    auto state = machine.NewState();
    Require(
        machine.Platform().files().WriteFileAtomic(state->paths.profilesPath, std::string(fuzz::AsText(data, size))),
        "profiles.txt can be written");

    ProfileList list;
    list.LoadProfiles(state->services, state->paths.profilesPath);
    const auto& entries = list.Entries();
    Require(!entries.empty() && entries.front() == kDefaultProfile, "the list starts with [default]");
    for (size_t i = 0; i < entries.size(); ++i) {
        Require(!entries[i].empty(), "no entry is empty");
        Require(entries[i].find_first_of("\r\n") == std::string::npos, "an entry stays on its line");
        if (i > 0) Require(!EqualsIgnoreCase(entries[i], kDefaultProfile), "[default] is listed once");
        Require(list.ProfileExists(entries[i]), "every entry exists");
    }

    list.SaveProfiles(state->services, state->paths.profilesPath);
    ProfileList again;
    again.LoadProfiles(state->services, state->paths.profilesPath);
    Require(again.Entries() == entries, "the list saved and loaded again reads the same");
    return 0;
}
