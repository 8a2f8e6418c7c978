#pragma once
// The parts that changing what a start-up place holds works on: the tables and what the
// program did to the places, the machine and the log, the folders and the settings document's
// path, and the options that decide how a change is made. A tick carried out in its place
// reaches these and never the view or the front end.

#include <concepts>

#include "app/Clock.h"
#include "app/Model.h"
#include "app/Options.h"
#include "app/Paths.h"
#include "app/RowFiles.h"
#include "app/Services.h"

namespace kestrune {

// A state that holds the row parts, the options and the priority watcher's timer (the main
// state, a test's).
template <class State>
concept MadeOfPlaceParts = MadeOfRowParts<State> && requires(State& state) {
    { state.options } -> std::convertible_to<const Options&>;
    { state.priorityTimer.get() } -> std::convertible_to<Timer*>;
};

struct PlaceParts {
    PlaceParts(Model& model, Services& services, const Paths& paths, const Options& options,
               Timer* priorityTimer = nullptr)
        : model(model), services(services), paths(paths), options(options), priorityTimer(priorityTimer) {}
    template <MadeOfPlaceParts State>
    PlaceParts(State& state)  // NOLINT(google-explicit-constructor): a state is its parts
        : PlaceParts(state, state, state, state.options, state.priorityTimer.get()) {}

    Model& model;
    Services& services;
    const Paths& paths;
    const Options& options;
    // The priority watcher's timer, brought in line when a Process row is ticked; none before
    // start-up made one.
    Timer* priorityTimer;

    operator RowParts() const { return {model, services, paths}; }  // NOLINT(google-explicit-constructor)
    RowFiles files() const { return {services, paths}; }
};

}  // namespace kestrune
