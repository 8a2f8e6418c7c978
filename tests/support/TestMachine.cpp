#include "support/TestMachine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kestrune::test {

namespace fs = std::filesystem;

TestMachine::TestMachine() {
    appFolder = folder.Path() + "app/";
    machineRoot = folder.Path() + "machine";
    fs::create_directories(appFolder);
    platform = platform::CreatePlatform({appFolder, machineRoot});
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteText(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
}

std::string SamplePath(const std::string& relative) { return std::string(KESTRUNE_SAMPLES_DIR) + "/" + relative; }

}  // namespace kestrune::test
