// The Linux file system under a folder that another program watches while files are written.

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>

#include "platform/emulated/LinuxFileSystem.h"
#include "support/TestMachine.h"

namespace kestrune::platform {
namespace {

// A Startup folder is watched: the temporary file of an atomic write must never be listed, or the
// monitor takes it for an entry, deletes it as such, and the write fails.
TEST(LinuxFileSystemTest, AFileBeingWrittenIsNeverListed) {
    test::TempFolder folder;
    LinuxFileSystem files;
    std::atomic<bool> writing{true};
    std::thread writer([&] {
        const std::string content(64 * 1024, 'x');
        for (int i = 0; i < 100; ++i) EXPECT_TRUE(files.WriteFileAtomic(folder.Path() + "app.lnk", content));
        writing = false;
    });
    std::set<std::string> listed;
    while (writing) {
        for (const std::string& name : files.ListFiles(folder.Path())) listed.insert(name);
    }
    writer.join();
    for (const std::string& name : listed) EXPECT_EQ(name, "app.lnk");
    EXPECT_EQ(files.ListFiles(folder.Path()), std::vector<std::string>{"app.lnk"});
}

}  // namespace
}  // namespace kestrune::platform
