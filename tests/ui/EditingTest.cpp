// Changing entries through the window: ticking a Run entry off and on, and the item editor
// with its checks, opened by the keys a user presses.

#include <filesystem>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "GuiSession.h"
#include "locations/Places.h"
#include "ui/ItemEditorDialog.h"

using namespace kestrune;
using kestrune::platform::RootKey;
using kestrune::test::GuiSession;

class EditingTest : public QObject {
    Q_OBJECT
private slots:
    void untickingAnHkcuRunRowRemovesTheValue();
    void editorRefusesAnEmptyNameOrPath();
    void enterEditsTheSelectedDelayedRow();
    void theFileChooserOpensInTheProgramsFolder();
    void tickingADelayedRowRegistersTheProgramAtOnce();
};

void EditingTest::untickingAnHkcuRunRowRemovesTheValue() {
    GuiSession t;
    auto& registry = t.platform.registry();
    QVERIFY(registry.CreateKey(RootKey::CurrentUser, kRunKey).Ok());
    QVERIFY(
        registry
            .SetValue(RootKey::CurrentUser, kRunKey, {"Clock", platform::ValueType::String, "C:\\Clock\\clock.exe /t"})
            .Ok());
    QVERIFY(t.Start());
    t.ClickTab("HKCU Run");
    QCOMPARE(t.window().Status()->text(), QString("1 item(s) : 1 enabled, 0 disabled."));

    QTableView* view = t.View(TableKind::HKCU_Run);
    view->setFocus();
    view->setCurrentIndex(view->model()->index(0, 0));
    QTest::keyClick(view, Qt::Key_Space);
    QVERIFY(!registry.QueryValue(RootKey::CurrentUser, kRunKey, "Clock"));
    QCOMPARE(t.window().Status()->text(), QString("1 item(s) : 0 enabled, 1 disabled."));
    QVERIFY(!t.s.model.tables[TableKind::HKCU_Run].Ticked(1));

    QTest::keyClick(view, Qt::Key_Space);
    const auto back = registry.QueryValue(RootKey::CurrentUser, kRunKey, "Clock");
    QVERIFY(back);
    QCOMPARE(back->data, std::string("C:\\Clock\\clock.exe /t"));
    QCOMPARE(t.window().Status()->text(), QString("1 item(s) : 1 enabled, 0 disabled."));
}

void EditingTest::editorRefusesAnEmptyNameOrPath() {
    GuiSession t;
    QVERIFY(t.Start());
    t.ClickTab("HKLM Run");
    bool played = false;
    t.seam().playDialog = [&](QDialog& d) {
        auto* editor = qobject_cast<ui::ItemEditorDialog*>(&d);
        QVERIFY(editor);
        played = true;
        QCOMPARE(editor->windowTitle(), QString("Kestrune - New"));
        QVERIFY(editor->NameBox()->text().isEmpty());
        QVERIFY(editor->DelayBox()->isHidden());
        QVERIFY(editor->PriorityBox()->isHidden());

        QTest::mouseClick(editor->OkButton(), Qt::LeftButton);
        QVERIFY(editor->isVisible());
        QCOMPARE(t.seam().messages.back().text, std::string("Please enter a name."));
        QCOMPARE(t.seam().messages.back().icon, MessageIcon::Information);
        QCOMPARE(editor->focusWidget(), editor->NameBox());

        QTest::keyClicks(editor->NameBox(), "Backup");
        QTest::mouseClick(editor->OkButton(), Qt::LeftButton);
        QVERIFY(editor->isVisible());
        QCOMPARE(t.seam().messages.back().text, std::string("Please enter a path."));
        QCOMPARE(editor->focusWidget(), editor->PathBox());

        QTest::keyClicks(editor->PathBox(), "C:\\Backup\\backup.exe -q");
        QTest::mouseClick(editor->OkButton(), Qt::LeftButton);
        QVERIFY(!editor->isVisible());
    };
    // The keypad's "+" on the list starts a new row.
    QTableView* view = t.View(TableKind::HKLM_Run);
    const int before = t.s.model.tables[TableKind::HKLM_Run].Count();
    QTest::keyClick(view, Qt::Key_Plus, Qt::KeypadModifier);
    QVERIFY(played);
    QCOMPARE(t.seam().messages.size(), size_t(2));
    const Table& table = t.s.model.tables[TableKind::HKLM_Run];
    QCOMPARE(table.Count(), before + 1);
    QCOMPARE(table.Name(table.Count()), std::string("Backup"));
    QCOMPARE(table.Text(table.Count(), col::Path), std::string("C:\\Backup\\backup.exe -q"));
    QVERIFY(!table.Ticked(table.Count()));  // a new entry starts disabled
    QApplication::processEvents();
    QCOMPARE(view->model()->rowCount(), before + 1);
}

void EditingTest::enterEditsTheSelectedDelayedRow() {
    GuiSession t;
    QVERIFY(t.Start());
    t.s.model.tables[TableKind::Delayed].Add({"Mail", "C:\\Mail\\mail.exe", "30", "", "High"}, true);
    t.ClickTab("Delayed");
    t.ClickRow(TableKind::Delayed, 1);
    t.seam().playDialog = [&](QDialog& d) {
        auto& editor = static_cast<ui::ItemEditorDialog&>(d);
        QCOMPARE(editor.windowTitle(), QString("Kestrune - Edit"));
        QCOMPARE(editor.NameBox()->text(), QString("Mail"));
        QCOMPARE(editor.PathBox()->text(), QString("C:\\Mail\\mail.exe"));
        QVERIFY(!editor.DelayBox()->isHidden());
        QCOMPARE(editor.DelayBox()->text(), QString("30"));
        QCOMPARE(editor.PriorityBox()->currentText(), QString("High"));
        QStringList priorities;
        for (int i = 0; i < editor.PriorityBox()->count(); ++i) priorities << editor.PriorityBox()->itemText(i);
        QCOMPARE(priorities, QStringList({"", "Realtime", "High", "Above Normal", "Normal", "Below Normal", "Low"}));
        editor.DelayBox()->setText("-10");
        editor.PriorityBox()->setCurrentText("Low");
        QTest::mouseClick(editor.OkButton(), Qt::LeftButton);
    };
    QTest::keyClick(t.View(TableKind::Delayed), Qt::Key_Return);
    const Table& table = t.s.model.tables[TableKind::Delayed];
    QCOMPARE(table.Text(1, col::Delay), std::string("-10"));
    QCOMPARE(table.Text(1, col::DelayedPriority), std::string("Low"));
    QVERIFY(t.seam().messages.empty());
}

void EditingTest::theFileChooserOpensInTheProgramsFolder() {
    GuiSession t;
    const std::string folder = t.machine.machineRoot + "/Program Files/Mailer/";
    std::filesystem::create_directories(folder);
    test::WriteText(folder + "mail.exe", "MZ");
    QVERIFY(t.Start());
    t.ClickTab("Delayed");
    Table& delayed = t.s.model.tables[TableKind::Delayed];
    delayed.Add({"Mail", "\"" + folder + "mail.exe\" --quiet", "5"});
    delayed.Add({"Gone", "/nowhere/at/all/gone.exe", "5"});
    t.window().SyncTables();

    t.seam().playDialog = [](QDialog& dialog) {
        auto* browse = dialog.findChild<QAbstractButton*>("cmdBrowse");
        QVERIFY(browse);
        QTest::mouseClick(browse, Qt::LeftButton);
    };
    const auto positionOf = [&](const std::string& name) {
        for (int p = 1; p <= delayed.Count(); ++p)
            if (delayed.Name(p) == name) return p;
        return 0;
    };
    t.ClickRow(TableKind::Delayed, positionOf("Mail"));
    QTest::keyClick(t.View(TableKind::Delayed), Qt::Key_F2);
    // A folder that is gone leaves the choice to the system, as for a new row.
    t.ClickRow(TableKind::Delayed, positionOf("Gone"));
    QTest::keyClick(t.View(TableKind::Delayed), Qt::Key_F2);
    const auto& folders = t.seam().chooserFolders;
    QCOMPARE(folders.size(), size_t(2));
    QCOMPARE(QString::fromStdString(folders[0]), QString::fromStdString(folder));
    QCOMPARE(QString::fromStdString(folders[1]), QString());
}

void EditingTest::tickingADelayedRowRegistersTheProgramAtOnce() {
    GuiSession t;
    QVERIFY(t.Start());
    t.ClickTab("Delayed");
    t.s.model.tables[TableKind::Delayed].Add({"Mail", "/usr/bin/env true", "5"});
    t.window().SyncTables();
    auto* runOnStartup = test::ActionNamed(*t.window().Menus().options, "Run on startup");
    QVERIFY(!runOnStartup->isChecked());

    t.ClickRow(TableKind::Delayed, 1);
    QTest::keyClick(t.View(TableKind::Delayed), Qt::Key_Space);
    QApplication::processEvents();
    QVERIFY(t.s.model.tables[TableKind::Delayed].Ticked(1));
    // The shortcut that starts the delayed run with Windows is there, and the menu says so
    // without having been opened.
    QVERIFY(t.s.options.runOnStartup);
    QVERIFY(t.platform.files().FileExists(t.s.paths.commonStartupFolder + "/Kestrune.lnk"));
    QVERIFY(runOnStartup->isChecked());
}

QTEST_MAIN(EditingTest)
#include "EditingTest.moc"
