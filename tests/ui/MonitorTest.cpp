// The change monitor running beside the user's own changes in the window, with "Ignore
// self-made changes" off as it is by default: whatever the user enables, disables or answers,
// no entry leaves every table.

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <filesystem>

#include "GuiSession.h"
#include "app/CommandLine.h"
#include "locations/Places.h"

using namespace kestrune;
using kestrune::platform::RootKey;
using kestrune::test::GuiSession;

class MonitorTest : public QObject {
    Q_OBJECT
private slots:
    void reEnablingAFolderRowAndAllowingItKeepsOneRow();
    void reEnablingARunRowKeepsItInItsTable();
    void runOnStartupIsNotAskedAbout();
};

namespace {

// A session with the monitor switched on from the menu and its first look taken.
void StartMonitoring(GuiSession& t) {
    QVERIFY(!t.s.options.ignoreSelf);
    t.window().Menus().monitor->trigger();
    QVERIFY(t.s.options.monitor);
    t.timers.Advance(1000);
}

// Presses Space on a row, as a user ticks or unticks it from the keyboard.
void ToggleRow(GuiSession& t, TableKind kind, int position) {
    QTableView* view = t.View(kind);
    view->setFocus();
    view->setCurrentIndex(view->model()->index(position - 1, 0));
    QTest::keyClick(view, Qt::Key_Space);
}

// The monitor's dialog answered with Allow or Remove; counts how often it came.
void AnswerMonitor(GuiSession& t, bool keep, int& asked) {
    t.seam().playDialog = [keep, &asked](QDialog& d) {
        ++asked;
        QTest::mouseClick(d.findChild<QPushButton*>(keep ? "cmdAllow" : "cmdRemove"), Qt::LeftButton);
    };
}

// Every row of the five location tables and Deleted with this name, as "table:tick".
QStringList RowsNamed(GuiSession& t, const std::string& name) {
    QStringList found;
    for (TableKind kind : {TableKind::UserStartup, TableKind::CommonStartup, TableKind::HKLM_Run, TableKind::HKCU_Run,
                           TableKind::RunOnce, TableKind::Deleted}) {
        const Table& table = t.s.model.tables[kind];
        for (int p = 1; p <= table.Count(); ++p)
            if (table.Name(p) == name)
                found << QString::fromStdString(std::string(TabCaption(kind))) + (table.Ticked(p) ? ":on" : ":off");
    }
    return found;
}

}  // namespace

void MonitorTest::reEnablingAFolderRowAndAllowingItKeepsOneRow() {
    GuiSession t;
    QVERIFY(t.Start());
    const std::string folder = t.s.paths.userStartupFolder;
    std::filesystem::create_directories(folder);
    platform::ShortcutInfo link;
    link.target = "/opt/tool/tool";
    QVERIFY(t.platform.shell().WriteShortcut(AddBackslash(folder) + "Tool.lnk", link));
    t.app.RefreshTables();
    t.ClickTab("User");
    StartMonitoring(t);
    int asked = 0;
    AnswerMonitor(t, true, asked);
    const std::string file = AddBackslash(folder) + "Tool.lnk";

    ToggleRow(t, TableKind::UserStartup, 1);  // untick
    t.timers.Advance(1000);
    QCOMPARE(RowsNamed(t, "Tool"), QStringList({"User:off"}));
    ToggleRow(t, TableKind::UserStartup, 1);  // tick again: the prompt comes, OK
    t.timers.Advance(1000);
    QCOMPARE(asked, 1);
    QCOMPARE(RowsNamed(t, "Tool"), QStringList({"User:on"}));
    ToggleRow(t, TableKind::UserStartup, 1);  // untick again
    t.timers.Advance(3000);
    QCOMPARE(RowsNamed(t, "Tool"), QStringList({"User:off"}));
    QVERIFY(!t.s.services.FileExists(file));
    QCOMPARE(asked, 1);
}

void MonitorTest::reEnablingARunRowKeepsItInItsTable() {
    GuiSession t;
    auto& registry = t.platform.registry();
    QVERIFY(registry.CreateKey(RootKey::CurrentUser, kRunKey).Ok());
    QVERIFY(
        registry.SetValue(RootKey::CurrentUser, kRunKey, {"Clock", platform::ValueType::String, "/opt/clock"}).Ok());
    QVERIFY(t.Start());
    t.ClickTab("HKCU Run");
    StartMonitoring(t);
    int asked = 0;
    AnswerMonitor(t, true, asked);

    ToggleRow(t, TableKind::HKCU_Run, 1);
    t.timers.Advance(1000);
    ToggleRow(t, TableKind::HKCU_Run, 1);
    t.timers.Advance(3000);
    QCOMPARE(RowsNamed(t, "Clock"), QStringList({"HKCU Run:on"}));
    QVERIFY(registry.QueryValue(RootKey::CurrentUser, kRunKey, "Clock"));

    // Cancel on the user's own enabling takes it back; the row stays, unticked.
    AnswerMonitor(t, false, asked);
    ToggleRow(t, TableKind::HKCU_Run, 1);
    t.timers.Advance(1000);
    ToggleRow(t, TableKind::HKCU_Run, 1);
    t.timers.Advance(3000);
    QCOMPARE(asked, 2);
    QCOMPARE(RowsNamed(t, "Clock"), QStringList({"HKCU Run:off"}));
    QVERIFY(!registry.QueryValue(RootKey::CurrentUser, kRunKey, "Clock"));
}

void MonitorTest::runOnStartupIsNotAskedAbout() {
    GuiSession t;
    QVERIFY(t.Start());
    std::filesystem::create_directories(t.s.paths.commonStartupFolder);
    StartMonitoring(t);
    auto* runOnStartup = test::ActionNamed(*t.window().Menus().options, "Run on startup");
    runOnStartup->trigger();
    QVERIFY(t.s.options.runOnStartup);
    const std::string shortcut = AddBackslash(t.s.paths.commonStartupFolder) + "Kestrune.lnk";
    QVERIFY(t.s.services.FileExists(shortcut));
    t.timers.Advance(3000);  // no prompt: the seam fails the test on an unexpected dialog
    QVERIFY(t.s.services.FileExists(shortcut));
}

QTEST_MAIN(MonitorTest)
#include "MonitorTest.moc"
