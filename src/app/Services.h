#pragma once
// What every part of the program works through and none of it owns: the machine, the clock,
// the log, the settings.ini reader and the numbering of row icons.

#include <string>
#include <string_view>

#include "app/Clock.h"
#include "app/Log.h"
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

struct Services {
    Services(platform::Platform& platform, Clock& clock)
        : platform(platform), clock(clock), log(platform.files(), clock), ini(platform.files()) {}

    platform::Platform& platform;
    Clock& clock;
    Log log;
    PrivateProfile ini;
    RowIcons* icons = nullptr;

    int IconOf(const std::string& file) { return icons ? icons->IconOf(file) : kDefaultIcon; }
    bool FileExists(const std::string& path) { return !path.empty() && platform.files().FileExists(path); }
    void WriteLog(std::string_view text) { log.Write(text); }
};

}  // namespace kestrune
