// Files under non-ASCII folders, atomic replacement, and what the system says about the
// program and its environment.

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "ContractFixture.h"

namespace kestrune::contract {
namespace {

using FilesContract = ContractTest;

TEST_F(FilesContract, ContentRoundTripsByteForByteUnderNonAsciiFolders) {
    const std::string folder = PathOf("Zoë/山田/deeper");
    ASSERT_TRUE(Os().files().CreateDirectories(folder));
    EXPECT_TRUE(Os().files().CreateDirectories(folder)) << "an existing folder is fine";
    EXPECT_TRUE(Os().files().DirectoryExists(folder));
    EXPECT_FALSE(Os().files().FileExists(folder)) << "a folder is not a file";

    const std::string file = PathOf("Zoë/山田/deeper/données.bin");
    const std::string content = std::string("line\r\nbreak\n\0zero\xff", 19);
    ASSERT_TRUE(Os().files().WriteFileAtomic(file, content));
    EXPECT_TRUE(Os().files().FileExists(file));
    EXPECT_EQ(Os().files().ReadFile(file), content);

    ASSERT_TRUE(Os().files().WriteFileAtomic(file, "short"));
    EXPECT_EQ(Os().files().ReadFile(file), "short");
    EXPECT_EQ(Os().files().ListFiles(folder), std::vector<std::string>{"données.bin"})
        << "no temporary file is left behind";

    ASSERT_TRUE(Os().files().AppendToFile(file, " and more"));
    EXPECT_EQ(Os().files().ReadFile(file), "short and more");
    const std::string fresh = PathOf("Zoë/new log.txt");
    ASSERT_TRUE(Os().files().AppendToFile(fresh, "first"));
    EXPECT_EQ(Os().files().ReadFile(fresh), "first");

    EXPECT_FALSE(Os().files().ReadFile(PathOf("missing.txt")).has_value());
}

TEST_F(FilesContract, ReadingInPiecesGivesTheWholeContentAndTheStampFollowsChanges) {
    const std::string file = PathOf("Zoë/large.bin");
    ASSERT_TRUE(Os().files().CreateDirectories(PathOf("Zoë")));
    std::string content(2 * platform::kReadChunk + 5, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 13);
    ASSERT_TRUE(Os().files().WriteFileAtomic(file, content));
    std::string gathered;
    std::size_t largest = 0;
    ASSERT_TRUE(Os().files().ReadInChunks(file, [&](std::string_view piece) {
        largest = std::max(largest, piece.size());
        gathered.append(piece);
    }));
    EXPECT_EQ(gathered, content);
    EXPECT_LE(largest, platform::kReadChunk);
    EXPECT_FALSE(Os().files().ReadInChunks(PathOf("missing.bin"), [](std::string_view) {}));

    const auto stamp = Os().files().Stamp(file);
    ASSERT_TRUE(stamp.has_value());
    EXPECT_EQ(stamp->size, content.size());
    ASSERT_TRUE(Os().files().WriteFileAtomic(file, "short"));
    const auto after = Os().files().Stamp(file);
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(after->size, 5u);
    EXPECT_FALSE(Os().files().Stamp(PathOf("Zoë")).has_value()) << "a folder has no stamp";
    EXPECT_FALSE(Os().files().Stamp(PathOf("missing.bin")).has_value());
}

TEST_F(FilesContract, AWatchSeesAFileAddedToAWatchedFolderAndNothingElse) {
    const std::string folder = PathOf("Startup");
    ASSERT_TRUE(Os().files().CreateDirectories(folder));
    auto watch = Os().WatchPlaces({folder}, {});
    ASSERT_NE(watch, nullptr);
    EXPECT_FALSE(watch->MayHaveChanged());
    ASSERT_TRUE(Os().files().WriteFileAtomic(PathOf("elsewhere.txt"), "x"));
    EXPECT_FALSE(watch->MayHaveChanged());
    ASSERT_TRUE(Os().files().WriteFileAtomic(PathOf("Startup/App.lnk"), "x"));
    // Windows may deliver a folder's notification a moment after the change.
    bool seen = false;
    for (int wait = 0; wait < 50 && !seen; ++wait) {
        seen = watch->MayHaveChanged();
        if (!seen) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(seen);
}

TEST_F(FilesContract, ListingIsSortedAndHoldsOnlyFiles) {
    ASSERT_TRUE(Os().files().CreateDirectories(PathOf("list/sub folder")));
    for (const char* name : {"charlie.lnk", "alpha.txt", "bravo.lnk", "ärger.lnk"})
        ASSERT_TRUE(Os().files().WriteFileAtomic(PathOf(std::string("list/") + name), "x"));
    const std::vector<std::string> expected = {"alpha.txt", "bravo.lnk", "charlie.lnk", "ärger.lnk"};
    EXPECT_EQ(Os().files().ListFiles(PathOf("list")), expected);
    EXPECT_TRUE(Os().files().ListFiles(PathOf("no such folder")).empty());
}

TEST_F(FilesContract, RenamingRefusesAnExistingTargetAndRemovingDeletes) {
    const std::string a = PathOf("a.txt");
    const std::string b = PathOf("b.txt");
    const std::string c = PathOf("c ö.txt");
    ASSERT_TRUE(Os().files().WriteFileAtomic(a, "A"));
    ASSERT_TRUE(Os().files().WriteFileAtomic(b, "B"));
    EXPECT_FALSE(Os().files().RenameFile(a, b));
    EXPECT_EQ(Os().files().ReadFile(b), "B");
    EXPECT_TRUE(Os().files().RenameFile(a, c));
    EXPECT_FALSE(Os().files().FileExists(a));
    EXPECT_EQ(Os().files().ReadFile(c), "A");
    EXPECT_TRUE(Os().files().RemoveFile(c));
    EXPECT_FALSE(Os().files().FileExists(c));
    EXPECT_FALSE(Os().files().RemoveFile(c));
}

using SystemContract = ContractTest;

TEST_F(SystemContract, ProgramFolderNameAndSystemFolders) {
    const char separator = Os().system().PathSeparator();
    EXPECT_EQ(Os().system().AppFolder(), AppFolderGiven() + separator);
    EXPECT_TRUE(
        EqualIgnoringCase(Os().system().ProgramName() + Os().system().ProgramExtension(), FileNameOf(OwnPath())))
        << OwnPath();

    const std::string windows = Os().system().WindowsFolder();
    const std::string system = Os().system().SystemFolder();
    ASSERT_FALSE(windows.empty());
    ASSERT_FALSE(system.empty());
    EXPECT_TRUE(EqualIgnoringCase(system.substr(0, windows.size()), windows)) << system << " is not in " << windows;
}

TEST_F(SystemContract, EnvironmentHoldsNamedVariablesOnly) {
    const auto variables = Os().system().Environment();
    bool foundPath = false;
    for (const auto& [name, value] : variables) {
        EXPECT_FALSE(name.empty());
        EXPECT_EQ(name.find('='), std::string::npos) << name;
        if (EqualIgnoringCase(name, "PATH")) foundPath = !value.empty();
    }
    EXPECT_TRUE(foundPath);
}

}  // namespace
}  // namespace kestrune::contract
