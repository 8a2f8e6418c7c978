#pragma once
// The state that the main window owns and that every part of the program works on: the nine
// tables, the options, the file paths, the current profile and the flags shared between parts.
// Subsystems keep their own state beside it (see Application) and receive this by reference.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/Clock.h"
#include "app/CommandLine.h"
#include "app/FrontEnd.h"
#include "app/Log.h"
#include "app/ModelObserver.h"
#include "app/Options.h"
#include "app/PrivateProfile.h"
#include "app/Table.h"
#include "platform/Platform.h"

namespace kestrune {

// Gives a row the icon number of a file (1, the default icon, when it has none). The icon
// cache behind it belongs to the location scanning; the settings document needs it too.
class RowIcons {
public:
    virtual ~RowIcons() = default;
    virtual int IconOf(const std::string& file) = 0;
    // False while every row would get the default icon anyway (no icons shown, or deferred):
    // callers then need not even find the file behind a row.
    virtual bool Wanted() const { return true; }
};

// An entry the program itself put into a start-up place or took out of one.
struct OwnPlaceChange {
    TableKind kind;
    std::string name;  // the shortcut's name (its file name without ".lnk") or the value's name
    bool added = false;
    // A table row stands for the entry (the user ticked or unticked it). The program's own
    // start-up shortcut has none; the monitor never asks about it.
    bool fromRow = true;
};

struct MainState {
    MainState(platform::Platform& platform, FrontEnd& frontEnd, Clock& clock)
        : platform(platform), fe(frontEnd), clock(clock), log(platform.files(), clock), ini(platform.files()) {
        tables.SetChangeListener([this](TableKind kind) { events.RowsChanged(kind); });
    }
    MainState(const MainState&) = delete;
    MainState& operator=(const MainState&) = delete;

    platform::Platform& platform;
    FrontEnd& fe;
    Clock& clock;
    Log log;
    PrivateProfile ini;

    // What the views follow: changes of the tables, lasting work, the delayed-run window.
    ModelEvents events;
    Tables tables;
    Options options;
    WindowPosition position;
    bool positionRead = false;  // "Position" was applied from settings.ini

    std::string appFolder;  // with a trailing separator
    std::string iniPath, profilesPath, logPath;
    std::string settingsDocumentPath;
    std::string strProfile;

    bool settingsChanged = false;
    bool slimlineMode = false;
    bool loadingInProgress = false;
    bool inTray = false;

    std::string userStartupFolder;
    std::string commonStartupFolder;
    EnvironmentList environment;  // captured at start-up for %NAME% expansion

    int currentTab = 0;  // 0 = About, otherwise the table number + 1
    // The counts the status line last showed, and of which table: when the current table's
    // differ, the status line is out of date (UpdateTableStatus).
    struct ShownCounts {
        std::optional<TableKind> kind;
        int rows = -1;
        int ticked = -1;
        bool operator==(const ShownCounts&) const = default;
    } shownCounts;

    // Entries the program itself put into a place ("\r\n"-separated paths), and places it
    // took an entry out of; the change monitor reads both.
    std::string selfMadeChanges;
    std::array<bool, kTableCount + 1> selfMadeRemoval{};
    // Every change the program made to a place since the change monitor last looked, kept
    // whatever "Ignore self-made changes" says: the monitor must never take one of them for a
    // change from outside and apply it to the tables a second time.
    std::vector<OwnPlaceChange> ownPlaceChanges;

    // The running processes as last listed: name, handle, base priority and path joined by tabs.
    std::vector<std::string> processSnapshot{std::string{}};
    bool processRefreshNeeded = false;
    std::uint32_t chosenPriorityClass = 0x20;

    bool deleteAllConfirmed = false;  // multi-row deletion from Deleted asks once

    RowIcons* icons = nullptr;

    // The three timers of the main window.
    std::unique_ptr<Timer> tmrMain;
    std::unique_ptr<Timer> tmrMonitor;
    std::unique_ptr<Timer> tmrPriorities;

    Table& table(TableKind kind) { return tables[kind]; }
    // The table of the selected tab, or nullptr on the About tab.
    Table* CurrentTable() {
        const auto kind = TableFromNumber(currentTab - 1);
        return kind ? &tables[*kind] : nullptr;
    }
    std::optional<TableKind> CurrentKind() const { return TableFromNumber(currentTab - 1); }

    int IconOf(const std::string& file) { return icons ? icons->IconOf(file) : kDefaultIcon; }
    // The icon of the file an entry's text names (ResolveItemFile).
    int ItemIcon(std::string_view text) {
        if (!icons || !icons->Wanted()) return kDefaultIcon;
        const std::string file = ResolveItemFile(text);
        return FileExists(file) ? icons->IconOf(file) : kDefaultIcon;
    }
    std::string ResolveItemFile(std::string_view text) {
        return kestrune::ResolveItemFile(text, platform.files(), platform.system(), environment);
    }
    bool FileExists(const std::string& path) { return !path.empty() && platform.files().FileExists(path); }
    void WriteLog(std::string_view text) { log.Write(text); }
};

}  // namespace kestrune
