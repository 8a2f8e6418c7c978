#pragma once
// A temporary program folder and emulated machine for one test, removed afterwards.

#include <memory>
#include <string>

#include "platform/Platform.h"
#include "support/TempFolder.h"

namespace kestrune::test {

struct TestMachine {
    TestMachine();
    TempFolder folder;
    std::string appFolder;    // <temp>/app/
    std::string machineRoot;  // <temp>/machine
    std::unique_ptr<platform::Platform> platform;
};

std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& content);
// A file of the samples folder written by another implementation.
std::string SamplePath(const std::string& relative);

}  // namespace kestrune::test
