#pragma once
// The program's data: the nine tables, whether they differ from what is stored, the changes
// the program itself made to the start-up places (the change monitor must not take them for
// changes from outside) and the running processes as last listed.

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "app/ModelObserver.h"
#include "app/Table.h"
#include "app/Text.h"
#include "platform/Processes.h"

namespace kestrune {

// An entry the program itself put into a start-up place or took out of one.
struct OwnPlaceChange {
    TableKind kind;
    std::string name;  // the shortcut's name (its file name without ".lnk") or the value's name
    bool added = false;
    // A table row stands for the entry (the user ticked or unticked it). The program's own
    // start-up shortcut has none; the monitor never asks about it.
    bool fromRow = true;
};

// Paths compare ignoring case, as Windows compares them.
using SelfMadeChanges = std::set<std::string, LessIgnoringCase>;

struct Model {
    // What the views follow: changes of the tables, lasting work, the delayed-run window.
    ModelEvents events;
    Tables tables;
    bool settingsChanged = false;  // the tables hold edits the settings document lacks
    bool loadingInProgress = false;

    // Entries the program itself put into a place (their paths), and places it took an entry
    // out of; the change monitor reads both.
    SelfMadeChanges selfMadeChanges;
    std::array<bool, kTableCount + 1> selfMadeRemoval{};
    // Every change the program made to a place since the change monitor last looked, kept
    // whatever "Ignore self-made changes" says: the monitor must never take one of them for a
    // change from outside and apply it to the tables a second time.
    std::vector<OwnPlaceChange> ownPlaceChanges;

    // The running processes as last listed.
    std::vector<platform::ProcessInfo> processSnapshot;
    bool processRefreshNeeded = false;
    // Processes the user ended: for a moment the system may still list one (with no path), and
    // it must not come back as a row of its own.
    std::set<std::uint32_t> endedProcesses;

    Table& table(TableKind kind) { return tables[kind]; }
};

}  // namespace kestrune
