#pragma once

namespace kestrune {

inline constexpr const char* kTitle = "Kestrune";
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 0;
inline constexpr const char* kMakerSiteName = "kestrune.org";
inline constexpr const char* kMakerSiteUrl = "http://www.kestrune.org/";

}  // namespace kestrune
