#pragma once
// Where the program keeps its files and finds the start-up folders, fixed at start-up (the
// settings document's path moves with the profile), and the environment that %NAME% expands
// from.

#include <string>

#include "app/CommandLine.h"

namespace kestrune {

struct Paths {
    std::string appFolder;  // with a trailing separator
    std::string iniPath, profilesPath, logPath;
    std::string settingsDocumentPath;  // the current profile's document
    std::string profile;               // the current profile; "" for the default one

    std::string userStartupFolder;
    std::string commonStartupFolder;
    EnvironmentList environment;  // captured at start-up for %NAME% expansion
};

}  // namespace kestrune
