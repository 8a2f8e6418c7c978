#pragma once
// Icons and publishers on the emulated machine, where program files are Linux files without
// Windows resources. A program file `app.exe` carries them in files beside it:
//
//   app.exe.ico or app.exe.png   its first icon (the .ico is taken when both are there)
//   app.exe.version              its version information: lines "Key=Value", of which
//                                "CompanyName" names the publisher
//
// Nothing is answered for a program file that does not exist, as Windows has nothing to read.

#include "platform/ProgramFiles.h"

namespace kestrune::platform {

inline constexpr const char* kIconSuffixes[] = {".ico", ".png"};
inline constexpr const char* kVersionSuffix = ".version";
inline constexpr const char* kCompanyNameKey = "CompanyName";

class SiblingProgramFiles final : public ProgramFiles {
public:
    std::optional<IconPicture> FirstIcon(const std::string& file) override;
    std::string Publisher(const std::string& file) override;
};

}  // namespace kestrune::platform
