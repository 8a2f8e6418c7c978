#pragma once
// The options and the window position in settings.ini, read once at start-up and written
// once at shut-down.

#include <concepts>
#include <string>

#include "app/Options.h"
#include "app/Paths.h"
#include "app/RowFiles.h"
#include "app/Services.h"
#include "app/ViewState.h"

namespace kestrune {

// A state that holds what settings.ini keeps (the main state, a test's); its options are the
// member `options`.
template <class State>
concept MadeOfIniParts = MadeOfRowParts<State> && requires(State& state) {
    { state.options } -> std::convertible_to<Options&>;
    { state.view } -> std::convertible_to<ViewState&>;
};

// What settings.ini holds and how it is reached: the options, the current profile's name (in
// the paths, beside the file's own) and the window's position, through the services' reader.
struct IniParts {
    IniParts(Services& services, Paths& paths, Options& options, ViewState& view)
        : services(services), paths(paths), options(options), view(view) {}
    template <MadeOfIniParts State>
    IniParts(State& state)  // NOLINT(google-explicit-constructor): a state is its parts
        : IniParts(state.services, state.paths, state.options, state.view) {}

    Services& services;
    Paths& paths;
    Options& options;
    ViewState& view;
};

// Reads the "Options" keys (flags are set only by "1") and, when "Window state" is present,
// the "Position" keys. Only when settings.ini exists.
void ReadOptions(IniParts parts);
// Applies the defaults 20 and 5 to an idle threshold or idle seconds of 0.
void ApplyIdleDefaults(Options& options);
// Writes all "Options" keys and then all "Position" keys, in their fixed order; the
// "Position" keys only when the position has a size.
void WriteOptions(IniParts parts);

}  // namespace kestrune
