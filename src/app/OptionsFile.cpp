#include "app/OptionsFile.h"

#include <limits>

#include "app/Text.h"

namespace kestrune {

namespace {

constexpr const char* kOptions = "Options";
constexpr const char* kPosition = "Position";

// A whole number from the file; a value outside the 16-bit range reads as 0 (the default).
std::int16_t ReadShort(const std::string& text) {
    const std::int64_t value = RoundHalfEven(LeadingNumber(text));
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max()) return 0;
    return static_cast<std::int16_t>(value);
}

int ReadInt(const std::string& text) {
    const std::int64_t value = RoundHalfEven(LeadingNumber(text));
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) return 0;
    return static_cast<int>(value);
}

}  // namespace

void ReadOptions(IniParts parts) {
    const std::string& iniPath = parts.paths.iniPath;
    PrivateProfile& ini = parts.services.ini;
    if (!parts.services.FileExists(iniPath)) return;
    auto read = [&](const char* key) { return ini.ReadValue(kOptions, key, iniPath); };
    Options& o = parts.options;
    o.skipSave = IniToBool(read("Skip save on exit"));
    o.runOnStartup = IniToBool(read("Run on startup"));
    o.monitor = IniToBool(read("Monitor"));
    o.trayOnClose = IniToBool(read("Send to tray on close"));
    o.exitAfterDelayed = IniToBool(read("Exit after delayed run"));
    o.ignoreSelf = IniToBool(read("Ignore self-made changes"));
    parts.paths.profile = read("Profile");
    o.chooseProfile = IniToBool(read("Choose profile on startup"));
    o.skipRunning = IniToBool(read("Skip running"));
    o.watchPriorities = IniToBool(read("Watch priorities"));
    o.disableTheWindowsWay = IniToBool(read(kDisableTheWindowsWayKey));
    o.idleThreshold = ReadShort(read("Idle threshold"));
    o.idleSeconds = ReadShort(read("Idle seconds"));

    ini.ValueExists(kPosition, "", "");
    if (ini.ValueExists("", "Window state", iniPath)) {
        auto pos = [&](const char* key) { return ReadInt(ini.ReadValue(kPosition, key, iniPath)); };
        WindowPosition& p = parts.view.position;
        p.state = pos("Window state");
        p.top = pos("Top");
        p.left = pos("Left");
        p.width = pos("Width");
        p.height = pos("Height");
        p.lastTab = pos("Last tab");
        parts.view.positionRead = true;
    }
}

void ApplyIdleDefaults(Options& options) {
    if (options.idleThreshold == 0) options.idleThreshold = kDefaultIdleThreshold;
    if (options.idleSeconds == 0) options.idleSeconds = kDefaultIdleSeconds;
}

void WriteOptions(IniParts parts) {
    // One rewrite of the file for all nineteen keys: each rewrite goes to the disk and waits
    // for it, and the order of the keys is what it would be with one write each.
    std::vector<IniEntry> entries;
    auto write = [&](const char* section, const char* key, const std::string& value) {
        entries.push_back({section, key, value});
    };
    const Options& o = parts.options;
    write(kOptions, "Skip save on exit", BoolToIni(o.skipSave));
    write(kOptions, "Run on startup", BoolToIni(o.runOnStartup));
    write(kOptions, "Monitor", BoolToIni(o.monitor));
    write(kOptions, "Send to tray on close", BoolToIni(o.trayOnClose));
    write(kOptions, "Exit after delayed run", BoolToIni(o.exitAfterDelayed));
    write(kOptions, "Ignore self-made changes", BoolToIni(o.ignoreSelf));
    write(kOptions, "Idle threshold", std::to_string(o.idleThreshold));
    write(kOptions, "Idle seconds", std::to_string(o.idleSeconds));
    write(kOptions, "Profile", parts.paths.profile);
    write(kOptions, "Choose profile on startup", BoolToIni(o.chooseProfile));
    write(kOptions, "Skip running", BoolToIni(o.skipRunning));
    write(kOptions, "Watch priorities", BoolToIni(o.watchPriorities));
    write(kOptions, kDisableTheWindowsWayKey, BoolToIni(o.disableTheWindowsWay));
    const WindowPosition& p = parts.view.position;
    // The console program has no window: the keys stay as the desktop program left them.
    if (p.HasBounds()) {
        write(kPosition, "Window state", std::to_string(p.state));
        write(kPosition, "Top", std::to_string(p.top));
        write(kPosition, "Left", std::to_string(p.left));
        write(kPosition, "Width", std::to_string(p.width));
        write(kPosition, "Height", std::to_string(p.height));
        write(kPosition, "Last tab", std::to_string(p.lastTab));
    }
    parts.services.ini.WriteValues(entries, parts.paths.iniPath);
}

}  // namespace kestrune
