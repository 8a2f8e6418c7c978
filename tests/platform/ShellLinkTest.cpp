// Shortcut files: what this program writes reads back the same, shortcuts that Windows and
// other implementations write read correctly, and damaged files never yield a target.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/emulated/ShellLink.h"
#include "platform/emulated/TextCodec.h"
#include "support/TestMachine.h"

namespace kestrune::platform {
namespace {

using test::ReadText;
using test::SamplePath;
using test::WriteText;

void U16(std::string& out, std::uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void U32(std::string& out, std::uint32_t v) {
    U16(out, v & 0xFFFF);
    U16(out, v >> 16);
}
std::string Wide(const std::string& text) { return Utf8ToUtf16Le(text) + std::string(2, '\0'); }

std::string Header(std::uint32_t flags, std::uint32_t show = 1) {
    std::string out;
    U32(out, 0x4C);
    out += std::string("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16);
    U32(out, flags);
    out.append(4 + 24 + 4 + 4, '\0');
    U32(out, show);
    out.append(12, '\0');
    return out;
}

std::string WithSize(std::string item) {
    item[0] = static_cast<char>(item.size() & 0xFF);
    item[1] = static_cast<char>(item.size() >> 8);
    return item;
}

// A file entry as Windows 8 and later write it: an 8.3 primary name and a version 9
// extension block holding the long name.
std::string WindowsFileEntry(const std::string& shortName, const std::string& longName, bool isFile) {
    std::string item(2, '\0');
    item.push_back(isFile ? '\x32' : '\x31');
    item.push_back('\0');
    item.append(8, '\x11');
    U16(item, isFile ? 0x20 : 0x10);
    item += shortName + '\0';
    if (item.size() % 2) item.push_back('\0');
    const size_t blockStart = item.size();
    std::string block(2, '\0');
    U16(block, 9);
    U32(block, 0xBEEF0004);
    block.append(8, '\x22');  // times
    U16(block, 0x2E);         // identifier
    block.append(2, '\0');    // unknown
    block.append(8, '\x33');  // file reference
    block.append(8, '\0');    // unknown
    U16(block, 0);            // localized name size
    block.append(4, '\0');    // version 9 field
    block.append(4, '\0');    // version 8 field
    block += Wide(longName);
    U16(block, static_cast<std::uint32_t>(blockStart));
    block = WithSize(block);
    return WithSize(item + block);
}

std::string WindowsIdList(const std::string& drive, const std::vector<std::pair<std::string, std::string>>& names) {
    std::string list;
    std::string root(2, '\0');
    root += "\x1F\x50";
    root += std::string("\xE0\x4F\xD0\x20\xEA\x3A\x69\x10\xA2\xD8\x08\x00\x2B\x30\x30\x9D", 16);
    list += WithSize(root);
    std::string volume(2, '\0');
    volume.push_back('\x2F');
    volume += drive;
    volume.resize(25, '\0');
    list += WithSize(volume);
    for (size_t i = 0; i < names.size(); ++i)
        list += WindowsFileEntry(names[i].first, names[i].second, i + 1 == names.size());
    U16(list, 0);
    std::string out;
    U16(out, static_cast<std::uint32_t>(list.size()));
    return out + list;
}

std::string AnsiLinkInfo(const std::string& basePath) {
    std::string tail;
    U32(tail, 0x11);
    U32(tail, 3);
    U32(tail, 0x1234);
    U32(tail, 0x10);
    tail.push_back('\0');
    const std::uint32_t base = 0x1C + static_cast<std::uint32_t>(tail.size());
    tail += basePath + '\0';
    const std::uint32_t suffix = 0x1C + static_cast<std::uint32_t>(tail.size());
    tail.push_back('\0');
    std::string info;
    U32(info, 0x1C + static_cast<std::uint32_t>(tail.size()));
    U32(info, 0x1C);
    U32(info, 1);
    U32(info, 0x1C);
    U32(info, base);
    U32(info, 0);
    U32(info, suffix);
    return info + tail;
}

std::string Counted(const std::string& text, bool unicode) {
    std::string out;
    const std::string raw = unicode ? Utf8ToUtf16Le(text) : Utf8ToAnsi(text);
    U16(out, static_cast<std::uint32_t>(unicode ? raw.size() / 2 : raw.size()));
    return out + raw;
}

std::string EnvironmentBlock(const std::string& target) {
    std::string block;
    U32(block, 0x314);
    U32(block, 0xA0000001);
    std::string ansi = Utf8ToAnsi(target);
    ansi.resize(260, '\0');
    std::string wide = Utf8ToUtf16Le(target);
    wide.resize(520, '\0');
    return block + ansi + wide;
}

TEST(ShellLinkTest, WhatIsWrittenReadsBackTheSame) {
    const std::vector<ShortcutInfo> shortcuts = {
        {"/usr/bin/sleep", "300", "", "", 0, 1, "", 0},
        {"/usr/bin/top", "-d 5", "/tmp", "/usr/bin/top", 0, 7, "", 0},
        {"C:\\Program Files\\Sync\\sync tool.exe", "--minimized --profile \"Home\"", "C:\\Program Files\\Sync",
         "C:\\Program Files\\Sync\\sync tool.exe", 2, 3, "", 0},
        {"C:\\Users\\Jörg\\日本\\app.exe", "ö 日本", "", "", -5, 1, "", 0},
        {"/home/jörg/bin/app", "", "", "", 0, 1, "", 0},
        {"%windir%\\system32\\notepad.exe", "%USERPROFILE%\\notes.txt", "", "", 0, 1, "", 0},
        {"C:\\", "", "", "", 0, 1, "", 0},
        {"/usr/bin/env", "true", "/tmp", "/usr/bin/env", 0, 7, "Keeps the clock, ö 日本", 0x0654},
    };
    for (const ShortcutInfo& written : shortcuts) {
        const auto read = ReadShellLink(WriteShellLink(written));
        ASSERT_TRUE(read) << written.target;
        EXPECT_EQ(read->target, written.target);
        EXPECT_EQ(read->arguments, written.arguments);
        EXPECT_EQ(read->workingFolder, written.workingFolder);
        EXPECT_EQ(read->iconLocation, written.iconLocation);
        EXPECT_EQ(read->iconIndex, written.iconIndex);
        EXPECT_EQ(read->showCommand, written.showCommand);
        EXPECT_EQ(read->description, written.description);
        EXPECT_EQ(read->hotKey, written.hotKey);
    }
}

TEST(ShellLinkTest, ReadsTheShortcutsOfAnotherImplementation) {
    struct Sample {
        std::string file;
        ShortcutInfo expected;
    };
    const std::vector<Sample> samples = {
        {"Calculator.lnk", {"C:\\windows\\system32\\calc.exe", "", "", "", 0, 1, "", 0}},
        {"Sync Tool.lnk",
         {"C:\\Program Files\\Sync\\sync tool.exe", "--minimized --profile \"Home\"", "C:\\Program Files\\Sync", "", 0,
          7, "", 0}},
        {"Jörg's App.lnk", {"C:\\Users\\Jörg\\app.exe", "ö 日本", "", "C:\\Users\\Jörg\\app.exe", 0, 1, "", 0}},
    };
    test::TestMachine machine;
    Shell& shell = machine.platform->shell();
    for (const Sample& sample : samples) {
        const std::string copy = machine.folder.Path() + sample.file;
        WriteText(copy, ReadText(SamplePath("lnk/" + sample.file)));
        const auto read = shell.ReadShortcut(copy);
        ASSERT_TRUE(read) << sample.file;
        EXPECT_EQ(read->target, sample.expected.target);
        EXPECT_EQ(read->arguments, sample.expected.arguments);
        EXPECT_EQ(read->workingFolder, sample.expected.workingFolder);
        EXPECT_EQ(read->iconLocation, sample.expected.iconLocation);
        EXPECT_EQ(read->iconIndex, sample.expected.iconIndex);
        EXPECT_EQ(read->showCommand, sample.expected.showCommand);
    }
}

TEST(ShellLinkTest, ReadsTheKindsOfShortcutWindowsWrites) {
    // The ID list wins over the link info, and long names come from the extension blocks.
    std::string idListFirst = Header(0x1 | 0x2 | 0x20 | 0x80);
    idListFirst +=
        WindowsIdList("C:\\", {{"PROGRA~1", "Program Files"}, {"MYAPP~1", "My App"}, {"MYAPP~1.EXE", "My App.exe"}});
    idListFirst += AnsiLinkInfo("C:\\PROGRA~1\\MYAPP~1\\MYAPP~1.EXE");
    idListFirst += Counted("/tray", true);
    U32(idListFirst, 0);

    // Without an ID list the link info's path counts; ANSI strings are code page 1252.
    std::string linkInfoOnly = Header(0x2 | 0x10 | 0x20);
    linkInfoOnly += AnsiLinkInfo("D:\\Caf\xe9\\app.exe");
    linkInfoOnly += Counted("D:\\Café", false);
    linkInfoOnly += Counted("-x é", false);
    U32(linkInfoOnly, 0);

    // An ID list of something that is no file (the Control Panel) gives way to the link info.
    std::string controlPanel = Header(0x1 | 0x2 | 0x80);
    {
        std::string list;
        std::string root(2, '\0');
        root += "\x1F\x70";
        root += std::string("\x20\x20\xEC\x21\xEA\x3A\x69\x10\xA2\xDD\x08\x00\x2B\x30\x30\x9D", 16);
        list += WithSize(root);
        U16(list, 0);
        U16(controlPanel, static_cast<std::uint32_t>(list.size()));
        controlPanel += list;
    }
    controlPanel += AnsiLinkInfo("C:\\Windows\\control.exe");
    U32(controlPanel, 0);

    // Only an environment-variable block, as for a target typed with %NAME%.
    std::string environmentOnly = Header(0x200 | 0x80 | 0x20);
    environmentOnly += Counted("/background", true);
    environmentOnly += EnvironmentBlock("%SystemRoot%\\System32\\ctfmon.exe");
    environmentOnly += std::string(4, '\0');

    // Only a relative path.
    std::string relativeOnly = Header(0x8 | 0x80);
    relativeOnly += Counted(".\\tools\\run.exe", true);
    U32(relativeOnly, 0);

    // A valid link without any target, such as a shortcut to a virtual folder.
    std::string noTarget = Header(0x80 | 0x20);
    noTarget += Counted("-a", true);
    U32(noTarget, 0);

    struct Case {
        const char* what;
        std::string bytes;
        std::string target;
        std::string arguments;
    };
    const std::vector<Case> cases = {
        {"ID list first", idListFirst, "C:\\Program Files\\My App\\My App.exe", "/tray"},
        {"link info only", linkInfoOnly, "D:\\Café\\app.exe", "-x é"},
        {"control panel", controlPanel, "C:\\Windows\\control.exe", ""},
        {"environment only", environmentOnly, "%SystemRoot%\\System32\\ctfmon.exe", "/background"},
        {"relative only", relativeOnly, ".\\tools\\run.exe", ""},
        {"no target", noTarget, "", "-a"},
    };
    for (const Case& c : cases) {
        const auto read = ReadShellLink(c.bytes);
        ASSERT_TRUE(read) << c.what;
        EXPECT_EQ(read->target, c.target) << c.what;
        EXPECT_EQ(read->arguments, c.arguments) << c.what;
    }
    const auto linkInfo = ReadShellLink(linkInfoOnly);
    EXPECT_EQ(linkInfo->workingFolder, "D:\\Café");
}

TEST(ShellLinkTest, TruncatedDamagedOrForeignFilesHaveNoTarget) {
    std::vector<std::string> links;
    for (const char* sample : {"Calculator.lnk", "Sync Tool.lnk", "Jörg's App.lnk"})
        links.push_back(ReadText(SamplePath(std::string("lnk/") + sample)));
    links.push_back(WriteShellLink({"C:\\Program Files\\A\\a.exe", "-x", "C:\\Program Files\\A", "", 0, 1, "", 0}));
    links.push_back(WriteShellLink({"/usr/bin/env", "", "", "", 0, 1, "", 0}));
    for (const std::string& link : links) {
        ASSERT_TRUE(ReadShellLink(link)) << "the whole file reads";
        // Everything but the final terminal block is needed for the link to be whole.
        for (size_t size = 0; size + 4 < link.size(); ++size) {
            const auto read = ReadShellLink(std::string_view(link).substr(0, size));
            EXPECT_TRUE(!read || read->target.empty()) << "cut at " << size << " of " << link.size();
        }
        // Every byte flipped in turn must not crash the reader or make it read out of bounds.
        for (size_t i = 0; i < link.size(); ++i) {
            std::string damaged = link;
            damaged[i] = static_cast<char>(~damaged[i]);
            (void)ReadShellLink(damaged);
        }
    }

    test::TestMachine machine;
    Shell& shell = machine.platform->shell();
    const std::string folder = machine.folder.Path();
    WriteText(folder + "notes.txt",
              "just some text that is not a shortcut at all, long enough for a header ...........");
    WriteText(folder + "empty.lnk", "");
    WriteText(folder + "huge.lnk", Header(0x80) + std::string(kMaxShellLinkSize, '\0'));
    for (const std::string& path :
         {folder + "notes.txt", folder + "empty.lnk", folder + "huge.lnk", folder + "missing.lnk", folder + "app"})
        EXPECT_FALSE(shell.ReadShortcut(path)) << path;
}

TEST(ShellLinkTest, TheShellWritesShortcutsIntoTheStartupFolders) {
    test::TestMachine machine;
    Shell& shell = machine.platform->shell();
    for (int csidl : {kCsidlStartup, kCsidlCommonStartup}) {
        const std::string path = shell.SpecialFolder(csidl) + "Sleeper.lnk";
        ASSERT_TRUE(shell.WriteShortcut(path, {"/usr/bin/sleep", "30", "", "/usr/bin/sleep", 0, 1, "", 0}));
        ASSERT_TRUE(shell.WriteShortcut(path, {"/usr/bin/sleep", "60", "", "/usr/bin/sleep", 0, 1, "", 0}))
            << "replaces";
        const auto read = shell.ReadShortcut(path);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->target, "/usr/bin/sleep");
        EXPECT_EQ(read->arguments, "60");
        EXPECT_EQ(machine.platform->files().ListFiles(shell.SpecialFolder(csidl)),
                  std::vector<std::string>{"Sleeper.lnk"});
    }
    EXPECT_FALSE(
        shell.WriteShortcut(machine.folder.Path() + "no/such/folder/x.lnk", {"/usr/bin/env", "", "", "", 0, 1, "", 0}));
}

}  // namespace
}  // namespace kestrune::platform
