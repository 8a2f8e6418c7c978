// The main window worked from the keyboard: the keys the menus show, the filter over a list,
// and the row commands that have no row to act on.

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTabBar>
#include <QTableView>
#include <QTest>

#include "GuiSession.h"
#include "locations/Places.h"
#include "ui/ListTexts.h"
#include "ui/ListView.h"

using namespace kestrune;
using kestrune::platform::RootKey;
using kestrune::test::GuiSession;

class KeyboardTest : public QObject {
    Q_OBJECT
private slots:
    void menusShowTheirKeys();
    void f5ReadsThePlacesAgain();
    void eachListKeyActsOnceOnTheSelectedRow();
    void ctrlTabAndCtrlPageKeysWalkTheTabs();
    void rowCommandsNeedASelectedRow();
    void typingInTheFilterNarrowsTheRowsAndTheCount();
    void commandsActOnTheRowFoundByTheFilter();
    void anEmptyListSaysWhatThePlaceIsFor();
    void spaceTicksTheSelectedRowsAsAClickWould();
    void slashIdentifiesTheSelectedRowWithoutSearchingForIt();
    void theMenuKeyOpensTheRowMenuOnItsFirstEntry();
    void theMenuBarIsReachedFromTheKeyboard();
    void everyMenuEntryHasItsOwnLetter();
    void theFocusStaysInTheListAfterACommand();
    void theFilterCountsTheRowsOfEveryTab();
};

namespace {

void AddRunValue(GuiSession& t, const std::string& name, const std::string& path) {
    auto& registry = t.platform.registry();
    QVERIFY(registry.CreateKey(RootKey::CurrentUser, kRunKey).Ok());
    QVERIFY(registry.SetValue(RootKey::CurrentUser, kRunKey, {name, platform::ValueType::String, path}).Ok());
}

// The session with five HKCU Run entries, on their tab, the list holding the focus.
QTableView* FiveRunEntries(GuiSession& t) {
    for (const auto& [name, path] :
         std::vector<std::pair<std::string, std::string>>{{"Alpha", "C:\\Apps\\alpha.exe"},
                                                          {"Bravo", "C:\\Tools\\bravo.exe"},
                                                          {"Charlie", "C:\\Apps\\charlie.exe"},
                                                          {"Delta", "C:\\Vendor\\toolbox.exe"},
                                                          {"Echo", "C:\\Apps\\echo.exe"}}) {
        AddRunValue(t, name, path);
    }
    if (!t.Start()) return nullptr;
    t.ClickTab("HKCU Run");
    QTableView* view = t.View(TableKind::HKCU_Run);
    view->setFocus();
    return view;
}

QStringList ShownNames(QTableView* view) {
    QStringList names;
    for (int row = 0; row < view->model()->rowCount(); ++row) names << view->model()->index(row, 0).data().toString();
    return names;
}

QImage Picture(QWidget* widget) { return widget->grab().toImage(); }

bool InRunKey(GuiSession& t, const std::string& name) {
    return t.platform.registry().QueryValue(RootKey::CurrentUser, kRunKey, name).has_value();
}

int PositionOf(const Table& table, const std::string& name) {
    for (int p = 1; p <= table.Count(); ++p)
        if (table.Name(p) == name) return p;
    return 0;
}

// The letter that opens an entry from the keyboard, or a null character.
QChar Mnemonic(const QAction& action) {
    const QString text = action.text();
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] != '&') return text[i + 1].toLower();
        ++i;
    }
    return {};
}

}  // namespace

void KeyboardTest::menusShowTheirKeys() {
    GuiSession t;
    auto& m = t.window().Menus();
    QCOMPARE(m.refresh->shortcut(), QKeySequence(Qt::Key_F5));
    QCOMPARE(m.newItem->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    QCOMPARE(m.edit->shortcut(), QKeySequence(Qt::Key_F2));
    QCOMPARE(m.deleteItems->shortcut(), QKeySequence(Qt::Key_Delete));
    // The captions stay as they are; the key is shown beside them.
    QCOMPARE(ui::ShownCaption(*m.refresh), QString("Refresh && reload tables"));
    QCOMPARE(ui::ShownCaption(*m.deleteItems), QString("Delete"));
}

void KeyboardTest::f5ReadsThePlacesAgain() {
    GuiSession t;
    QVERIFY(t.Start());
    t.ClickTab("HKCU Run");
    QCOMPARE(t.s.model.tables[TableKind::HKCU_Run].Count(), 0);
    AddRunValue(t, "Updater", "C:\\up.exe");
    QTest::keyClick(t.View(TableKind::HKCU_Run), Qt::Key_F5);
    QApplication::processEvents();
    QCOMPARE(t.s.model.tables[TableKind::HKCU_Run].Count(), 1);
    QCOMPARE(ShownNames(t.View(TableKind::HKCU_Run)), QStringList({"Updater"}));
    // Disabled with the controls (a delayed run), the key does nothing either.
    AddRunValue(t, "Second", "C:\\second.exe");
    t.s.model.events.BeginBusy(false);
    QTest::keyClick(&t.window(), Qt::Key_F5);
    QCOMPARE(t.s.model.tables[TableKind::HKCU_Run].Count(), 1);
    t.s.model.events.EndBusy(false);
}

void KeyboardTest::eachListKeyActsOnceOnTheSelectedRow() {
    GuiSession t;
    QTableView* view = FiveRunEntries(t);
    QVERIFY(view);
    QStringList editors;
    t.seam().playDialog = [&](QDialog& dialog) { editors << dialog.windowTitle(); };
    t.ClickRow(TableKind::HKCU_Run, 2);

    QTest::keyClick(view, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(editors, QStringList({"Kestrune - New"}));
    QTest::keyClick(view, Qt::Key_F2);
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(editors, QStringList({"Kestrune - New", "Kestrune - Edit", "Kestrune - Edit"}));

    const std::string second = t.s.model.tables[TableKind::HKCU_Run].Name(2);
    QTest::keyClick(view, Qt::Key_Delete);
    QApplication::processEvents();
    QCOMPARE(t.s.model.tables[TableKind::HKCU_Run].Count(), 4);
    QCOMPARE(t.s.model.tables[TableKind::Deleted].Count(), 1);
    QCOMPARE(t.s.model.tables[TableKind::Deleted].Name(1), second);
}

void KeyboardTest::ctrlTabAndCtrlPageKeysWalkTheTabs() {
    GuiSession t;
    QVERIFY(t.Start());
    t.ClickTab("HKCU Run");
    QWidget* window = &t.window();
    QTabBar* tabs = t.window().Tabs();
    QTest::keyClick(window, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(tabs->tabText(tabs->currentIndex()), QString("Run Once"));
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window, Qt::Key_PageDown,
                    Qt::ControlModifier);
    QCOMPARE(tabs->tabText(tabs->currentIndex()), QString("Delayed"));
    QTest::keyClick(window, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(tabs->tabText(tabs->currentIndex()), QString("Run Once"));
    QTest::keyClick(window, Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(tabs->tabText(tabs->currentIndex()), QString("HKCU Run"));
    // The tab's own handling ran: its summary, and the tab kept for the next start.
    QCOMPARE(t.window().Summary()->text(), QString("Current User - Run"));
    QCOMPARE(t.s.view.position.lastTab, 4);

    t.ClickTab("Processes");
    QTest::keyClick(window, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 0);  // round to About
    QTest::keyClick(window, Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(tabs->tabText(tabs->currentIndex()), QString("Processes"));

    // While a delayed run holds the tab strip and the lists, their keys hold still too.
    QStringList editors;
    t.seam().playDialog = [&](QDialog& dialog) { editors << dialog.windowTitle(); };
    t.s.model.events.BeginBusy(false);
    QTest::keyClick(window, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(tabs->tabText(tabs->currentIndex()), QString("Processes"));
    QTest::keyClick(window, Qt::Key_N, Qt::ControlModifier);
    QVERIFY(editors.isEmpty());
    t.s.model.events.EndBusy(false);
    QTest::keyClick(window, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(editors, QStringList({"Kestrune - New"}));
}

void KeyboardTest::rowCommandsNeedASelectedRow() {
    GuiSession t;
    QTableView* view = FiveRunEntries(t);
    QVERIFY(view);
    auto& m = t.window().Menus();
    const QList<QAction*> rowCommands = {
        m.identify->menuAction(), m.deleteItems,   m.toggle,       m.edit,           m.run,
        m.copy->menuAction(),     m.recordSetting, m.tickSelected, m.untickSelected, m.moveTo->menuAction(),
        m.openContainer};
    view->clearSelection();
    t.RightClickMenu(TableKind::HKCU_Run);
    for (QAction* command : rowCommands) QVERIFY2(!command->isEnabled(), qPrintable(command->text()));
    QVERIFY(m.newItem->isEnabled());
    QVERIFY(m.tick->menuAction()->isEnabled());

    t.ClickRow(TableKind::HKCU_Run, 3);
    t.RightClickMenu(TableKind::HKCU_Run);
    for (QAction* command : rowCommands) QVERIFY2(command->isEnabled(), qPrintable(command->text()));

    t.ClickTab("Processes");
    t.View(TableKind::Process)->clearSelection();
    t.RightClickMenu(TableKind::Process);
    QVERIFY(!m.priority->menuAction()->isEnabled());
    QVERIFY(!m.endProcess->isEnabled());
}

void KeyboardTest::typingInTheFilterNarrowsTheRowsAndTheCount() {
    GuiSession t;
    QTableView* view = FiveRunEntries(t);
    QVERIFY(view);
    QLineEdit* filter = t.window().FilterBox();
    QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), filter);
    QVERIFY(t.window().FilterCount()->text().isEmpty());

    QTest::keyClicks(filter, "a");
    // "a" is in every name or path here.
    QCOMPARE(t.window().FilterCount()->text(), QString("5 of 5 shown"));
    QTest::keyClicks(filter, "pps");
    QCOMPARE(ShownNames(view), QStringList({"Alpha", "Charlie", "Echo"}));
    QCOMPARE(t.window().FilterCount()->text(), QString("3 of 5 shown"));
    filter->setText("TOOL");  // the path of one, and the name of none; case does not count
    QCOMPARE(ShownNames(view), QStringList({"Bravo", "Delta"}));
    QCOMPARE(t.window().FilterCount()->text(), QString("2 of 5 shown"));

    // The filter stays while the tab changes; the count is the shown tab's.
    t.ClickTab("Deleted");
    QCOMPARE(t.window().FilterCount()->text(), QString("0 of 0 shown"));
    t.ClickTab("HKCU Run");

    // A row added while filtering shows when it matches.
    AddRunValue(t, "Foxtrot", "C:\\Tools\\fox.exe");
    QTest::keyClick(view, Qt::Key_F5);
    QApplication::processEvents();
    QCOMPARE(ShownNames(view), QStringList({"Bravo", "Delta", "Foxtrot"}));
    QCOMPARE(t.window().FilterCount()->text(), QString("3 of 6 shown"));

    filter->setText("nothing like it");
    QCOMPARE(view->model()->rowCount(), 0);
    QCOMPARE(static_cast<ui::ListView*>(view)->Placeholder(), ui::NoMatchText("nothing like it"));

    filter->setFocus();
    QTest::keyClick(filter, Qt::Key_Escape);
    QVERIFY(filter->text().isEmpty());
    QCOMPARE(view->model()->rowCount(), 6);
    QVERIFY(t.window().FilterCount()->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), view);
}

void KeyboardTest::commandsActOnTheRowFoundByTheFilter() {
    GuiSession t;
    QTableView* view = FiveRunEntries(t);
    QVERIFY(view);
    QLineEdit* filter = t.window().FilterBox();
    QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(filter, "toolbox");
    // Down goes to the list, on the one row found, which is not the table's first.
    QTest::keyClick(filter, Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), view);
    const Table& run = t.s.model.tables[TableKind::HKCU_Run];
    const std::vector<int> selected = t.window().SelectedRows(TableKind::HKCU_Run);
    QCOMPARE(selected.size(), size_t(1));
    QCOMPARE(QString::fromStdString(run.Name(selected[0])), QString("Delta"));

    QTest::keyClick(view, Qt::Key_Delete);
    QApplication::processEvents();
    QCOMPARE(QString::fromStdString(t.s.model.tables[TableKind::Deleted].Name(1)), QString("Delta"));
    QStringList left = test::Column(run, 0);
    left.sort();
    QCOMPARE(left, QStringList({"Alpha", "Bravo", "Charlie", "Echo"}));

    // Select all under a filter takes only the rows in sight.
    filter->setText("apps");
    view->selectAll();
    t.RightClickMenu(TableKind::HKCU_Run);
    t.window().Menus().untickSelected->trigger();
    QApplication::processEvents();
    for (int p = 1; p <= run.Count(); ++p) QCOMPARE(run.Ticked(p), run.Name(p) == "Bravo");
}

void KeyboardTest::anEmptyListSaysWhatThePlaceIsFor() {
    GuiSession t;
    QVERIFY(t.Start());
    QStringList texts;
    for (TableKind kind : kAllTables) {
        auto* view = static_cast<ui::ListView*>(t.View(kind));
        QCOMPARE(view->Placeholder(), ui::EmptyTableText(kind));
        texts << view->Placeholder();
    }
    texts.removeDuplicates();
    QCOMPARE(texts.size(), kTableCount);

    // The text is drawn over the empty list, and goes once the list has a row.
    t.ClickTab("Known");
    auto* view = static_cast<ui::ListView*>(t.View(TableKind::Known));
    const QImage withText = Picture(view);
    view->SetPlaceholder({});
    const QImage blank = Picture(view);
    QVERIFY(withText != blank);
    t.s.model.tables[TableKind::Known].Add({"C:\\known.exe"}, true);
    t.window().SyncTables();
    view->SetPlaceholder(ui::EmptyTableText(TableKind::Known));
    const QImage withRow = Picture(view);
    view->SetPlaceholder({});
    QCOMPARE(Picture(view), withRow);
}

void KeyboardTest::spaceTicksTheSelectedRowsAsAClickWould() {
    GuiSession t;
    QTableView* view = FiveRunEntries(t);
    QVERIFY(view);
    const Table& run = t.s.model.tables[TableKind::HKCU_Run];
    t.ClickRow(TableKind::HKCU_Run, PositionOf(run, "Bravo"));

    // The place shows it at once, as after a click on the box.
    QTest::keyClick(view, Qt::Key_Space);
    QApplication::processEvents();
    QVERIFY(!run.Ticked(PositionOf(run, "Bravo")));
    QVERIFY(!InRunKey(t, "Bravo"));
    QCOMPARE(t.window().Status()->text(), QString("5 item(s) : 4 enabled, 1 disabled."));
    QCOMPARE(t.window().SelectedRows(TableKind::HKCU_Run), std::vector<int>{PositionOf(run, "Bravo")});

    // Two rows: both take the opposite of the focused row's tick.
    QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(t.window().SelectedRows(TableKind::HKCU_Run).size(), size_t(2));
    QTest::keyClick(view, Qt::Key_Space);
    QApplication::processEvents();
    QVERIFY(!run.Ticked(PositionOf(run, "Bravo")));
    QVERIFY(!run.Ticked(PositionOf(run, "Charlie")));
    QVERIFY(!InRunKey(t, "Charlie"));
    QTest::keyClick(view, Qt::Key_Space);
    QApplication::processEvents();
    QVERIFY(run.Ticked(PositionOf(run, "Bravo")));
    QVERIFY(run.Ticked(PositionOf(run, "Charlie")));
    QVERIFY(InRunKey(t, "Bravo"));
    QVERIFY(InRunKey(t, "Charlie"));
    QVERIFY(InRunKey(t, "Alpha"));
}

void KeyboardTest::slashIdentifiesTheSelectedRowWithoutSearchingForIt() {
    GuiSession t;
    // A path that starts with the key's own character: searching the list for "/" finds it.
    AddRunValue(t, "Zulu", "/opt/zulu/zulu.exe");
    QTableView* view = FiveRunEntries(t);
    QVERIFY(view);
    const Table& run = t.s.model.tables[TableKind::HKCU_Run];
    t.ClickRow(TableKind::HKCU_Run, PositionOf(run, "Bravo"));
    QTest::keyClick(view, Qt::Key_Slash);
    QCOMPARE(t.platform.recorder.opened.size(), size_t(1));
    QVERIFY2(QString::fromStdString(t.platform.recorder.opened[0]).endsWith("bravo.exe"),
             t.platform.recorder.opened[0].c_str());
    QCOMPARE(t.window().SelectedRows(TableKind::HKCU_Run), std::vector<int>{PositionOf(run, "Bravo")});
}

void KeyboardTest::theMenuKeyOpensTheRowMenuOnItsFirstEntry() {
    GuiSession t;
    QTableView* view = FiveRunEntries(t);
    QVERIFY(view);
    auto& m = t.window().Menus();
    t.ClickRow(TableKind::HKCU_Run, 3);
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Menu, Qt::KeyboardModifiers()},
                                         std::pair{Qt::Key_F10, Qt::KeyboardModifiers(Qt::ShiftModifier)}}) {
        QTest::keyClick(view, key, modifiers);
        QVERIFY(m.table->isVisible());
        QCOMPARE(m.table->activeAction(), m.identify->menuAction());
        QCOMPARE(QApplication::activePopupWidget(), m.table);  // its submenu waits for Right
        // The menu was made for this row: its row commands are on.
        QVERIFY(m.edit->isEnabled() && m.edit->isVisible());
        m.table->hide();
    }
    // The first entry that can be chosen: without a row, Identify is off and New item is first.
    view->clearSelection();
    QTest::keyClick(view, Qt::Key_Menu);
    QVERIFY(m.table->isVisible());
    QCOMPARE(m.table->activeAction(), m.newItem);
    m.table->hide();
}

void KeyboardTest::theMenuBarIsReachedFromTheKeyboard() {
    GuiSession t;
    QTableView* view = FiveRunEntries(t);
    QVERIFY(view);
    auto& m = t.window().Menus();
    QMenuBar* bar = t.window().menuBar();
    for (const auto& [letter, menu] :
         {std::pair{Qt::Key_F, m.file}, std::pair{Qt::Key_A, m.action}, std::pair{Qt::Key_O, m.options}}) {
        QTest::keyClick(view, letter, Qt::AltModifier);
        QTRY_COMPARE(QApplication::activePopupWidget(), menu);
        QTest::keyClick(menu, Qt::Key_Escape);
        QTest::keyClick(bar, Qt::Key_Escape);
        QApplication::processEvents();
        t.Reactivate();
    }
    QCOMPARE(QApplication::focusWidget(), view);

    // F10 (and Alt alone) highlight the bar's first menu; Down opens it.
    QTest::keyClick(view, Qt::Key_F10);
    QCOMPARE(bar->activeAction(), m.file->menuAction());
    QTest::keyClick(bar, Qt::Key_Right);
    QCOMPARE(bar->activeAction(), m.action->menuAction());
    QTest::keyClick(bar, Qt::Key_Down);
    QTRY_COMPARE(QApplication::activePopupWidget(), m.action);
    QTest::keyClick(m.action, Qt::Key_Escape);
    QTest::keyClick(bar, Qt::Key_Escape);
    QTRY_VERIFY(!bar->activeAction());
    t.Reactivate();

    view->setFocus();
    QTest::keyClick(view, Qt::Key_Alt);
    QCOMPARE(bar->activeAction(), m.file->menuAction());
    QTest::keyClick(bar, Qt::Key_Escape);
    QTRY_COMPARE(QApplication::focusWidget(), view);

    // Profiles is a command of the bar itself: Alt+P runs it.
    QStringList dialogs;
    t.seam().playDialog = [&](QDialog& dialog) { dialogs << dialog.windowTitle(); };
    view->setFocus();
    QTest::keyClick(view, Qt::Key_P, Qt::AltModifier);
    QTRY_COMPARE(dialogs.size(), 1);
}

void KeyboardTest::everyMenuEntryHasItsOwnLetter() {
    GuiSession t;
    auto& m = t.window().Menus();
    std::vector<const QWidget*> menus = {t.window().menuBar(), m.table, m.sysTray};
    for (size_t i = 0; i < menus.size(); ++i) {
        QSet<QChar> letters;
        for (QAction* action : menus[i]->actions()) {
            if (action->isSeparator()) continue;
            const QChar letter = Mnemonic(*action);
            QVERIFY2(!letter.isNull(), qPrintable(action->text()));
            if (action->menu()) menus.push_back(action->menu());
            // A letter opens one entry, except where a menu has run out of letters.
            if (menus[i] != m.table) QVERIFY2(!letters.contains(letter), qPrintable(action->text()));
            letters.insert(letter);
        }
    }
    // The letter is only underlined: the captions read as they always did.
    QCOMPARE(ui::ShownCaption(*m.file->menuAction()), QString("File"));
    QCOMPARE(ui::ShownCaption(*m.allIdle), QString("Make all delayed applications idle"));
    QCOMPARE(ui::ShownCaption(*m.resetWindow), QString("Reset window size && position"));
    QCOMPARE(m.resetWindow->iconText().count('&'), 1);  // one ampersand shown, none lost
}

void KeyboardTest::theFocusStaysInTheListAfterACommand() {
    GuiSession t;
    QTableView* view = FiveRunEntries(t);
    QVERIFY(view);
    t.ClickRow(TableKind::HKCU_Run, 2);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Delete);
    QApplication::processEvents();
    QCOMPARE(t.s.model.tables[TableKind::Deleted].Count(), 1);
    QCOMPARE(QApplication::focusWidget(), view);

    // The arrow keys go on moving in the list.
    t.ClickRow(TableKind::HKCU_Run, 1);
    QTest::keyClick(view, Qt::Key_Down);
    QCOMPARE(t.window().SelectedRows(TableKind::HKCU_Run), std::vector<int>{2});

    // So after a command chosen in the row menu by its letters, and after a dialog.
    auto& m = t.window().Menus();
    QTest::keyClick(view, Qt::Key_Menu);
    QTest::keyClick(m.table, Qt::Key_U);
    QTRY_COMPARE(QApplication::activePopupWidget(), m.tick);
    QTest::keyClick(m.tick, Qt::Key_N);
    QApplication::processEvents();
    QVERIFY(!t.s.model.tables[TableKind::HKCU_Run].Ticked(2));
    t.Reactivate();
    QTRY_COMPARE(QApplication::focusWidget(), view);
    t.seam().playDialog = [](QDialog& dialog) { dialog.reject(); };
    QTest::keyClick(view, Qt::Key_F2);
    QTRY_COMPARE(QApplication::focusWidget(), view);
}

void KeyboardTest::theFilterCountsTheRowsOfEveryTab() {
    GuiSession t;
    auto& registry = t.platform.registry();
    QVERIFY(registry.CreateKey(RootKey::LocalMachine, kRunKey).Ok());
    QVERIFY(registry.SetValue(RootKey::LocalMachine, kRunKey, {"Agent", platform::ValueType::String, "C:\\agent.exe"})
                .Ok());
    QTableView* view = FiveRunEntries(t);
    QVERIFY(view);
    QTabBar* tabs = t.window().Tabs();
    QLineEdit* filter = t.window().FilterBox();
    QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);

    // Found only in another table: that tab is offered, and every tab says how many match.
    QTest::keyClicks(filter, "agent");
    QCOMPARE(tabs->tabText(tabs->currentIndex()), QString("HKLM Run (1)"));
    QCOMPARE(tabs->tabText(4), QString("HKCU Run (0)"));
    QCOMPARE(tabs->tabText(0), QString("About"));
    QCOMPARE(t.window().FilterCount()->text(), QString("1 of 1 shown"));
    QCOMPARE(t.window().Status()->text(), QString("1 item(s) : 1 enabled, 0 disabled."));
    QCOMPARE(QApplication::focusWidget(), filter);  // the typing goes on

    // A text that this tab holds keeps the tab.
    filter->setText("agent.exe");
    QCOMPARE(tabs->currentIndex(), 3);
    filter->setText("");
    t.ClickTab("HKCU Run");
    filter->setText("apps");
    QCOMPARE(tabs->tabText(tabs->currentIndex()), QString("HKCU Run (3)"));
    QCOMPARE(tabs->tabText(3), QString("HKLM Run (0)"));

    // On every tab the count of all rows is the status line's.
    for (TableKind kind : kAllTables) {
        t.ClickTab(QString::fromStdString(std::string(TabCaption(kind))));
        const QString all = QString::number(t.s.model.tables[kind].Count());
        QVERIFY2(t.window().FilterCount()->text().endsWith(" of " + all + " shown"),
                 qPrintable(t.window().FilterCount()->text()));
        QVERIFY2(t.window().Status()->text().startsWith(all + " "), qPrintable(t.window().Status()->text()));
    }

    filter->clear();
    QCOMPARE(tabs->tabText(4), QString("HKCU Run"));
    QCOMPARE(tabs->tabText(3), QString("HKLM Run"));
}

QTEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
