// The emulated machine's stand-ins for a program file's resources: the icon and the version
// file kept beside it.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "platform/emulated/SiblingProgramFiles.h"
#include "support/TestMachine.h"

namespace kestrune::platform {
namespace {

const std::string kIco("\0\0\1\0\1\0 icon", 11);
const std::string kPng("\x89PNG\r\n\x1a\n picture", 16);

class SiblingProgramFilesTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    SiblingProgramFiles programs;
    std::string program = folder.Path() + "app.exe";

    void SetUp() override { test::WriteText(program, "MZ program"); }
    void Beside(const std::string& suffix, const std::string& content) { test::WriteText(program + suffix, content); }
};

TEST_F(SiblingProgramFilesTest, TheIcoIsTakenBeforeThePngAndAFileThatIsNoPictureIsPassedOver) {
    EXPECT_FALSE(programs.FirstIcon(program).has_value());

    Beside(".png", kPng);
    ASSERT_TRUE(programs.FirstIcon(program).has_value());
    EXPECT_EQ(programs.FirstIcon(program)->encoded, kPng);

    Beside(".ico", kIco);
    EXPECT_EQ(programs.FirstIcon(program)->encoded, kIco);

    // A damaged .ico does not hide the .png; with both unusable there is no icon.
    Beside(".ico", "not a picture");
    EXPECT_EQ(programs.FirstIcon(program)->encoded, kPng);
    Beside(".png", "");
    EXPECT_FALSE(programs.FirstIcon(program).has_value());
}

TEST_F(SiblingProgramFilesTest, ThePublisherIsTheCompanyNameLineOfTheVersionFile) {
    struct Case {
        const char* content;
        const char* publisher;
    };
    const Case cases[] = {
        {"CompanyName=Up Software\n", "Up Software"},
        {"FileVersion=1.2\r\ncompanyname = Zoë & 山田 Ltd. \r\nProductName=Up\r\n", "Zoë & 山田 Ltd."},
        {"ProductName=Up\nCompanyName=\n", ""},
        {"CompanyName Up Software\n", ""},
        {"", ""},
        // The first line that names the company counts; a value may hold "=".
        {"CompanyName=A=B\nCompanyName=C\n", "A=B"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        Beside(".version", c.content);
        EXPECT_EQ(programs.Publisher(program), c.publisher);
    }
}

TEST_F(SiblingProgramFilesTest, WithoutTheProgramFileTheFilesBesideItCountForNothing) {
    Beside(".ico", kIco);
    Beside(".version", "CompanyName=Up Software\n");
    ASSERT_EQ(programs.Publisher(program), "Up Software");
    // Windows-style separators name the same file.
    std::string windowsStyle = program;
    for (char& c : windowsStyle)
        if (c == '/') c = '\\';
    EXPECT_EQ(programs.Publisher(windowsStyle), "Up Software");

    ASSERT_EQ(std::remove(program.c_str()), 0);
    EXPECT_FALSE(programs.FirstIcon(program).has_value());
    EXPECT_EQ(programs.Publisher(program), "");
    // A folder of the program's name is no program either.
    test::TempFolder other;
    const std::string folderProgram = other.Path() + "tool.exe";
    ASSERT_EQ(::mkdir(folderProgram.c_str(), 0700), 0);
    test::WriteText(folderProgram + ".version", "CompanyName=Nobody\n");
    EXPECT_EQ(programs.Publisher(folderProgram), "");
}

}  // namespace
}  // namespace kestrune::platform
