#include "ContractFixture.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <thread>

#include "ProcessId.h"

namespace kestrune::contract {

namespace fs = std::filesystem;

namespace {

std::string FromPath(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

fs::path ToPath(const std::string& text) { return fs::path(std::u8string(text.begin(), text.end())); }

char Separator() {
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}

}  // namespace

const char* BackendName() {
#ifdef _WIN32
    return "Win32";
#else
    return "emulated";
#endif
}

std::string CrossCheckFolder() {
    const char* folder = std::getenv("KESTRUNE_CONTRACT_OUT");
    return folder ? folder : "";
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void ContractTest::SetUp() {
    static std::atomic<int> counter{0};
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    ASSERT_FALSE(ec) << "no temporary folder";
    root_ =
        FromPath(base / ("kestrune-contract-" + std::to_string(CurrentProcessId()) + "-" + std::to_string(++counter)));
    fs::remove_all(ToPath(root_), ec);
    root_.push_back(Separator());
    appFolder_ = root_ + "app";
    machineRoot_ = root_ + "machine";
    fs::create_directories(ToPath(appFolder_), ec);
    ASSERT_FALSE(ec) << "cannot create " << appFolder_;
    platform_ = platform::CreatePlatform({appFolder_, machineRoot_});
    ASSERT_NE(platform_, nullptr);
}

void ContractTest::TearDown() {
    platform_.reset();
    std::error_code ec;
    if (!root_.empty()) fs::remove_all(ToPath(root_), ec);
}

std::unique_ptr<platform::Platform> ContractTest::SecondPlatform() const {
    return platform::CreatePlatform({appFolder_, machineRoot_});
}

std::string ContractTest::PathOf(const std::string& relative) const {
    std::string path = root_ + relative;
    std::replace(path.begin(), path.end(), '/', Separator());
    return path;
}

std::string ContractTest::OwnPath() { return Os().processes().PathOf(CurrentProcessId()); }

std::string ContractTest::ProbeFileName() const {
    return std::string("platform_probe") + platform_->system().ProgramExtension();
}

std::string ContractTest::ProbePath() const {
    const std::string own = platform_->processes().PathOf(CurrentProcessId());
    const size_t slash = own.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? "" : own.substr(0, slash + 1);
    return folder + ProbeFileName();
}

std::string ContractTest::ProbeCommand(const std::string& arguments) const {
    return Quote(ProbePath()) + " " + arguments;
}

bool ContractTest::WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

}  // namespace kestrune::contract
