#include <fcntl.h>
#include <sys/stat.h>

#include "LocationFixture.h"
#include "locations/IconCache.h"
#include "support/CountingFiles.h"

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
    ViewState view;
    IconCache cache{Platform().files(), iconFe, view};
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

    view.slimlineMode = true;
    const std::string other = Program("other.exe", "other");
    EXPECT_EQ(cache.IconOf(other), 1);
    view.slimlineMode = false;
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

// A thousand Delayed rows on one program, and the copies of one running program: the file is
// read once in a run, in pieces, and again only after it changed.
TEST_F(IconCacheTest, ReadsEachFileOnceInPiecesAndAgainOnlyWhenItChanged) {
    CountingPlatform counting(Platform());
    IconCache countedCache(counting.files(), iconFe, view);
    const std::string big = Program("big.exe", std::string(3 * platform::kReadChunk + 7, 'x'));
    const std::string other = Program("other.exe", "other");
    for (int i = 0; i < 1000; ++i) {
        EXPECT_EQ(countedCache.IconOf(big), 2);
        EXPECT_EQ(countedCache.IconOf(other), 3);
    }
    EXPECT_EQ(counting.counter.reads[big], 1);
    EXPECT_EQ(counting.counter.reads[other], 1);
    EXPECT_LE(counting.counter.largestPiece, platform::kReadChunk);

    // New content and a new modification time: read again, and a new picture for it.
    WriteText(other, "changed content");
    struct timespec times[2] = {{0, UTIME_OMIT}, {1, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, other.c_str(), times, 0), 0);
    EXPECT_EQ(countedCache.IconOf(other), 4);
    EXPECT_EQ(counting.counter.reads[other], 2);
    // Content the cache knows under another name keeps its number.
    EXPECT_EQ(countedCache.IconOf(Program("copy-of-big.exe", std::string(3 * platform::kReadChunk + 7, 'x'))), 2);
}

TEST_F(IconCacheTest, AFrontEndWithoutIconsAndADeferredCacheReadNothing) {
    CountingPlatform counting(Platform());
    struct NoIcons : ScriptedFrontEnd {
        bool ShowsIcons() const override { return false; }
    } noIcons;
    IconCache cache1(counting.files(), noIcons, view);
    const std::string program = Program("a.exe", "content A");
    EXPECT_EQ(cache1.IconOf(program), 1);

    IconCache deferred(counting.files(), iconFe, view);
    deferred.SetDeferred(true);
    EXPECT_EQ(deferred.IconOf(program), 1);
    EXPECT_EQ(counting.counter.reads[program], 0);
    EXPECT_TRUE(iconFe.requests.empty());

    deferred.SetDeferred(false);
    EXPECT_EQ(deferred.IconOf(program), 2);
    EXPECT_EQ(counting.counter.reads[program], 1);
}

TEST_F(IconCacheTest, ChecksumTextIsUpperCaseHexadecimal) {
    Crc crc;
    EXPECT_EQ(FileChecksumText(crc, Platform().files(), Program("digits", "123456789")), "CBF43926");
    EXPECT_EQ(FileChecksumText(crc, Platform().files(), Program("empty", "")), "");
}

}  // namespace
}  // namespace kestrune::test
