#pragma once
// The plain log: one line per event, "dd/mm/yyyy hh:nn:ss text" and CR LF. Writing never
// fails the caller; a line that cannot be written is lost.

#include <string>
#include <string_view>

namespace kestrune {

class Clock;
namespace platform {
class FileSystem;
}

class Log {
public:
    Log(platform::FileSystem& files, Clock& clock) : files_(files), clock_(clock) {}

    // A non-empty path is remembered; an empty one means the path remembered last.
    void Write(std::string_view text, const std::string& path = "");
    const std::string& Path() const { return path_; }
    // A run that only looks (a console listing while the desktop program runs) leaves the
    // log as it found it.
    void Mute() { muted_ = true; }

private:
    platform::FileSystem& files_;
    Clock& clock_;
    std::string path_;
    bool muted_ = false;
};

}  // namespace kestrune
