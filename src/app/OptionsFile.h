#pragma once
// The options and the window position in settings.ini, read once at start-up and written
// once at shut-down.

#include <string>

namespace kestrune {

struct MainState;
struct Options;

// Reads the "Options" keys (flags are set only by "1") and, when "Window state" is present,
// the "Position" keys. Only when settings.ini exists.
void ReadOptions(MainState& state);
// Applies the defaults 20 and 5 to an idle threshold or idle seconds of 0.
void ApplyIdleDefaults(Options& options);
// Writes all "Options" keys and then all "Position" keys, in their fixed order; the
// "Position" keys only when the position has a size.
void WriteOptions(MainState& state);

}  // namespace kestrune
