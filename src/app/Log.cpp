#include "app/Log.h"

#include <cstdio>

#include "app/Clock.h"
#include "platform/FileSystem.h"

namespace kestrune {

void Log::Write(std::string_view text, const std::string& path) {
    if (!path.empty()) path_ = path;
    if (path_.empty() || muted_) return;
    const LocalTime t = clock_.Now();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02d/%02d/%04d %02d:%02d:%02d ", t.day, t.month, t.year, t.hour, t.minute,
                  t.second);
    std::string line(stamp);
    line.append(text);
    line += "\r\n";
    try {
        files_.AppendToFile(path_, line);
    } catch (...) {
        // The log must never take the program down.
    }
}

}  // namespace kestrune
