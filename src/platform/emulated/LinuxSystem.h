#pragma once
// The program's folder and name, the environment, and the emulated machine's Windows and
// System folders.

#include <string>

#include "platform/System.h"

namespace kestrune::platform {

class LinuxSystem final : public System {
public:
    // `appFolder` "" = KESTRUNE_APP_DIR, else the executable's folder. `machineRoot` is the
    // emulated machine, whose "Windows" folder stands for the Windows folder.
    LinuxSystem(const std::string& appFolder, std::string machineRoot);

    std::string AppFolder() override { return appFolder_; }
    std::string ProgramName() override { return programName_; }
    std::string ProgramExtension() override { return ""; }
    std::vector<std::pair<std::string, std::string>> Environment() override;
    std::string WindowsFolder() override;
    std::string SystemFolder() override;
    char PathSeparator() override { return '/'; }
    // Windows' wording of the numbers the emulated machine answers with.
    std::string ErrorText(int code) override;

private:
    std::string appFolder_;
    std::string programName_;
    std::string machineRoot_;
};

// The executable's own folder, with a trailing "/", as KESTRUNE_APP_DIR or the file system says.
std::string DefaultAppFolder();

}  // namespace kestrune::platform
