#pragma once
// The files behind rows, and the parts of the state that filling rows works on. Scanning a
// place, giving rows their icons and publishers reach the tables, the machine and the paths,
// never the options, the view or the front end; taking these instead of the whole state keeps
// that visible in their declarations.

#include <concepts>
#include <string>
#include <string_view>

#include "app/CommandLine.h"
#include "app/Model.h"
#include "app/Paths.h"
#include "app/Services.h"
#include "app/Table.h"

namespace kestrune {

// What file an entry's text names, and the icon that file gives a row.
struct RowFiles {
    Services& services;
    const Paths& paths;

    std::string ResolveItemFile(std::string_view text) const {
        return kestrune::ResolveItemFile(text, services.platform.files(), services.platform.system(),
                                         paths.environment);
    }
    int ItemIcon(std::string_view text) const {
        if (!services.icons || !services.icons->Wanted()) return kDefaultIcon;
        const std::string file = ResolveItemFile(text);
        return services.FileExists(file) ? services.icons->IconOf(file) : kDefaultIcon;
    }
};

// A state that holds the tables, the services and the paths (the main state, a test's).
template <class State>
concept MadeOfRowParts = requires(State& state) {
    { state.model } -> std::convertible_to<Model&>;
    { state.services } -> std::convertible_to<Services&>;
    { state.paths } -> std::convertible_to<const Paths&>;
};

// The tables with what finds the files behind their rows. Any state made of these parts
// (the main state, a test's) passes as one.
struct RowParts {
    RowParts(Model& model, Services& services, const Paths& paths) : model(model), services(services), paths(paths) {}
    template <MadeOfRowParts State>
    RowParts(State& state)  // NOLINT(google-explicit-constructor): a state is its parts
        : RowParts(state.model, state.services, state.paths) {}

    Model& model;
    Services& services;
    const Paths& paths;

    RowFiles files() const { return {services, paths}; }
};

}  // namespace kestrune
