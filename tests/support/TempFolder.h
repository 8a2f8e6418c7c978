#pragma once
// A folder of one's own under the system's temporary folder, removed with everything in it
// when the object goes. Tests, benchmarks and fuzz targets keep their machines in one; it
// needs no test framework, so the fuzz targets can use it too.

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace kestrune::test {

class TempFolder {
public:
    // `prefix` names the folder, so that one left by a crashed run says who left it.
    explicit TempFolder(const std::string& prefix = "kestrune-test") {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
        path_ = pattern + "/";
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, with a trailing "/".
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

}  // namespace kestrune::test
