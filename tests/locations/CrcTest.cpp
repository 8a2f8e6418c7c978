#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "locations/Crc.h"
#include "platform/FileSystem.h"
#include "support/TestMachine.h"

namespace kestrune {
namespace {

struct CheckValue {
    bool crc32;
    std::string text;
    std::uint32_t expected;
};

void PrintTo(const CheckValue& c, std::ostream* os) {
    *os << (c.crc32 ? "CRC-32 of " : "CRC-16 of ") << c.text.size() << " bytes";
}

class CrcCheckValues : public ::testing::TestWithParam<CheckValue> {};

TEST_P(CrcCheckValues, CalculateStringGivesThePublishedValue) {
    const CheckValue& c = GetParam();
    Crc crc(c.crc32);
    EXPECT_EQ(crc.CalculateString(c.text), c.expected);
    EXPECT_EQ(crc.Value(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Published, CrcCheckValues,
    ::testing::Values(CheckValue{false, "123456789", 0x31C3u}, CheckValue{true, "123456789", 0xCBF43926u},
                      CheckValue{true, "", 0x00000000u}, CheckValue{false, "", 0x0000u},
                      CheckValue{true, "The quick brown fox jumps over the lazy dog", 0x414FA339u},
                      CheckValue{false, "A", 0x58E5u}, CheckValue{true, std::string(1, '\0'), 0xD202EF8Du},
                      CheckValue{true, "\xFF\xFE\x80", 0x265EA2ECu}, CheckValue{false, "\xFF\xFE\x80", 0x6E25u}));

TEST(Crc, PiecesAddUpToTheWholeTextInBothAlgorithms) {
    for (const bool crc32 : {false, true}) {
        Crc whole(crc32);
        const std::uint32_t expected = whole.CalculateString("123456789");
        for (std::size_t cut = 0; cut <= 9; ++cut) {
            Crc pieces(crc32);
            pieces.AddString(std::string("123456789").substr(0, cut));
            EXPECT_EQ(pieces.AddBytes(std::string("123456789").substr(cut)), expected) << "cut at " << cut;
        }
    }
}

TEST(Crc, CalculateClearsWhatWasAddedBefore) {
    Crc crc;
    crc.AddString("something earlier");
    EXPECT_EQ(crc.CalculateString("123456789"), 0xCBF43926u);
    crc.AddString("more");
    EXPECT_EQ(crc.CalculateBytes("123456789"), 0xCBF43926u);
}

TEST(Crc, AnEmptyPieceChangesNothing) {
    Crc crc;
    crc.AddString("12345");
    const std::uint32_t before = crc.Value();
    EXPECT_EQ(crc.AddBytes(""), before);
}

TEST(Crc, SwitchingTheAlgorithmResetsTheRunningValue) {
    Crc crc(true);
    crc.AddString("12345");
    crc.SetAlgorithm(false);
    EXPECT_FALSE(crc.Algorithm());
    EXPECT_EQ(crc.Value(), 0u);
    crc.AddString("6789");
    EXPECT_EQ(crc.Value(), Crc(false).CalculateString("6789"));

    crc.SetAlgorithm(true);
    EXPECT_EQ(crc.Value(), 0u);  // NOT of the initial 0xFFFFFFFF
    EXPECT_EQ(crc.AddString("123456789"), 0xCBF43926u);

    // Selecting the algorithm already selected resets as well.
    crc.SetAlgorithm(true);
    EXPECT_EQ(crc.AddString("123456789"), 0xCBF43926u);
}

TEST(Crc, SettingTheValueContinuesFromIt) {
    // The running value of CRC-32 is kept un-negated: continuing from the value after "12345"
    // must give the checksum of the whole text.
    Crc first(true);
    first.AddString("12345");
    Crc second(true);
    second.SetValue(~first.Value());
    EXPECT_EQ(second.AddString("6789"), 0xCBF43926u);

    Crc sixteen(false);
    sixteen.AddString("12345");
    Crc other(false);
    other.SetValue(sixteen.Value());
    EXPECT_EQ(other.AddString("6789"), 0x31C3u);
    other.SetValue(0x12345678u);
    EXPECT_EQ(other.Value(), 0x5678u);  // kept to 16 bits
}

class CrcFile : public ::testing::Test {
protected:
    test::TestMachine machine;
    platform::FileSystem& files = machine.platform->files();
    std::string Write(const std::string& name, const std::string& content) {
        const std::string path = machine.appFolder + name;
        test::WriteText(path, content);
        return path;
    }
};

TEST_F(CrcFile, ChecksumsTheWholeContentWhateverTheRunningValue) {
    const std::string path = Write("digits.bin", "123456789");
    Crc crc;
    crc.AddString("left over");
    EXPECT_EQ(crc.CalculateFile(files, path), 0xCBF43926u);
    crc.SetAlgorithm(false);
    EXPECT_EQ(crc.CalculateFile(files, path), 0x31C3u);
}

TEST_F(CrcFile, BinaryContentWithZeroBytesIsReadWhole) {
    std::string content(70000, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7);
    const std::string path = Write("blob.bin", content);
    Crc crc;
    EXPECT_EQ(crc.CalculateFile(files, path), Crc().CalculateBytes(content));
}

// Bit by bit, straight from the polynomial: a reference that shares nothing with the library.
std::uint32_t ReferenceCrc32(const std::string& bytes) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char ch : bytes) {
        c ^= static_cast<std::uint8_t>(ch);
        for (int k = 0; k < 8; ++k) c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    return ~c;
}

TEST_F(CrcFile, AFileLargerThanOneReadPieceGivesTheChecksumOfAllOfIt) {
    std::string content(2 * platform::kReadChunk + platform::kReadChunk / 2 + 3, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>((i * 131) ^ (i >> 9));
    const std::string path = Write("large.bin", content);
    Crc crc;
    EXPECT_EQ(crc.CalculateFile(files, path), ReferenceCrc32(content));
    EXPECT_EQ(Crc().CalculateBytes(content), ReferenceCrc32(content));
}

TEST_F(CrcFile, NoValueForEmptyPathMissingEmptyOrFolder) {
    Crc crc;
    EXPECT_FALSE(crc.CalculateFile(files, "").has_value());
    EXPECT_FALSE(crc.CalculateFile(files, machine.appFolder + "missing.exe").has_value());
    EXPECT_FALSE(crc.CalculateFile(files, Write("empty.exe", "")).has_value());
    EXPECT_FALSE(crc.CalculateFile(files, machine.appFolder).has_value());
}

}  // namespace
}  // namespace kestrune
