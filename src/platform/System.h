#pragma once
// The program's own file and folder, the environment, and the system's folders.

#include <string>
#include <utility>
#include <vector>

namespace kestrune::platform {

class System {
public:
    virtual ~System() = default;

    // The program's folder with a trailing separator (KESTRUNE_APP_DIR overrides it).
    virtual std::string AppFolder() = 0;
    // The program file's name without folder and extension, e.g. "kestrune".
    virtual std::string ProgramName() = 0;
    // The program file's extension with its dot, e.g. ".exe" ("" where programs have none).
    virtual std::string ProgramExtension() = 0;
    virtual std::vector<std::pair<std::string, std::string>> Environment() = 0;
    virtual std::string WindowsFolder() = 0;
    virtual std::string SystemFolder() = 0;
    // The path separator of this system's paths.
    virtual char PathSeparator() = 0;
    // The system's own wording of an error number, as it shows it to the user.
    virtual std::string ErrorText(int code) = 0;
};

}  // namespace kestrune::platform
