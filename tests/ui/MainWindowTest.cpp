// The main window as a user meets it: tabs, menus, lists, keys, sorting and the tray.

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFocusEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "GuiSession.h"
#include "app/TableSort.h"
#include "locations/Places.h"

using namespace kestrune;
using kestrune::test::GuiSession;

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void tabsAndMenuBarCarryTheirCaptions();
    void tableAndTrayMenusCarryTheirCaptions();
    void aTabClickShowsItsSummaryAndStatus();
    void tickingARowWithTheKeyboardUpdatesTheStatus();
    void contextMenuOffersTheEntriesOfEachTable();
    void severalSelectedRowsDisableSingleRowEntries();
    void headerClickOnDelaySortsNumerically();
    void slashKeyAndDoubleClickIdentifyTheRow();
    void identifyWithoutAFileNameWarns();
    void helpButtonOpensTheHelpFileOrSaysItIsMissing();
    void copyToClipboardPutsThePathOnIt();
    void optionsMenuFollowsTheOptions();
    void disablingControlsSparesRunDelayedUnlessAsked();
    void trayRoundTrip();
    void closingWithTrayOnCloseGoesToTheTray();
    void onlyRestoreScansAfterASlimlineStart();
    void positionIsKeptInTwips();
    void boundsAndLastTabAreWrittenAtExitUnmoved();
    void slimlineStartShowsTheWindowMinimised();
    void storedPositionIsAppliedAtStart();
    void aPositionWithoutASizeLeavesTheWindowCentred();
    void theFirstHeaderClickReversesTheFittedOrder();
    void aKeyReleasedOverTheListActsOnlyWhenItWasPressedThere();
    void theSessionsEndRunsTheShutDownInsteadOfTheTray();
    void theShutDownRunsHoweverTheEventLoopEnds();
    void theCountsFollowRefreshAndOutsideChanges();
};

void MainWindowTest::tabsAndMenuBarCarryTheirCaptions() {
    GuiSession t;
    QVERIFY(t.Start());
    QStringList tabs;
    for (int i = 0; i < t.window().Tabs()->count(); ++i) tabs << t.window().Tabs()->tabText(i);
    QCOMPARE(tabs, QStringList({"About", "User", "Common", "HKLM Run", "HKCU Run", "Run Once", "Delayed", "Deleted",
                                "Known", "Processes"}));
    QCOMPARE(t.window().Tabs()->currentIndex(), 0);  // no settings.ini: the About tab
    QCOMPARE(t.window().Status()->text(), QString("Finished loading"));

    QStringList bar;
    for (QAction* a : t.window().menuBar()->actions()) bar << ui::ShownCaption(*a);
    QCOMPARE(bar, QStringList({"File", "Action", "Options", "Profiles"}));

    auto& m = t.window().Menus();
    QCOMPARE(test::AllTexts(*m.file), QStringList({"Save settings", "Backup all settings", "Load a backup file",
                                                   "Export", "Apply a state file...", "Exit"}));
    QCOMPARE(test::AllTexts(*m.action),
             QStringList({"Delete duplicates", "Record items", "Delete unticked items in current table",
                          "Refresh && reload tables", "Import from Startup Control Panel", "Run delayed applications",
                          "Send to system tray", "Monitor changes", "Prevent delayed apps from registering",
                          "Make all delayed applications idle", "Timeline of the last delayed run",
                          "Reset window size && position"}));
    QCOMPARE(test::AllTexts(*m.deleteDuplicates), QStringList({"in current table", "in ALL tables"}));
    QCOMPARE(test::AllTexts(*m.recordItems), QStringList({"in current table", "in ALL tables"}));
    QCOMPARE(test::AllTexts(*m.options),
             QStringList({"Run on startup", "Do not save on exit", "Send to system tray on close",
                          "Exit after delayed app run", "Ignore self-made changes", "Choose profile on startup",
                          "Don't run apps if they are already running", "Apply priority settings continuously",
                          "Disable entries the Windows way (they stay in place)", "Set idle settings"}));
}

void MainWindowTest::tableAndTrayMenusCarryTheirCaptions() {
    GuiSession t;
    auto& m = t.window().Menus();
    QCOMPARE(test::AllTexts(*m.table),
             QStringList({"Identify", "New item", "Delete", "Enable / Disable", "Edit item", "Run now",
                          "Copy to clipboard", "Record setting", "Tick / Untick", "Move to", "Open container folder",
                          "Set Priority", "End Process"}));
    QCOMPARE(test::AllTexts(*m.identify),
             QStringList({"Search Process Library", "Search Sys Info", "Search Reger 24", "Search 2 Spyware",
                          "Search File Research Centre", "Search Google", "Search Yahoo"}));
    QCOMPARE(test::AllTexts(*m.copy), QStringList({"Filename", "Path without arguments", "Path with arguments"}));
    QCOMPARE(test::AllTexts(*m.tick), QStringList({"Tick All", "Tick Selected", "Untick All", "Untick Selected"}));
    QCOMPARE(test::AllTexts(*m.moveTo),
             QStringList({"User", "Common", "HKLM Run", "HKCU Run", "Run Once", "Delayed", "Where it came from"}));
    QCOMPARE(test::AllTexts(*m.priority),
             QStringList({"Realtime", "High", "Above Normal", "Normal", "Below Normal", "Low"}));
    QCOMPARE(test::AllTexts(*m.sysTray), QStringList({"Restore", "Cancel", "Exit"}));
    QCOMPARE(m.sysTray->defaultAction(), m.restore);
}

void MainWindowTest::aTabClickShowsItsSummaryAndStatus() {
    GuiSession t;
    QVERIFY(t.Start());
    auto& run = t.s.model.tables[TableKind::HKCU_Run];
    run.Add({"One", "one.exe"}, true);
    run.Add({"Two", "two.exe"}, false);
    run.Add({"Three", "three.exe"}, true);

    t.ClickTab("HKCU Run");
    QCOMPARE(t.window().Summary()->text(), QString("Current User - Run"));
    QCOMPARE(t.window().Status()->text(), QString("3 item(s) : 2 enabled, 1 disabled."));
    QCOMPARE(t.View(TableKind::HKCU_Run)->model()->rowCount(), 3);
    QCOMPARE(t.s.view.position.lastTab, 4);

    t.ClickTab("Processes");
    QCOMPARE(t.window().Summary()->text(), QString("Running processes - priority changes take immediate effect"));
    QVERIFY(!t.window().Menus().recordItems->menuAction()->isEnabled());
    QVERIFY(!t.window().Menus().deleteUnticked->isEnabled());

    t.ClickTab("Deleted");
    QCOMPARE(t.window().Status()->text(), QString("0 item(s)"));
    QVERIFY(t.window().Menus().recordItems->menuAction()->isEnabled());

    t.ClickTab("About");
    QCOMPARE(t.window().Summary()->text(), QString("About Kestrune - v1.0.0"));
    QCOMPARE(t.window().Status()->text(), QString("Kestrune from kestrune.org"));

    t.ClickTab("Known");
    QCOMPARE(t.window().Summary()->text(),
             QString("Applications / shortcuts which will be automatically allowed / disallowed in future"));

    // Each tab says what it holds, in words of its own, and offers recording and deleting
    // unticked rows wherever rows are kept: everywhere but the running processes.
    QSet<QString> summaries;
    for (int i = 0; i < t.window().Tabs()->count(); ++i) {
        const QString caption = t.window().Tabs()->tabText(i);
        t.ClickTab(caption);
        QCOMPARE(t.window().Tabs()->currentIndex(), i);
        summaries << t.window().Summary()->text();
        const bool processes = caption == "Processes";
        QCOMPARE(t.window().Menus().recordItems->menuAction()->isEnabled(), !processes);
        QCOMPARE(t.window().Menus().deleteUnticked->isEnabled(), !processes);
    }
    QCOMPARE(summaries.size(), t.window().Tabs()->count());
}

void MainWindowTest::tickingARowWithTheKeyboardUpdatesTheStatus() {
    GuiSession t;
    QVERIFY(t.Start());
    auto& delayed = t.s.model.tables[TableKind::Delayed];
    delayed.Add({"A", "a.exe", "5", "", ""}, true);
    delayed.Add({"B", "b.exe", "9", "", ""}, true);
    t.ClickTab("Delayed");
    QTableView* view = t.View(TableKind::Delayed);
    view->setFocus();
    view->setCurrentIndex(view->model()->index(1, 0));
    QTest::keyClick(view, Qt::Key_Space);
    QVERIFY(!delayed.Ticked(2));
    QVERIFY(delayed.Ticked(1));
    // Stored at once, not at the exit.
    QVERIFY(!t.s.model.settingsChanged);
    const std::string document = test::ReadText(t.machine.appFolder + "settings.xml");
    QVERIFY2(document.find("<name>B</name>") != std::string::npos, document.c_str());
    QCOMPARE(t.window().Status()->text(), QString("2 item(s) : 1 enabled, 1 disabled."));
    QCOMPARE(view->model()->index(1, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
}

void MainWindowTest::contextMenuOffersTheEntriesOfEachTable() {
    const QStringList location = {"Identify",
                                  "New item",
                                  "Delete",
                                  "Enable / Disable",
                                  "Edit item",
                                  "Run now",
                                  "Copy to clipboard",
                                  "Record setting",
                                  "Tick / Untick",
                                  "Move to",
                                  "Open container folder"};
    const QStringList known = {"Identify", "New item",          "Delete",        "Enable / Disable",
                               "Run now",  "Copy to clipboard", "Tick / Untick", "Open container folder"};
    const QStringList process = {"Identify",          "New item",      "Enable / Disable",      "Run now",
                                 "Copy to clipboard", "Tick / Untick", "Open container folder", "Set Priority",
                                 "End Process"};
    GuiSession t;
    QVERIFY(t.Start());
    for (TableKind kind : kAllTables) {
        auto& table = t.s.model.tables[kind];
        std::vector<std::string> row(static_cast<size_t>(table.ColumnCount()), "x.exe");
        table.Add(row, true);
        t.ClickTab(QString::fromStdString(std::string(TabCaption(kind))));
        t.ClickRow(kind, 1);
        const QStringList expected = kind == TableKind::Known ? known : kind == TableKind::Process ? process : location;
        QCOMPARE(t.RightClickMenu(kind), expected);
        // The own table is no target of "Move to".
        for (QAction* move : t.window().Menus().move) {
            QCOMPARE(move->isEnabled(), ui::ShownCaption(*move).toStdString() != TabCaption(kind));
        }
        // Only a Deleted row knows the table it came from.
        QCOMPARE(t.window().Menus().moveBack->isVisible(), kind == TableKind::Deleted);
    }
}

void MainWindowTest::severalSelectedRowsDisableSingleRowEntries() {
    GuiSession t;
    QVERIFY(t.Start());
    auto& run = t.s.model.tables[TableKind::HKLM_Run];
    run.Add({"A", "a.exe"}, true);
    run.Add({"B", "b.exe"}, true);
    t.ClickTab("HKLM Run");
    t.View(TableKind::HKLM_Run)->selectAll();
    t.RightClickMenu(TableKind::HKLM_Run);
    auto& m = t.window().Menus();
    QVERIFY(!m.identify->menuAction()->isEnabled());
    QVERIFY(!m.copy->menuAction()->isEnabled());
    QVERIFY(!m.edit->isEnabled());
    QVERIFY(!m.run->isEnabled());
    QVERIFY(m.deleteItems->isEnabled());

    t.ClickRow(TableKind::HKLM_Run, 2);
    t.RightClickMenu(TableKind::HKLM_Run);
    QVERIFY(m.identify->menuAction()->isEnabled());
    QVERIFY(m.edit->isEnabled());
}

void MainWindowTest::headerClickOnDelaySortsNumerically() {
    GuiSession t;
    QVERIFY(t.Start());
    auto& delayed = t.s.model.tables[TableKind::Delayed];
    for (const char* delay : {"10", "9", "-5", "100", "", "-20"})
        delayed.Add({std::string("app") + delay, "a.exe", delay, "", ""});
    t.ClickTab("Delayed");
    // The list was fitted in ascending order: the first click turns it round.
    t.ClickHeader(TableKind::Delayed, col::Delay);
    QCOMPARE(test::Column(delayed, col::Delay), QStringList({"100", "10", "9", "-5", "-20", ""}));
    // The list shows the table's order.
    QCOMPARE(t.View(TableKind::Delayed)->model()->index(0, col::Delay).data().toString(), QString("100"));
    t.ClickHeader(TableKind::Delayed, col::Delay);
    QCOMPARE(test::Column(delayed, col::Delay), QStringList({"", "-20", "-5", "9", "10", "100"}));
    t.ClickHeader(TableKind::Delayed, col::Name);
    QCOMPARE(test::Column(delayed, col::Name), QStringList({"app9", "app100", "app10", "app-5", "app-20", "app"}));
}

void MainWindowTest::slashKeyAndDoubleClickIdentifyTheRow() {
    GuiSession t;
    QVERIFY(t.Start());
    t.s.model.tables[TableKind::HKCU_Run].Add({"Tool", "\"C:\\Program Files\\Tool\\tool.exe\" /min"}, true);
    t.ClickTab("HKCU Run");
    t.ClickRow(TableKind::HKCU_Run, 1);
    QTest::keyClick(t.View(TableKind::HKCU_Run), Qt::Key_Slash);
    QTableView* view = t.View(TableKind::HKCU_Run);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(0, 1)).center());
    const std::vector<std::string> expected(2, "http://www.processlibrary.com/directory/?files=tool.exe");
    QCOMPARE(t.platform.recorder.opened, expected);

    t.RightClickMenu(TableKind::HKCU_Run);
    t.window().Menus().search[2]->trigger();
    QCOMPARE(t.platform.recorder.opened.back(), std::string("http://www.reger24.de/prozesse/tool.exe.php"));
}

void MainWindowTest::identifyWithoutAFileNameWarns() {
    GuiSession t;
    QVERIFY(t.Start());
    t.s.model.tables[TableKind::RunOnce].Add({"Nothing", ""}, true);
    t.ClickTab("Run Once");
    t.ClickRow(TableKind::RunOnce, 1);
    QTest::keyClick(t.View(TableKind::RunOnce), Qt::Key_Slash);
    QCOMPARE(t.seam().messages.size(), size_t(1));
    QCOMPARE(t.seam().messages[0].text, std::string("Could not extract executable file name to identify."));
    QCOMPARE(t.seam().messages[0].icon, MessageIcon::Exclamation);
    QCOMPARE(t.seam().messages[0].title, std::string("Kestrune"));
    QVERIFY(t.platform.recorder.opened.empty());
}

void MainWindowTest::helpButtonOpensTheHelpFileOrSaysItIsMissing() {
    GuiSession t;
    QVERIFY(t.Start());
    t.ClickTab("About");
    auto* help = t.window().findChild<QPushButton*>("cmdHelp");
    QVERIFY(help);
    QCOMPARE(help->text(), QString("Show &Help file"));

    const std::string file = t.s.paths.appFolder + "readme.htm";
    QTest::mouseClick(help, Qt::LeftButton);
    QVERIFY(t.platform.recorder.opened.empty());
    QCOMPARE(t.seam().messages.size(), size_t(1));
    QCOMPARE(t.seam().messages[0].text, "The help file could not be opened: " + file);

    test::WriteText(file, "<html></html>");
    QTest::mouseClick(help, Qt::LeftButton);
    QCOMPARE(t.platform.recorder.opened, std::vector<std::string>{file});
    QCOMPARE(t.seam().messages.size(), size_t(1));
}

void MainWindowTest::copyToClipboardPutsThePathOnIt() {
    GuiSession t;
    QVERIFY(t.Start());
    t.s.model.tables[TableKind::UserStartup].Add({"Pad", "C:\\Apps\\pad.exe", "-x"}, true);
    t.ClickTab("User");
    t.ClickRow(TableKind::UserStartup, 1);
    t.RightClickMenu(TableKind::UserStartup);
    test::ActionNamed(*t.window().Menus().copy, "Path with arguments")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("\"C:\\Apps\\pad.exe\" -x"));
    QCOMPARE(t.window().Status()->text(), QString("Item details copied to clipboard."));
    test::ActionNamed(*t.window().Menus().copy, "Filename")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("pad.exe"));
}

void MainWindowTest::optionsMenuFollowsTheOptions() {
    GuiSession t;
    QVERIFY(t.Start());
    auto& m = t.window().Menus();
    t.s.options.skipRunning = true;
    t.s.options.monitor = true;
    m.SyncChecks(t.app);
    for (QAction* option : m.optionItems) {
        QCOMPARE(option->isChecked(), ui::ShownCaption(*option) == "Don't run apps if they are already running");
    }
    QVERIFY(m.monitor->isChecked());

    test::ActionNamed(*m.options, "Send to system tray on close")->trigger();
    QVERIFY(t.s.options.trayOnClose);
    QVERIFY(test::ActionNamed(*m.options, "Send to system tray on close")->isChecked());
    m.monitor->trigger();
    QVERIFY(!t.s.options.monitor);
    QVERIFY(!m.monitor->isChecked());
}

void MainWindowTest::disablingControlsSparesRunDelayedUnlessAsked() {
    GuiSession t;
    QVERIFY(t.Start());
    auto& m = t.window().Menus();
    // A delayed run keeps the controls busy but leaves its own menu entry usable.
    t.s.model.events.BeginBusy(false);
    QVERIFY(!t.window().Tabs()->isEnabled());
    QVERIFY(!t.View(TableKind::HKCU_Run)->isEnabled());
    QVERIFY(!m.file->menuAction()->isEnabled());
    QVERIFY(!m.options->menuAction()->isEnabled());
    QVERIFY(!m.refresh->isEnabled());
    QVERIFY(!m.monitor->isEnabled());
    QVERIFY(m.runDelayed->isEnabled());
    QVERIFY(m.resetWindow->isEnabled());
    t.s.model.events.BeginBusy(true);
    QVERIFY(!m.runDelayed->isEnabled());
    t.s.model.events.EndBusy(true);
    QVERIFY(m.runDelayed->isEnabled());
    QVERIFY(!t.window().Tabs()->isEnabled());  // the outer work still runs
    t.s.model.events.EndBusy(false);
    QVERIFY(m.runDelayed->isEnabled());
    QVERIFY(m.file->menuAction()->isEnabled());
    QVERIFY(t.window().Tabs()->isEnabled());
}

void MainWindowTest::trayRoundTrip() {
    GuiSession t;
    QVERIFY(t.Start());
    auto& m = t.window().Menus();
    m.sendToTray->trigger();
    QVERIFY(t.s.view.inTray);
    QVERIFY(!t.window().isVisible());
    QVERIFY(t.fe.TrayIcon());
    QVERIFY(t.fe.TrayIcon()->isVisible());
    QCOMPARE(t.fe.TrayIcon()->toolTip(), QString("Kestrune"));
    QCOMPARE(t.fe.TrayIcon()->contextMenu(), m.sysTray);

    test::ActionNamed(*m.sysTray, "Cancel")->trigger();
    QVERIFY(t.s.view.inTray);
    m.restore->trigger();
    QVERIFY(!t.s.view.inTray);
    QVERIFY(t.window().isVisible());
    QVERIFY(!t.window().isMinimized());
    QVERIFY(!t.fe.TrayIcon()->isVisible());

    // A double click on the icon brings the window back too.
    m.sendToTray->trigger();
    emit t.fe.TrayIcon()->activated(QSystemTrayIcon::Trigger);
    QVERIFY(t.s.view.inTray);
    emit t.fe.TrayIcon()->activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(!t.s.view.inTray);
    QVERIFY(t.window().isVisible());
}

// A Slimline start skips the scan of the places. Only "Restore" scans; a double click on the
// icon or a click on its balloon just shows the window (a scan reads the document again).
void MainWindowTest::onlyRestoreScansAfterASlimlineStart() {
    GuiSession t;
    t.machine.platform->registry().SetValue(platform::RootKey::CurrentUser,
                                            "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                                            {"Updater", platform::ValueType::String, "C:\\up.exe"});
    QVERIFY(t.Start("/slim"));
    const Table& run = t.s.model.tables[TableKind::HKCU_Run];
    QCOMPARE(run.Count(), 0);
    auto& m = t.window().Menus();

    m.sendToTray->trigger();
    emit t.fe.TrayIcon()->activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(!t.s.view.inTray);
    QVERIFY(t.window().isVisible());
    QVERIFY(t.s.view.slimlineMode);
    QCOMPARE(run.Count(), 0);

    m.sendToTray->trigger();
    emit t.fe.TrayIcon()->messageClicked();
    QVERIFY(!t.s.view.inTray);
    QVERIFY(t.s.view.slimlineMode);
    QCOMPARE(run.Count(), 0);

    m.sendToTray->trigger();
    m.restore->trigger();
    QVERIFY(!t.s.view.inTray);
    QVERIFY(!t.s.view.slimlineMode);
    QCOMPARE(run.Count(), 1);
    QCOMPARE(QString::fromStdString(run.Name(1)), QString("Updater"));
}

void MainWindowTest::closingWithTrayOnCloseGoesToTheTray() {
    GuiSession t;
    QVERIFY(t.Start());
    t.s.options.trayOnClose = true;
    t.window().close();
    QVERIFY(t.s.view.inTray);
    QVERIFY(!t.window().isVisible());
    QVERIFY(!t.fe.QuitRequested());
    test::ActionNamed(*t.window().Menus().sysTray, "Exit")->trigger();
    QVERIFY(t.fe.QuitRequested());
    QVERIFY(!t.fe.TrayIcon()->isVisible());
}

void MainWindowTest::positionIsKeptInTwips() {
    GuiSession t;
    QVERIFY(t.Start());
    t.window().resize(700, 480);
    QApplication::processEvents();
    QCOMPARE(t.s.view.position.width, 700 * 15);
    QCOMPARE(t.s.view.position.height, 480 * 15);
    QCOMPARE(t.s.view.position.state, 0);
    t.window().Menus().resetWindow->trigger();
    QApplication::processEvents();
    QCOMPARE(t.window().size(), QSize(780, 520));
}

// A Slimline start shows the window minimised; brought back from the tray and never moved, it
// must still reopen where it is and on the tab last shown.
void MainWindowTest::boundsAndLastTabAreWrittenAtExitUnmoved() {
    GuiSession t;
    QVERIFY(t.Start("/slim"));
    t.app.RestoreFromTray();
    QApplication::processEvents();
    t.ClickTab("HKCU Run");
    const QRect bounds = t.window().normalGeometry();
    t.app.CloseDown();
    const std::string ini = test::ReadText(t.machine.appFolder + "settings.ini");
    QVERIFY2(ini.find("Last tab=4\r\n") != std::string::npos, ini.c_str());
    QVERIFY2(ini.find("Width=" + std::to_string(bounds.width() * 15) + "\r\n") != std::string::npos, ini.c_str());
    QVERIFY2(ini.find("Left=" + std::to_string(bounds.x() * 15) + "\r\n") != std::string::npos, ini.c_str());
}

void MainWindowTest::slimlineStartShowsTheWindowMinimised() {
    GuiSession t;
    QVERIFY(t.Start("/SlimLine"));
    QVERIFY(t.s.view.slimlineMode);
    QVERIFY(t.window().isMinimized() || t.s.view.inTray);
}

void MainWindowTest::storedPositionIsAppliedAtStart() {
    GuiSession t;
    test::WriteText(t.machine.appFolder + "settings.ini",
                    "[Position]\r\nWindow state=0\r\nTop=1500\r\nLeft=3000\r\nWidth=9000\r\nHeight=7500\r\n"
                    "Last tab=4\r\n");
    QVERIFY(t.Start());
    QCOMPARE(t.window().size(), QSize(600, 500));
    QCOMPARE(t.window().Tabs()->currentIndex(), 4);
    QCOMPARE(t.window().Summary()->text(), QString("Current User - Run"));
}

void MainWindowTest::aPositionWithoutASizeLeavesTheWindowCentred() {
    GuiSession t;
    // As the console program of earlier versions wrote it.
    test::WriteText(t.machine.appFolder + "settings.ini",
                    "[Position]\r\nWindow state=0\r\nTop=0\r\nLeft=0\r\nWidth=0\r\nHeight=0\r\nLast tab=3\r\n");
    QVERIFY(t.Start());
    const QRect area = t.window().screen()->availableGeometry();
    QCOMPARE(t.window().size(), QSize(780, 520));
    // Centred with its frame.
    QCOMPARE(t.window().frameGeometry().center(), area.center());
    QCOMPARE(t.window().Tabs()->currentIndex(), 3);  // the tab still counts
}

void MainWindowTest::theFirstHeaderClickReversesTheFittedOrder() {
    GuiSession t;
    QVERIFY(t.Start());
    auto& run = t.s.model.tables[TableKind::HKCU_Run];
    for (const char* name : {"Beta", "alpha", "Gamma"}) run.Add({name, std::string("C:\\") + name + ".exe"}, true);
    SortTable(run);
    QCOMPARE(test::Column(run, 0), QStringList({"alpha", "Beta", "Gamma"}));
    t.ClickTab("HKCU Run");
    t.ClickHeader(TableKind::HKCU_Run, 0);
    QCOMPARE(test::Column(run, 0), QStringList({"Gamma", "Beta", "alpha"}));
    QApplication::processEvents();
    QCOMPARE(t.View(TableKind::HKCU_Run)->model()->index(0, 0).data().toString(), QString("Gamma"));
    t.ClickHeader(TableKind::HKCU_Run, 0);
    QCOMPARE(test::Column(run, 0), QStringList({"alpha", "Beta", "Gamma"}));
}

void MainWindowTest::aKeyReleasedOverTheListActsOnlyWhenItWasPressedThere() {
    GuiSession t;
    QVERIFY(t.Start());
    t.s.model.tables[TableKind::HKCU_Run].Add({"Tool", "C:\\tool.exe"}, true);
    t.ClickTab("HKCU Run");
    t.ClickRow(TableKind::HKCU_Run, 1);
    QStringList editors;
    t.seam().playDialog = [&](QDialog& dialog) { editors << dialog.windowTitle(); };
    QTableView* view = t.View(TableKind::HKCU_Run);

    // The Enter that closed a message box (or the editor) comes up over the list.
    QTest::keyRelease(view, Qt::Key_Return);
    QTest::keyRelease(view, Qt::Key_Delete);
    QCOMPARE(editors.size(), 0);
    QCOMPARE(t.s.model.tables[TableKind::HKCU_Run].Count(), 1);

    // Pressed and released in the list, Enter edits the row once.
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(editors.size(), 1);
    QTest::keyRelease(view, Qt::Key_Return);
    QCOMPARE(editors.size(), 1);
    // A key pressed before the list lost the focus does not count when it comes back.
    QTest::keyPress(view, Qt::Key_Return);
    QFocusEvent away(QEvent::FocusOut);
    QApplication::sendEvent(view, &away);
    QTest::keyRelease(view, Qt::Key_Return);
    QCOMPARE(editors.size(), 1);
}

void MainWindowTest::theSessionsEndRunsTheShutDownInsteadOfTheTray() {
    GuiSession t;
    QVERIFY(t.Start());
    t.s.options.trayOnClose = true;
    t.s.model.tables[TableKind::Delayed].Add({"Later", "C:\\later.exe", "5", "", ""}, false);
    t.s.model.settingsChanged = true;
    t.fe.EndSession();
    QVERIFY(!t.s.view.inTray);
    QVERIFY(t.fe.QuitRequested());
    QVERIFY(test::ReadText(t.machine.appFolder + "settings.xml").find("Later") != std::string::npos);
    QVERIFY(test::ReadText(t.machine.appFolder + "settings.ini").find("Send to tray on close=1") != std::string::npos);
}

void MainWindowTest::theShutDownRunsHoweverTheEventLoopEnds() {
    GuiSession t;
    QVERIFY(t.Start());
    t.s.options.trayOnClose = true;
    t.s.model.tables[TableKind::Delayed].Add({"Later", "C:\\later.exe", "5", "", ""}, false);
    t.s.model.settingsChanged = true;
    // Something other than Exit ends the loop (the system, a signal handler, Qt itself).
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QApplication::exec();
    QVERIFY(!t.s.view.inTray);
    QVERIFY(test::ReadText(t.machine.appFolder + "settings.xml").find("Later") != std::string::npos);
    QVERIFY(test::ReadText(t.machine.appFolder + "settings.ini").find("Send to tray on close=1") != std::string::npos);
}

void MainWindowTest::theCountsFollowRefreshAndOutsideChanges() {
    using platform::RootKey;
    using platform::ValueType;
    GuiSession t;
    auto& registry = t.platform.registry();
    QVERIFY(registry.CreateKey(RootKey::CurrentUser, kRunKey).Ok());
    QVERIFY(registry.SetValue(RootKey::CurrentUser, kRunKey, {"Clock", ValueType::String, "/opt/clock"}).Ok());
    QVERIFY(t.Start());
    t.ClickTab("HKCU Run");
    QCOMPARE(t.window().Status()->text(), QString("1 item(s) : 1 enabled, 0 disabled."));
    const int nameWidth = t.View(TableKind::HKCU_Run)->columnWidth(0);

    // Another program adds an entry; the user refreshes.
    const std::string longName = "Mail" + std::string(40, 'm');
    QVERIFY(registry.SetValue(RootKey::CurrentUser, kRunKey, {longName, ValueType::String, "/opt/mail"}).Ok());
    t.app.RefreshTables();
    QApplication::processEvents();
    QCOMPARE(t.window().Status()->text(), QString("2 item(s) : 2 enabled, 0 disabled."));
    QCOMPARE(t.View(TableKind::HKCU_Run)->model()->rowCount(), 2);
    // The list sized its columns by itself when the rows arrived.
    QVERIFY(t.View(TableKind::HKCU_Run)->columnWidth(0) > nameWidth);

    // Another program takes one out while the monitor watches: the table and its counts follow.
    t.window().Menus().monitor->trigger();
    t.timers.Advance(1000);
    QVERIFY(registry.DeleteValue(RootKey::CurrentUser, kRunKey, "Clock").Ok());
    t.timers.Advance(1000);
    QApplication::processEvents();
    QCOMPARE(t.View(TableKind::HKCU_Run)->model()->rowCount(), 1);
    QCOMPARE(t.window().Status()->text(), QString("1 item(s) : 1 enabled, 0 disabled."));
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
