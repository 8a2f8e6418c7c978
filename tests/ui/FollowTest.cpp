// The open window follows what other programs do to the start-up places, without a refresh and
// with the change monitor off: the changed place is rescanned, the selection stays on its rows,
// and neither the program's own changes nor an open dialog cause a rescan.

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <filesystem>

#include "GuiSession.h"
#include "app/CommandLine.h"
#include "locations/Places.h"
#include "ui/MainMenus.h"

using namespace kestrune;
using kestrune::platform::RootKey;
using kestrune::platform::ValueType;
using kestrune::test::Column;
using kestrune::test::GuiSession;

class FollowTest : public QObject {
    Q_OBJECT
private slots:
    void anotherProgramsEntriesShowWithoutARefresh();
    void theSelectionStaysOnItsRowAndLeavesWithIt();
    void theSelectionStaysOnItsRowThroughTheFilter();
    void theProgramsOwnChangeCausesNoRescan();
    void noRescanWhileADialogIsOpen();
    void withTheMonitorOnANewcomerIsAskedFirstAndShownOnce();
};

namespace {

void SetRunValue(GuiSession& t, const std::string& name, const std::string& data) {
    auto& registry = t.machine.platform->registry();
    QVERIFY(registry.CreateKey(RootKey::CurrentUser, kRunKey).Ok());
    QVERIFY(registry.SetValue(RootKey::CurrentUser, kRunKey, {name, ValueType::String, data}).Ok());
}

// One second of the window's timers, then the turn of the event loop that redraws the lists.
void OneSecond(GuiSession& t) {
    t.timers.Advance(1000);
    QApplication::processEvents();
}

// The names the list shows, top to bottom.
QStringList ShownNames(GuiSession& t, TableKind kind) {
    QStringList names;
    const QAbstractItemModel* model = t.View(kind)->model();
    for (int row = 0; row < model->rowCount(); ++row) names << model->index(row, 0).data().toString();
    return names;
}

// Starts the window on HKCU Run holding Beta and Delta, after the first look.
bool StartWithBetaAndDelta(GuiSession& t) {
    SetRunValue(t, "Beta", "/opt/beta");
    SetRunValue(t, "Delta", "/opt/delta");
    if (!t.Start()) return false;
    t.ClickTab("HKCU Run");
    OneSecond(t);
    return true;
}

}  // namespace

void FollowTest::anotherProgramsEntriesShowWithoutARefresh() {
    GuiSession t;
    QVERIFY(t.Start());
    QVERIFY(!t.s.options.monitor);
    t.ClickTab("HKCU Run");
    OneSecond(t);  // the first look takes the snapshot
    QCOMPARE(ShownNames(t, TableKind::HKCU_Run), QStringList());

    SetRunValue(t, "Updater", "/opt/upd/updater --tray");
    OneSecond(t);
    QCOMPARE(ShownNames(t, TableKind::HKCU_Run), QStringList({"Updater"}));
    QVERIFY(t.s.model.tables[TableKind::HKCU_Run].Ticked(1));
    QCOMPARE(t.window().findChild<QWidget*>("txtStatus")->property("text").toString(),
             QString("1 item(s) : 1 enabled, 0 disabled."));

    const std::string folder = t.s.paths.userStartupFolder;
    std::filesystem::create_directories(folder);
    platform::ShortcutInfo link;
    link.target = "/opt/chat/chat";
    QVERIFY(t.machine.platform->shell().WriteShortcut(AddBackslash(folder) + "Chat.lnk", link));
    OneSecond(t);
    QCOMPARE(ShownNames(t, TableKind::UserStartup), QStringList({"Chat"}));

    // A changed command with the same number of entries, which the monitor would not report.
    SetRunValue(t, "Updater", "/opt/upd/updater2");
    OneSecond(t);
    QCOMPARE(QString::fromStdString(t.s.model.tables[TableKind::HKCU_Run].Text(1, col::Path)),
             QString("/opt/upd/updater2"));
}

void FollowTest::theSelectionStaysOnItsRowAndLeavesWithIt() {
    GuiSession t;
    QVERIFY(StartWithBetaAndDelta(t));
    t.ClickRow(TableKind::HKCU_Run, 2);
    QCOMPARE(t.window().SelectedRows(TableKind::HKCU_Run), std::vector<int>({2}));

    SetRunValue(t, "Alpha", "/opt/alpha");  // sorts in above the selected row
    OneSecond(t);
    QCOMPARE(ShownNames(t, TableKind::HKCU_Run), QStringList({"Alpha", "Beta", "Delta"}));
    QCOMPARE(t.window().SelectedRows(TableKind::HKCU_Run), std::vector<int>({3}));

    QVERIFY(t.machine.platform->registry().DeleteValue(RootKey::CurrentUser, kRunKey, "Delta").Ok());
    OneSecond(t);
    QCOMPARE(ShownNames(t, TableKind::HKCU_Run), QStringList({"Alpha", "Beta"}));
    QVERIFY(t.window().SelectedRows(TableKind::HKCU_Run).empty());
}

// The list shows the table through the filter, so its rows are not the table's positions.
void FollowTest::theSelectionStaysOnItsRowThroughTheFilter() {
    GuiSession t;
    QVERIFY(StartWithBetaAndDelta(t));
    QTest::keyClicks(t.window().FilterBox(), "elta");
    QApplication::processEvents();
    QCOMPARE(ShownNames(t, TableKind::HKCU_Run), QStringList({"Delta"}));
    t.ClickRow(TableKind::HKCU_Run, 1);
    QCOMPARE(t.window().SelectedRows(TableKind::HKCU_Run), std::vector<int>({2}));

    SetRunValue(t, "Alpha", "/opt/alpha");  // comes in above, hidden by the filter
    OneSecond(t);
    QCOMPARE(ShownNames(t, TableKind::HKCU_Run), QStringList({"Delta"}));
    QCOMPARE(t.window().SelectedRows(TableKind::HKCU_Run), std::vector<int>({3}));
}

void FollowTest::theProgramsOwnChangeCausesNoRescan() {
    GuiSession t;
    SetRunValue(t, "Alpha", "/opt/alpha");
    SetRunValue(t, "Beta", "/opt/beta");
    QVERIFY(t.Start());
    t.ClickTab("HKCU Run");
    OneSecond(t);
    t.app.OnRowTickChanged(TableKind::HKCU_Run, 1, false);
    QVERIFY(!t.s.model.tables[TableKind::HKCU_Run].Ticked(1));
    const auto revision = t.s.model.tables[TableKind::HKCU_Run].Revision();
    for (int i = 0; i < 3; ++i) OneSecond(t);
    QCOMPARE(t.s.model.tables[TableKind::HKCU_Run].Revision(), revision);
    QCOMPARE(Column(t.s.model.tables[TableKind::HKCU_Run], 0), QStringList({"Alpha", "Beta"}));
}

void FollowTest::noRescanWhileADialogIsOpen() {
    GuiSession t;
    SetRunValue(t, "Alpha", "/opt/alpha");
    QVERIFY(t.Start());
    t.ClickTab("HKCU Run");
    OneSecond(t);
    t.ClickRow(TableKind::HKCU_Run, 1);
    int rowsWhileOpen = -1;
    // The item editor holds the row it edits by position; a refill under it would hand its
    // fields to whatever row came to stand there.
    t.seam().playDialog = [&](QDialog&) {
        SetRunValue(t, "Aardvark", "/opt/aardvark");
        t.timers.Advance(3000);
        rowsWhileOpen = t.s.model.tables[TableKind::HKCU_Run].Count();
    };
    t.window().Menus().edit->trigger();
    QCOMPARE(rowsWhileOpen, 1);
    OneSecond(t);
    QCOMPARE(ShownNames(t, TableKind::HKCU_Run), QStringList({"Aardvark", "Alpha"}));
}

void FollowTest::withTheMonitorOnANewcomerIsAskedFirstAndShownOnce() {
    GuiSession t;
    QVERIFY(t.Start());
    t.ClickTab("HKCU Run");
    t.window().Menus().monitor->trigger();
    OneSecond(t);
    int asked = 0;
    int rowsWhenAsked = -1;
    t.seam().playDialog = [&](QDialog& d) {
        ++asked;
        rowsWhenAsked = t.s.model.tables[TableKind::HKCU_Run].Count();
        d.accept();
    };
    SetRunValue(t, "Updater", "/opt/upd/updater");
    for (int i = 0; i < 3; ++i) OneSecond(t);
    QCOMPARE(asked, 1);
    QCOMPARE(rowsWhenAsked, 0);  // not in the table before the user has answered
    QCOMPARE(ShownNames(t, TableKind::HKCU_Run), QStringList({"Updater"}));
}

QTEST_MAIN(FollowTest)
#include "FollowTest.moc"
