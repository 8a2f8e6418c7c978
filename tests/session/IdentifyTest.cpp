// Identify and the clipboard copies: the text each table gives, the address of each engine,
// and what the user sees.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "session/Application.h"
#include "session/Identify.h"
#include "support/RecordingPlatform.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TestMachine.h"

namespace kestrune {
namespace {

struct Session {
    test::TestMachine machine;
    test::RecordingPlatform platform{*machine.platform};
    test::ScriptedFrontEnd fe;
    test::FixedClock clock;
    test::ManualTimers timers{clock};
    Application app{platform, fe, clock, timers};
    MainState& s = app.state();

    // What the window's list has selected, which it passes to a command on rows.
    void Select(TableKind kind, std::vector<int> rows) {
        s.view.currentTab = Number(kind) + 1;
        selected = {kind, std::move(rows)};
    }
    std::pair<TableKind, std::vector<int>> selected{TableKind::HKCU_Run, {}};
};

TEST(Identify, TextPerTableAndMode) {
    Table run(TableKind::HKLM_Run);
    run.Add({"Tool", "\"C:\\Program Files\\Tool\\tool.exe\" /min"});
    Table folder(TableKind::UserStartup);
    folder.Add({"Pad", "C:\\Apps\\pad.exe", "-x 1"});
    folder.Add({"Bare", "C:\\Apps\\bare.exe", ""});
    Table known(TableKind::Known);
    known.Add({"C:\\Known\\k.exe -s"});
    Table process(TableKind::Process);
    process.Add({"System", "?", "", "4"});

    struct Case {
        const Table* table;
        int row;
        bool keepPath, withArguments;
        std::string expected;
    };
    const Case cases[] = {
        {&run, 1, false, false, "tool.exe"},
        {&run, 1, true, false, "C:\\Program Files\\Tool\\tool.exe"},
        {&run, 1, true, true, "\"C:\\Program Files\\Tool\\tool.exe\" /min"},
        {&folder, 1, false, false, "pad.exe"},
        {&folder, 1, true, false, "C:\\Apps\\pad.exe"},
        {&folder, 1, true, true, "\"C:\\Apps\\pad.exe\" -x 1"},
        {&folder, 2, true, true, "C:\\Apps\\bare.exe"},
        {&known, 1, false, false, "k.exe"},
        {&known, 1, true, true, "C:\\Known\\k.exe -s"},
        {&process, 1, false, false, "System"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IdentifyText(*c.table, c.row, c.keepPath, c.withArguments), c.expected)
            << KindName(c.table->Kind()) << " keep=" << c.keepPath << " args=" << c.withArguments;
    }
}

TEST(Identify, AddressesPutTheTextInPlaceOrAppendIt) {
    EXPECT_EQ(SearchAddress(kSearchEngines[2].addressTemplate, "tool.exe"),
              "http://www.reger24.de/prozesse/tool.exe.php");
    EXPECT_EQ(SearchAddress(kSearchEngines[5].addressTemplate, "tool.exe"), "http://www.google.com/search?q=tool.exe");
    EXPECT_EQ(SearchAddress("x<?>y<?>", "a b"), "xa bya b");
    const char* names[] = {"Process Library",      "Sys Info", "Reger 24", "2 Spyware",
                           "File Research Centre", "Google",   "Yahoo"};
    const char* paths[] = {"/directory/?files=",
                           "/startuplist.php?filter=",
                           "/prozesse/<?>.php",
                           "/file-<?>.html",
                           "/search.html?searchitem=<?>&search=Search...",
                           "/search?q=",
                           "/search?p="};
    for (size_t i = 0; i < kSearchEngines.size(); ++i) {
        const std::string_view t = kSearchEngines[i].addressTemplate;
        EXPECT_EQ(kSearchEngines[i].displayName, names[i]);
        EXPECT_TRUE(t.starts_with("http://")) << t;
        EXPECT_TRUE(t.ends_with(paths[i])) << t;
        EXPECT_EQ(t.find('/', 7), t.size() - std::string_view(paths[i]).size()) << "host then path: " << t;
    }
    EXPECT_EQ(SearchCaption(kSearchEngines[3]), "Search 2 Spyware");
    EXPECT_EQ(SearchListEntry(kSearchEngines[5]), "Google\thttp://www.google.com/search?q=");
}

TEST(Identify, OpensTheAddressOfTheSelectedRow) {
    Session t;
    t.s.model.tables[TableKind::HKCU_Run].Add({"Tool", "C:\\T\\tool.exe /a"}, true);
    t.Select(TableKind::HKCU_Run, {1});
    t.app.Identify(t.selected.first, t.selected.second, 0);
    t.app.Identify(t.selected.first, t.selected.second, 3);
    EXPECT_EQ(t.platform.recorder.opened,
              (std::vector<std::string>{"http://www.processlibrary.com/directory/?files=tool.exe",
                                        "http://www.2-spyware.com/file-tool.exe.html"}));
    EXPECT_TRUE(t.fe.messages.empty());
}

TEST(Identify, NothingSelectedDoesNothingAndAnEmptyTextIsRefused) {
    Session t;
    t.s.model.tables[TableKind::HKCU_Run].Add({"Empty", ""}, true);
    t.Select(TableKind::HKCU_Run, {});
    t.app.Identify(t.selected.first, t.selected.second, 0);
    t.app.CopyToClipboard(t.selected.first, t.selected.second, 0);
    EXPECT_TRUE(t.fe.messages.empty());
    EXPECT_TRUE(t.fe.statuses.empty());

    t.Select(TableKind::HKCU_Run, {1});
    t.app.Identify(t.selected.first, t.selected.second, 5);
    ASSERT_EQ(t.fe.messages.size(), 1u);
    EXPECT_EQ(t.fe.messages[0].text, "Could not extract executable file name to identify.");
    EXPECT_EQ(t.fe.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(t.platform.recorder.opened.empty());
}

TEST(Identify, ClipboardCopiesTheThreeForms) {
    Session t;
    t.s.model.tables[TableKind::RunOnce].Add({"Tool", "\"C:\\P Q\\tool.exe\" -go"}, true);
    t.Select(TableKind::RunOnce, {1});
    const std::string expected[] = {"tool.exe", "C:\\P Q\\tool.exe", "\"C:\\P Q\\tool.exe\" -go"};
    for (int which = 0; which < 3; ++which) {
        t.app.CopyToClipboard(t.selected.first, t.selected.second, which);
        EXPECT_EQ(t.fe.clipboard, expected[which]);
        EXPECT_EQ(t.fe.LastStatus(), "Item details copied to clipboard.");
    }
}

TEST(Identify, ContainerFolderOpensOnlyAnExistingFolder) {
    Session t;
    const std::string folder = t.machine.folder.Path() + "tools/";
    std::filesystem::create_directories(folder);
    t.s.model.tables[TableKind::Delayed].Add({"A", folder + "a.exe -x", "1", "", ""}, true);
    t.s.model.tables[TableKind::Delayed].Add({"B", t.machine.folder.Path() + "missing/b.exe", "1", "", ""}, true);
    t.Select(TableKind::Delayed, {1});
    t.app.OpenContainerFolder(t.selected.first, t.selected.second);
    t.Select(TableKind::Delayed, {2});
    t.app.OpenContainerFolder(t.selected.first, t.selected.second);
    EXPECT_EQ(t.platform.recorder.folders, (std::vector<std::string>{folder}));
}

TEST(Identify, TrayRoundTripAddsOneIcon) {
    Session t;
    t.app.SendToTray();
    t.app.SendToTray();
    EXPECT_EQ(std::count(t.fe.events.begin(), t.fe.events.end(), "tray add Kestrune"), 1);
    EXPECT_TRUE(t.s.view.inTray);
    t.app.RestoreFromTray();
    EXPECT_FALSE(t.s.view.inTray);
    EXPECT_EQ(t.fe.events.back(), "tray remove");
    EXPECT_NE(std::find(t.fe.events.begin(), t.fe.events.end(), "show"), t.fe.events.end());
}

}  // namespace
}  // namespace kestrune
