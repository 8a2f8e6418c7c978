#include "locations/IconCache.h"

#include "LocationFixture.h"

namespace kestrune::test {
namespace {

// A front end whose files have no icon when their name says so, and that records requests.
class IconFrontEnd : public ScriptedFrontEnd {
public:
    std::vector<std::pair<std::string, int>> requests;
    bool LoadFileIcon(const std::string& file, int number) override {
        requests.emplace_back(file, number);
        return file.find("noicon") == std::string::npos;
    }
};

class IconCacheTest : public LocationFixture {
protected:
    IconFrontEnd iconFe;
    MainState iconState{Platform(), iconFe, clock};
    IconCache cache{iconState};
};

TEST_F(IconCacheTest, NumbersOneIconPerDistinctContentFromTwo) {
    const std::string a = Program("a.exe", "content A");
    const std::string copyOfA = Program("copy/a2.exe", "content A");
    const std::string b = Program("b.exe", "content B");
    EXPECT_EQ(cache.IconOf(a), 2);
    EXPECT_EQ(cache.IconOf(copyOfA), 2);
    EXPECT_EQ(cache.IconOf(b), 3);
    EXPECT_EQ(cache.IconOf(a), 2);
    EXPECT_EQ(cache.ImageCount(), 3);
    // The front end was asked for each picture once, with its number.
    ASSERT_EQ(iconFe.requests.size(), 2u);
    EXPECT_EQ(iconFe.requests[0], std::make_pair(a, 2));
    EXPECT_EQ(iconFe.requests[1], std::make_pair(b, 3));
}

TEST_F(IconCacheTest, DefaultIconForMissingFilesFilesWithoutIconAndSlimlineMode) {
    EXPECT_EQ(cache.IconOf(machine.machineRoot + "/Programs/missing.exe"), 1);
    EXPECT_EQ(cache.IconOf(""), 1);
    EXPECT_EQ(cache.IconOf(Program("noicon.txt", "text")), 1);
    EXPECT_EQ(cache.IconOf(Program("withicon.exe", "exe")), 2);  // the failed one took no number

    iconState.slimlineMode = true;
    const std::string other = Program("other.exe", "other");
    EXPECT_EQ(cache.IconOf(other), 1);
    iconState.slimlineMode = false;
    EXPECT_EQ(cache.IconOf(other), 3);
}

TEST_F(IconCacheTest, FilesWithoutChecksumAreNeverTakenForEachOther) {
    // An empty file has no checksum: each gets its own picture rather than a shared one.
    const std::string first = Program("empty1.exe", "");
    const std::string second = Program("empty2.exe", "");
    EXPECT_EQ(cache.IconOf(first), 2);
    EXPECT_EQ(cache.IconOf(second), 3);
    EXPECT_EQ(cache.CachedCount(), 0u);
}

TEST_F(IconCacheTest, ChecksumTextIsUpperCaseHexadecimal) {
    Crc crc;
    EXPECT_EQ(FileChecksumText(crc, Platform().files(), Program("digits", "123456789")), "CBF43926");
    EXPECT_EQ(FileChecksumText(crc, Platform().files(), Program("empty", "")), "");
}

}  // namespace
}  // namespace kestrune::test
