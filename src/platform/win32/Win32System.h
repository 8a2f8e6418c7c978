#pragma once
// The program's own file and folder, the environment and the system folders.

#include "platform/System.h"

namespace kestrune::platform::win32 {

class Win32System final : public System {
public:
    // `appFolder` "" = KESTRUNE_APP_DIR, else the executable's folder.
    explicit Win32System(const std::string& appFolder);

    std::string AppFolder() override { return appFolder_; }
    std::string ProgramName() override { return programName_; }
    std::string ProgramExtension() override { return programExtension_; }
    std::vector<std::pair<std::string, std::string>> Environment() override;
    std::string WindowsFolder() override;
    std::string SystemFolder() override;
    char PathSeparator() override { return '\\'; }
    std::string ErrorText(int code) override;

private:
    std::string appFolder_;
    std::string programName_;
    std::string programExtension_;
};

}  // namespace kestrune::platform::win32
