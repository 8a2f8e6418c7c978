#pragma once

#include <string>

namespace kestrune {

inline constexpr const char* kTitle = "Kestrune";
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 0;
// The desktop program's file name without extension; Windows starts it at log-on.
inline constexpr const char* kDesktopProgramName = "kestrune";
inline constexpr const char* kMakerSiteName = "kestrune.org";
inline constexpr const char* kMakerSiteUrl = "http://www.kestrune.org/";

// "1.0.0"
inline std::string VersionNumber() {
    return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision);
}

// "Kestrune - v1.0.0": the window caption without a profile.
inline std::string VersionCaption() { return std::string(kTitle) + " - v" + VersionNumber(); }

}  // namespace kestrune
