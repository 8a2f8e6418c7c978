#pragma once
// The options kept in settings.ini: the Options menu's check marks, the idle settings,
// the current profile and the window's position.

#include <cstdint>
#include <string>

namespace kestrune {

struct Options {
    // "Skip save on exit". Clear: every command that changes a table writes the settings
    // document (and settings.ini when an option changed) before it returns. Set: only the rows
    // that keep an entry taken out of a place, and the rows a reload would drop, are written at
    // once; the session's other edits (Delayed, Known, Process and the like) are not written,
    // at exit neither. The profile list is written at once either way.
    bool skipSave = false;
    bool runOnStartup = false;      // "Run on startup"
    bool monitor = false;           // "Monitor"
    bool trayOnClose = false;       // "Send to tray on close"
    bool exitAfterDelayed = false;  // "Exit after delayed run"
    bool ignoreSelf = false;        // "Ignore self-made changes"
    bool chooseProfile = false;     // "Choose profile on startup"
    bool skipRunning = false;       // "Skip running"
    bool watchPriorities = false;   // "Watch priorities"
    // Unticking switches an entry off as Task Manager does (its approval value), leaving it in
    // its place, instead of taking it out.
    bool disableTheWindowsWay = false;  // "Disable the Windows way"
    std::int16_t idleThreshold = 0;
    std::int16_t idleSeconds = 0;
    bool operator==(const Options&) const = default;
};

// The settings.ini key of Options::disableTheWindowsWay (the console's option name too).
inline constexpr const char* kDisableTheWindowsWayKey = "Disable the Windows way";

inline constexpr std::int16_t kDefaultIdleThreshold = 20;
inline constexpr std::int16_t kDefaultIdleSeconds = 5;

struct WindowPosition {
    int state = 0;                                 // 0 normal, 1 minimised, 2 maximised
    int top = 0, left = 0, width = 0, height = 0;  // twips
    int lastTab = 0;
    // Bounds a window had; a position without a size (what a program without a window has)
    // places nothing.
    bool HasBounds() const { return width > 0 && height > 0; }
};

}  // namespace kestrune
