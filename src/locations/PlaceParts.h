#pragma once
// The parts that changing what a start-up place holds works on: the tables and what the
// program did to the places, the machine and the log, the folders and the settings document's
// path, and the options that decide how a change is made. A tick carried out in its place
// reaches these and never the view or the front end.

#include <concepts>

#include "app/Model.h"
#include "app/Options.h"
#include "app/Paths.h"
#include "app/RowFiles.h"
#include "app/Services.h"

namespace kestrune {

// A state that holds the row parts and the options (the main state, a test's).
template <class State>
concept MadeOfPlaceParts = MadeOfRowParts<State> && requires(State& state) {
    { state.options } -> std::convertible_to<const Options&>;
};

struct PlaceParts {
    PlaceParts(Model& model, Services& services, const Paths& paths, const Options& options)
        : model(model), services(services), paths(paths), options(options) {}
    template <MadeOfPlaceParts State>
    PlaceParts(State& state)  // NOLINT(google-explicit-constructor): a state is its parts
        : PlaceParts(state.model, state.services, state.paths, state.options) {}

    Model& model;
    Services& services;
    const Paths& paths;
    const Options& options;

    operator RowParts() const { return {model, services, paths}; }  // NOLINT(google-explicit-constructor)
    RowFiles files() const { return {services, paths}; }
};

}  // namespace kestrune
