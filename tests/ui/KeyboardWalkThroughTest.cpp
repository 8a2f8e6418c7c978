// The main window worked with the keyboard alone, as a user who never reaches for the mouse:
// to a tab, down to a row, tick and untick it, edit, identify, move and delete rows, and open
// every menu of the bar.

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTableView>
#include <QTest>

#include "GuiSession.h"
#include "locations/Places.h"
#include "ui/ItemEditorDialog.h"

using namespace kestrune;
using kestrune::platform::RootKey;
using kestrune::test::GuiSession;

class KeyboardWalkThroughTest : public QObject {
    Q_OBJECT
private slots:
    void everyCommandWithoutTheMouse();
};

namespace {

// A key pressed and released where the focus is, as a user types.
void Type(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* target =
        QApplication::activePopupWidget() ? QApplication::activePopupWidget() : QApplication::focusWidget();
    QVERIFY(target);
    QTest::keyClick(target, key, modifiers);
    QApplication::processEvents();
}

QString SelectedName(GuiSession& t, TableKind kind) {
    const std::vector<int> rows = t.window().SelectedRows(kind);
    if (rows.size() != 1) return QString("%1 rows").arg(rows.size());
    return QString::fromStdString(t.s.model.tables[kind].Name(rows[0]));
}

bool InRunKey(GuiSession& t, const std::string& name) {
    return t.platform.registry().QueryValue(RootKey::CurrentUser, kRunKey, name).has_value();
}

}  // namespace

void KeyboardWalkThroughTest::everyCommandWithoutTheMouse() {
    GuiSession t;
    auto& registry = t.platform.registry();
    QVERIFY(registry.CreateKey(RootKey::CurrentUser, kRunKey).Ok());
    for (const auto& [name, path] :
         std::vector<std::pair<std::string, std::string>>{{"Alpha", "C:\\Apps\\alpha.exe"},
                                                          {"Bravo", "C:\\Tools\\bravo.exe"},
                                                          {"Charlie", "C:\\Apps\\charlie.exe"}}) {
        QVERIFY(registry.SetValue(RootKey::CurrentUser, kRunKey, {name, platform::ValueType::String, path}).Ok());
    }
    QVERIFY(t.Start());
    t.window().activateWindow();
    t.window().setFocus();
    auto& m = t.window().Menus();
    QTabBar* tabs = t.window().Tabs();
    QTableView* view = t.View(TableKind::HKCU_Run);
    const Table& run = t.s.model.tables[TableKind::HKCU_Run];

    // From About to HKCU Run, and down to the second row.
    for (int i = 0; i < 4; ++i) Type(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(tabs->tabText(tabs->currentIndex()), QString("HKCU Run"));
    QCOMPARE(QApplication::focusWidget(), view);
    Type(Qt::Key_Home);
    Type(Qt::Key_Down);
    QCOMPARE(SelectedName(t, TableKind::HKCU_Run), QString("Bravo"));

    // Untick and tick: the value leaves the Run key and comes back.
    Type(Qt::Key_Space);
    QVERIFY(!run.Ticked(t.window().SelectedRows(TableKind::HKCU_Run)[0]));
    QVERIFY(!InRunKey(t, "Bravo"));
    Type(Qt::Key_Space);
    QVERIFY(run.Ticked(t.window().SelectedRows(TableKind::HKCU_Run)[0]));
    QVERIFY(InRunKey(t, "Bravo"));

    // Edit: Enter opens the editor, a new name is typed and Enter confirms it.
    t.seam().playDialog = [](QDialog& dialog) {
        auto* editor = qobject_cast<ui::ItemEditorDialog*>(&dialog);
        QVERIFY(editor);
        QCOMPARE(editor->NameBox()->text(), QString("Bravo"));
        editor->NameBox()->selectAll();
        QTest::keyClicks(editor->NameBox(), "Bravado");
        QTest::keyClick(editor->NameBox(), Qt::Key_Return);
        QVERIFY(!editor->isVisible());
    };
    Type(Qt::Key_Return);
    QCOMPARE(SelectedName(t, TableKind::HKCU_Run), QString("Bravado"));
    QTRY_COMPARE(QApplication::focusWidget(), view);

    // Identify: "/" looks up the selected row's program.
    Type(Qt::Key_Slash);
    QCOMPARE(t.platform.recorder.opened.size(), size_t(1));
    QVERIFY(QString::fromStdString(t.platform.recorder.opened[0]).endsWith("bravo.exe"));

    // Move: the row menu from its key, "Move to" and "Delayed" by their letters.
    Type(Qt::Key_Menu);
    QCOMPARE(QApplication::activePopupWidget(), m.table);
    Type(Qt::Key_M);
    QTRY_COMPARE(QApplication::activePopupWidget(), m.moveTo);
    Type(Qt::Key_D);
    t.Reactivate();
    const Table& delayed = t.s.model.tables[TableKind::Delayed];
    QCOMPARE(delayed.Count(), 1);
    QCOMPARE(QString::fromStdString(delayed.Name(1)), QString("Bravado"));
    QCOMPARE(run.Count(), 2);
    // A ticked delayed row needs the program to start with Windows: the option shows it now.
    QVERIFY(t.s.options.runOnStartup);
    QVERIFY(m.optionItems[0]->isChecked());
    QTRY_COMPARE(QApplication::focusWidget(), view);

    // Delete: the next row the arrow keys reach goes to Deleted.
    Type(Qt::Key_Home);
    QCOMPARE(SelectedName(t, TableKind::HKCU_Run), QString("Alpha"));
    Type(Qt::Key_Delete);
    QCOMPARE(t.s.model.tables[TableKind::Deleted].Count(), 1);
    QCOMPARE(QString::fromStdString(t.s.model.tables[TableKind::Deleted].Name(1)), QString("Alpha"));
    QVERIFY(!InRunKey(t, "Alpha"));
    QCOMPARE(QApplication::focusWidget(), view);

    // Every menu of the bar opens from its letter, submenus from theirs, and Esc leaves them.
    for (const auto& [letter, menu] :
         {std::pair{Qt::Key_F, m.file}, std::pair{Qt::Key_A, m.action}, std::pair{Qt::Key_O, m.options}}) {
        Type(letter, Qt::AltModifier);
        QTRY_COMPARE(QApplication::activePopupWidget(), menu);
        if (menu == m.action) {
            Type(Qt::Key_D);
            QTRY_COMPARE(QApplication::activePopupWidget(), m.deleteDuplicates);
            Type(Qt::Key_Escape);
            QTRY_COMPARE(QApplication::activePopupWidget(), m.action);
        }
        Type(Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        t.Reactivate();
        Type(Qt::Key_Escape);  // out of the bar, back to the list
        QTRY_COMPARE(QApplication::focusWidget(), view);
    }
    QStringList dialogs;
    t.seam().playDialog = [&](QDialog& dialog) { dialogs << dialog.windowTitle(); };
    Type(Qt::Key_P, Qt::AltModifier);
    QTRY_COMPARE(dialogs.size(), 1);
    QTRY_COMPARE(QApplication::focusWidget(), view);
    QCOMPARE(run.Count(), 1);
    QCOMPARE(QString::fromStdString(run.Name(1)), QString("Charlie"));
}

QTEST_MAIN(KeyboardWalkThroughTest)
#include "KeyboardWalkThroughTest.moc"
