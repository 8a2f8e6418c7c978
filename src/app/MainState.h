#pragma once
// The state that the main window owns and that every part of the program works on, held as
// its parts: the services it works through, the model (tables and what the program did to the
// places), the paths, the options and the view. An operation that needs only one part takes
// that part; only one that moves between them takes this. Subsystems keep their own state
// beside it (see Application) and receive this by reference.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/Clock.h"
#include "app/CommandLine.h"
#include "app/Model.h"
#include "app/Options.h"
#include "app/Paths.h"
#include "app/RowFiles.h"
#include "app/Services.h"
#include "app/Table.h"
#include "app/ViewState.h"
#include "platform/Platform.h"

namespace kestrune {

struct MainState {
    MainState(platform::Platform& platform, Clock& clock) : services(platform, clock) {
        model.tables.SetChangeListener([this](TableKind kind) { model.events.RowsChanged(kind); });
    }
    MainState(const MainState&) = delete;
    MainState& operator=(const MainState&) = delete;

    Services services;
    Model model;
    Paths paths;
    Options options;
    ViewState view;

    // The table of the selected tab, or nullptr on the About tab.
    Table* CurrentTable() {
        const auto kind = TableFromNumber(view.currentTab - 1);
        return kind ? &model.tables[*kind] : nullptr;
    }
    std::optional<TableKind> CurrentKind() const { return TableFromNumber(view.currentTab - 1); }

    // The file an entry's text names and its icon (RowFiles).
    RowFiles rowFiles() { return {services, paths}; }
};

}  // namespace kestrune
