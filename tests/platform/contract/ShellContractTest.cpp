// The Startup folders and shortcut files with Unicode paths and arguments.

#include <string>

#include "ContractFixture.h"

namespace kestrune::contract {
namespace {

using platform::RootKey;
using platform::ShortcutInfo;

const std::string kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// scripts/test-wine reads the shortcut this suite leaves for it and expects exactly these.
const std::string kCrossTarget = "C:\\Users\\Zoë\\山田\\app.exe";
const std::string kCrossArguments = "--profile \"Home\" ö 日本";

std::string WithoutTrailingSeparator(std::string folder) {
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}

using ShellContract = ContractTest;

TEST_F(ShellContract, BothStartupFoldersExistAndEndWithASeparator) {
    for (const int csidl : {platform::kCsidlStartup, platform::kCsidlCommonStartup}) {
        SCOPED_TRACE("folder id " + std::to_string(csidl));
        const std::string folder = Os().shell().SpecialFolder(csidl);
        ASSERT_FALSE(folder.empty());
        EXPECT_EQ(folder.back(), Os().system().PathSeparator());
        EXPECT_TRUE(Os().files().DirectoryExists(folder)) << folder;
    }
    EXPECT_NE(Os().shell().SpecialFolder(platform::kCsidlStartup),
              Os().shell().SpecialFolder(platform::kCsidlCommonStartup));
}

// Where the shell has a known-folder API it names the same folders (without the separator).
TEST_F(ShellContract, KnownFoldersAgreeWithTheSpecialFolders) {
    for (const int csidl : {platform::kCsidlStartup, platform::kCsidlCommonStartup}) {
        SCOPED_TRACE("folder id " + std::to_string(csidl));
        const std::string known = Os().shell().KnownFolder(csidl);
        if (known.empty()) continue;
        EXPECT_NE(known.back(), Os().system().PathSeparator());
        EXPECT_TRUE(EqualIgnoringCase(known, WithoutTrailingSeparator(Os().shell().SpecialFolder(csidl)))) << known;
    }
    EXPECT_EQ(Os().shell().KnownFolder(-1), "");
}

TEST_F(ShellContract, ShellFoldersValueNamesTheUsersStartupFolder) {
    const auto value = Os().registry().QueryValue(RootKey::CurrentUser, kShellFoldersKey, "Startup");
    ASSERT_TRUE(value.has_value());
    EXPECT_TRUE(EqualIgnoringCase(WithoutTrailingSeparator(value->data),
                                  WithoutTrailingSeparator(Os().shell().SpecialFolder(platform::kCsidlStartup))))
        << value->data;
}

TEST_F(ShellContract, ShortcutsRoundTripWithUnicodePathsAndArguments) {
    ASSERT_TRUE(Os().files().CreateDirectories(PathOf("Zoë 山田")));
    const std::string target = PathOf("Zoë 山田/app 日本.exe");
    ASSERT_TRUE(Os().files().WriteFileAtomic(target, "MZ"));

    struct Case {
        std::string file;
        ShortcutInfo info;
    };
    ShortcutInfo full;
    full.target = target;
    full.arguments = "ö 日本 --profile \"Home\"";
    full.workingFolder = PathOf("Zoë 山田");
    full.iconLocation = target;
    full.iconIndex = 0;
    full.showCommand = 1;
    ShortcutInfo minimised;
    minimised.target = target;
    // Written, but not compared when read: Wine's reader does not load the show command.
    minimised.showCommand = 7;
    const Case cases[] = {{"Zoë 山田/Jörg's 日本.lnk", full}, {"Zoë 山田/App.exe.lnk", minimised}};

    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = PathOf(c.file);
        ASSERT_TRUE(Os().shell().WriteShortcut(path, c.info));
        EXPECT_TRUE(Os().files().FileExists(path));
        const auto read = Os().shell().ReadShortcut(path);
        ASSERT_TRUE(read.has_value());
        EXPECT_TRUE(EqualIgnoringCase(read->target, c.info.target)) << read->target;
        EXPECT_EQ(read->arguments, c.info.arguments);
        if (!c.info.workingFolder.empty()) {
            EXPECT_TRUE(EqualIgnoringCase(read->workingFolder, c.info.workingFolder)) << read->workingFolder;
        }
        if (!c.info.iconLocation.empty()) {
            EXPECT_TRUE(EqualIgnoringCase(read->iconLocation, c.info.iconLocation)) << read->iconLocation;
            EXPECT_EQ(read->iconIndex, c.info.iconIndex);
        }
    }
}

TEST_F(ShellContract, WritingAgainReplacesTheShortcut) {
    const std::string target = PathOf("app.exe");
    ASSERT_TRUE(Os().files().WriteFileAtomic(target, "MZ"));
    const std::string path = PathOf("App.lnk");
    ShortcutInfo info;
    info.target = target;
    info.arguments = "--first --and-a-much-longer-argument-list-than-the-second";
    ASSERT_TRUE(Os().shell().WriteShortcut(path, info));
    info.arguments = "-2";
    ASSERT_TRUE(Os().shell().WriteShortcut(path, info));
    const auto read = Os().shell().ReadShortcut(path);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->arguments, "-2");
}

// A change of a place is checked: both backends answer Windows' error numbers, worded by the
// system, so that a refusal reaches the user in the system's own words.
TEST_F(ShellContract, DeletingAndWritingAnswerTheSystemsErrorNumbers) {
    const std::string path = PathOf("Gone.lnk");
    ShortcutInfo info;
    info.target = PathOf("app.exe");
    ASSERT_TRUE(Os().shell().WriteShortcut(path, info).Ok());
    EXPECT_TRUE(Os().shell().DeleteShortcut(path).Ok());
    EXPECT_FALSE(Os().files().FileExists(path));
    EXPECT_EQ(Os().shell().DeleteShortcut(path).code, platform::kErrorFileNotFound);

    const platform::Status nowhere = Os().shell().WriteShortcut(PathOf("no such folder") + "\\x.lnk", info);
    EXPECT_FALSE(nowhere.Ok());
    EXPECT_FALSE(Os().files().FileExists(PathOf("no such folder") + "\\x.lnk"));

    const std::string denied = Os().system().ErrorText(platform::kErrorAccessDenied);
    EXPECT_FALSE(denied.empty());
    EXPECT_NE(denied, Os().system().ErrorText(platform::kErrorFileNotFound));
}

// Disabling and enabling a Startup entry writes back what was read: every field must survive.
TEST_F(ShellContract, EveryFieldOfAShortcutSurvivesAWriteAndARead) {
    const std::string target = PathOf("tool.exe");
    ASSERT_TRUE(Os().files().WriteFileAtomic(target, "MZ"));
    ShortcutInfo info;
    info.target = target;
    info.arguments = "-a";
    info.workingFolder = PathOf("");
    info.iconLocation = PathOf("icons.dll");
    info.iconIndex = 3;
    info.showCommand = 3;
    info.description = "Keeps the notes, ö 日本";
    info.hotKey = 0x0654;  // Ctrl+Shift+T
    const std::string path = PathOf("Every field.lnk");
    ASSERT_TRUE(Os().shell().WriteShortcut(path, info));
    const auto read = Os().shell().ReadShortcut(path);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->description, info.description);
    EXPECT_EQ(read->hotKey, info.hotKey);
    EXPECT_EQ(read->iconIndex, info.iconIndex);
    EXPECT_TRUE(EqualIgnoringCase(read->iconLocation, info.iconLocation)) << read->iconLocation;
    EXPECT_TRUE(
        EqualIgnoringCase(WithoutTrailingSeparator(read->workingFolder), WithoutTrailingSeparator(info.workingFolder)))
        << read->workingFolder;
}

TEST_F(ShellContract, RenamingMovesTheFileButNeverOntoAnother) {
    ShortcutInfo info;
    info.target = PathOf("app.exe");
    info.arguments = "--kept";
    const std::string first = PathOf("First.lnk");
    const std::string second = PathOf("Second.lnk");
    const std::string other = PathOf("Other.lnk");
    ASSERT_TRUE(Os().shell().WriteShortcut(first, info));
    ShortcutInfo otherInfo = info;
    otherInfo.arguments = "--other";
    ASSERT_TRUE(Os().shell().WriteShortcut(other, otherInfo));

    ASSERT_TRUE(Os().shell().RenameShortcut(first, second).Ok());
    EXPECT_FALSE(Os().files().FileExists(first));
    const auto moved = Os().shell().ReadShortcut(second);
    ASSERT_TRUE(moved.has_value());
    EXPECT_EQ(moved->arguments, "--kept");

    EXPECT_EQ(Os().shell().RenameShortcut(second, other).code, platform::kErrorAlreadyExists);
    EXPECT_EQ(Os().shell().ReadShortcut(other)->arguments, "--other");
    EXPECT_EQ(Os().shell().ReadShortcut(second)->arguments, "--kept");
    EXPECT_EQ(Os().shell().RenameShortcut(first, PathOf("Third.lnk")).code, platform::kErrorFileNotFound);

    // Another spelling of its own name is no other file.
    ASSERT_TRUE(Os().shell().RenameShortcut(second, PathOf("SECOND.lnk")).Ok());
    EXPECT_TRUE(Os().shell().ReadShortcut(PathOf("SECOND.lnk")).has_value());
}

// What a Startup folder's script goes through when it is disabled and enabled.
TEST_F(ShellContract, RelocatingKeepsEveryByteAndNeverLandsOnAnotherFile) {
    using namespace std::string_literals;
    const std::string bytes = "@echo off\r\nstart \"\" \"C:\\Zoë\\日本.exe\"\r\n\0\xff\r"s;
    ASSERT_TRUE(Os().files().CreateDirectories(PathOf("kept ö")));
    const std::string home = PathOf("Backup.bat");
    const std::string aside = PathOf("kept ö/Backup.bat");
    ASSERT_TRUE(Os().files().WriteFileAtomic(home, bytes));
    EXPECT_FALSE(Os().shell().ReadShortcut(home).has_value()) << "a script is no shortcut";

    ASSERT_TRUE(Os().shell().RelocateFile(home, aside).Ok());
    EXPECT_FALSE(Os().files().FileExists(home));
    EXPECT_EQ(Os().files().ReadFile(aside), bytes);

    ASSERT_TRUE(Os().files().WriteFileAtomic(home, "another"));
    EXPECT_EQ(Os().shell().RelocateFile(aside, home).code, platform::kErrorAlreadyExists);
    EXPECT_EQ(Os().shell().RelocateFile(aside, PathOf("BACKUP.BAT")).code, platform::kErrorAlreadyExists)
        << "names differing in case only are one name";
    EXPECT_EQ(Os().files().ReadFile(home), "another");
    EXPECT_EQ(Os().files().ReadFile(aside), bytes);
    EXPECT_EQ(Os().shell().RelocateFile(PathOf("missing.bat"), PathOf("kept ö/missing.bat")).code,
              platform::kErrorFileNotFound);

    ASSERT_TRUE(Os().files().RemoveFile(home));
    ASSERT_TRUE(Os().shell().RelocateFile(aside, home).Ok());
    EXPECT_EQ(Os().files().ReadFile(home), bytes);
}

TEST_F(ShellContract, MissingOrForeignFilesAreNoShortcuts) {
    EXPECT_FALSE(Os().shell().ReadShortcut(PathOf("missing.lnk")).has_value());
    const std::string text = PathOf("notes.lnk");
    ASSERT_TRUE(Os().files().WriteFileAtomic(text, "not a shortcut at all, just some text\r\n"));
    const auto read = Os().shell().ReadShortcut(text);
    EXPECT_TRUE(!read.has_value() || read->target.empty());
    const std::string empty = PathOf("empty.lnk");
    ASSERT_TRUE(Os().files().WriteFileAtomic(empty, ""));
    const auto readEmpty = Os().shell().ReadShortcut(empty);
    EXPECT_TRUE(!readEmpty.has_value() || readEmpty->target.empty());
}

TEST_F(ShellContract, LeavesAShortcutForTheOtherReader) {
    const std::string folder = CrossCheckFolder();
    if (folder.empty()) GTEST_SKIP() << "KESTRUNE_CONTRACT_OUT is not set";
    ShortcutInfo info;
    info.target = kCrossTarget;
    info.arguments = kCrossArguments;
    info.iconLocation = kCrossTarget;
    const std::string path = folder + Os().system().PathSeparator() + "written-by-" + BackendName() + ".lnk";
    ASSERT_TRUE(Os().shell().WriteShortcut(path, info));
    const auto read = Os().shell().ReadShortcut(path);
    ASSERT_TRUE(read.has_value());
    EXPECT_TRUE(EqualIgnoringCase(read->target, kCrossTarget)) << read->target;
    EXPECT_EQ(read->arguments, kCrossArguments);
}

}  // namespace
}  // namespace kestrune::contract
