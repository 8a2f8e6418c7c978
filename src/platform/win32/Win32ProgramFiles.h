#pragma once
// Icons and publishers from a program file's resources: its first icon group (ExtractIconExW)
// and the CompanyName of its version information (GetFileVersionInfoW).

#include "platform/ProgramFiles.h"

namespace kestrune::platform::win32 {

class Win32ProgramFiles final : public ProgramFiles {
public:
    std::optional<IconPicture> FirstIcon(const std::string& file) override;
    std::string Publisher(const std::string& file) override;
};

}  // namespace kestrune::platform::win32
