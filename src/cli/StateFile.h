#pragma once
// The state file: a wanted start-up state as JSON ("kestrune-state": 1), read strictly (an
// unknown key, a wrong type or an unsafe name refuses the whole file, so that a typing error
// never half-applies) and written sorted, so that the same machine always gives the same bytes.
// docs/kestrune-state.schema.json describes it.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "desired/DesiredState.h"
#include "desired/StateApply.h"
#include "desired/StateCompare.h"
#include "platform/FileSystem.h"

namespace kestrune::cli {

inline constexpr const char* kStateVersionKey = "kestrune-state";
// Far above 2,000 entries in each place; what is larger is not a state file.
inline constexpr std::size_t kMaxStateFileBytes = std::size_t{4} * 1024 * 1024;
inline constexpr const char* kStateFileTooLarge = "the state file is larger than 4 MiB";
inline constexpr const char* kCannotReadState = "cannot read the state file";

struct ParsedState {
    DesiredState state;
    std::string error;  // "" when the text is a state file this program can apply
    bool Ok() const { return error.empty(); }
};

ParsedState ParseStateFile(std::string_view text);
// The file read (its size looked at first, so that a huge file is never read) and parsed; a
// file that cannot be read is an error too.
ParsedState ReadStateFile(platform::FileSystem& files, const std::string& path);

// The state as a state file: two-space indents, a newline at the end.
std::string StateFileText(const DesiredState& state);

// One difference with the entry as it is ("before", null when absent) and as wanted ("after").
nlohmann::ordered_json DifferenceJson(const StateDifference& difference);
std::string_view ResultWord(const Outcome& outcome);

}  // namespace kestrune::cli
