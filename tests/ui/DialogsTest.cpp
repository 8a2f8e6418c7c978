// The dialogs as a user meets them: the profiles dialog, the monitor's question, and the
// message and input boxes they raise.

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "GuiSession.h"
#include "store/Profiles.h"
#include "ui/MonitorDialog.h"
#include "ui/ProfilesDialog.h"

using namespace kestrune;
using kestrune::test::GuiSession;

namespace {

QStringList Entries(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i) texts << list.item(i)->text();
    return texts;
}

void SelectEntry(QListWidget& list, const QString& text) {
    const auto items = list.findItems(text, Qt::MatchExactly);
    QVERIFY(!items.isEmpty());
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(items.front()).center());
}

std::vector<std::string> Texts(const std::vector<ui::DialogSeam::Shown>& shown) {
    std::vector<std::string> texts;
    for (const auto& m : shown) texts.push_back(m.text);
    return texts;
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void profilesDialogRefusesWhatItMust();
    void profilesDialogStaysOpenWhileTheProfileInUseIsGone();
    void monitorPromptAnswersKeepAndRemember();
    void monitorPromptCancelKeepsNothing();
    void monitorPromptTakesNoKeyTypedAsItAppears();
    void monitorPromptClosedWithoutAButtonIsNoAnswer();
};

void DialogsTest::profilesDialogRefusesWhatItMust() {
    GuiSession t;
    QVERIFY(t.Start());
    bool shown = false;
    t.seam().playDialog = [&](QDialog& d) {
        auto* dialog = qobject_cast<ui::ProfilesDialog*>(&d);
        QVERIFY(dialog);
        shown = true;
        QCOMPARE(dialog->windowTitle(), QString("Kestrune - Profiles"));
        QListWidget& list = *dialog->List();
        QCOMPARE(Entries(list), QStringList({"[default]"}));
        QCOMPARE(list.currentItem()->text(), QString("[default]"));

        t.seam().input = {"Work", "work", ""};
        QTest::mouseClick(dialog->AddButton(), Qt::LeftButton);
        QTest::mouseClick(dialog->AddButton(), Qt::LeftButton);
        QTest::mouseClick(dialog->AddButton(), Qt::LeftButton);  // Cancel: nothing
        QCOMPARE(Entries(list), QStringList({"[default]", "Work"}));

        SelectEntry(list, "[default]");
        QTest::mouseClick(dialog->EditButton(), Qt::LeftButton);
        QTest::mouseClick(dialog->DeleteButton(), Qt::LeftButton);

        SelectEntry(list, "Work");
        t.seam().input = {"", "[DEFAULT]"};
        QTest::mouseClick(dialog->EditButton(), Qt::LeftButton);
        QTest::mouseClick(dialog->EditButton(), Qt::LeftButton);
        QCOMPARE(Entries(list), QStringList({"[default]", "Work"}));

        QCOMPARE(Texts(t.seam().messages),
                 (std::vector<std::string>{"Profile already exists!", "Cannot edit default profile name.",
                                           "Cannot delete default profile.", "Profile name cannot be empty.",
                                           "Cannot use the default profile name."}));
        for (const auto& m : t.seam().messages) {
            QCOMPARE(m.icon, MessageIcon::Exclamation);
            QCOMPARE(m.title, std::string("Kestrune"));
        }
        QCOMPARE(t.seam().prompts,
                 (std::vector<std::string>{
                     "Please enter a name for the new profile:", "Please enter a name for the new profile:",
                     "Please enter a name for the new profile:", "Please enter a new name for the profile:",
                     "Please enter a new name for the profile:"}));

        // Using the profile switches to it and closes the dialog.
        SelectEntry(list, "Work");
        QTest::mouseClick(dialog->UseButton(), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
    };
    t.window().Menus().profiles->trigger();
    QVERIFY(shown);
    QCOMPARE(t.s.paths.profile, std::string("Work"));
    QVERIFY(t.window().windowTitle().endsWith(" - Work"));
}

void DialogsTest::profilesDialogStaysOpenWhileTheProfileInUseIsGone() {
    GuiSession t;
    QVERIFY(t.Start());
    t.seam().playDialog = [&](QDialog& d) {
        auto& dialog = static_cast<ui::ProfilesDialog&>(d);
        t.seam().input = {"Home"};
        QTest::mouseClick(dialog.AddButton(), Qt::LeftButton);
        SelectEntry(*dialog.List(), "Home");
        QTest::mouseClick(dialog.UseButton(), Qt::LeftButton);
    };
    t.window().Menus().profiles->trigger();
    QCOMPARE(t.s.paths.profile, std::string("Home"));

    t.seam().playDialog = [&](QDialog& d) {
        auto& dialog = static_cast<ui::ProfilesDialog&>(d);
        QCOMPARE(dialog.List()->currentItem()->text(), QString("Home"));
        QTest::mouseClick(dialog.DeleteButton(), Qt::LeftButton);
        QCOMPARE(Entries(*dialog.List()), QStringList({"[default]"}));
        QCOMPARE(dialog.List()->currentItem()->text(), QString("[default]"));
        QTest::mouseClick(dialog.CloseButton(), Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        dialog.close();  // the close box is refused the same way
        QVERIFY(dialog.isVisible());
        QCOMPARE(t.seam().messages.size(), size_t(2));
        QCOMPARE(t.seam().messages[0].text,
                 std::string("The profile that was in use no longer exists. Please select a different profile from "
                             "the list\nand click on the 'Use selected profile' button."));
        QTest::mouseClick(dialog.UseButton(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
    };
    t.window().Menus().profiles->trigger();
    QCOMPARE(t.s.paths.profile, std::string("[default]"));
}

void DialogsTest::monitorPromptAnswersKeepAndRemember() {
    GuiSession t;
    const std::string message =
        "The following programs\r\nC:\\x.exe\r\nhave registered to run at system start up - "
        "do you want to allow this?";
    t.seam().playDialog = [](QDialog& d) {
        QCOMPARE(d.findChild<QPlainTextEdit*>("txtMsg")->toPlainText(),
                 QString("The following programs\nC:\\x.exe\nhave registered to run at system start up - do you "
                         "want to allow this?"));
        auto* places = d.findChild<QListWidget*>("lstNewEntries");
        QVERIFY(places->isVisible());
        QCOMPARE(places->count(), 2);
        QCOMPARE(places->item(0)->text(), QString::fromUtf8("x \u2014 HKCU Run"));
        QCOMPARE(places->item(1)->text(), QString::fromUtf8("Mail \u2014 User"));
        auto* remember = d.findChild<QCheckBox*>("chkRemember");
        QCOMPARE(remember->text(), QString("Remember your decision"));
        QVERIFY(!remember->isChecked());
        QTest::mouseClick(remember, Qt::LeftButton);
        QTest::mouseClick(d.findChild<QPushButton*>("cmdAllow"), Qt::LeftButton);
    };
    const MonitorAnswer answer = t.fe.AskMonitor(message, {"x \u2014 HKCU Run", "Mail \u2014 User"});
    QVERIFY(answer.keep);
    QVERIFY(answer.remember);
}

void DialogsTest::monitorPromptCancelKeepsNothing() {
    GuiSession t;
    t.seam().playDialog = [](QDialog& d) { QTest::mouseClick(d.findChild<QPushButton*>("cmdRemove"), Qt::LeftButton); };
    const MonitorAnswer answer = t.fe.AskMonitor("x", {});
    QVERIFY(!answer.keep);
    QVERIFY(!answer.remember);
}

void DialogsTest::monitorPromptTakesNoKeyTypedAsItAppears() {
    GuiSession t;
    t.seam().playDialog = [](QDialog& d) {
        auto& dialog = static_cast<ui::MonitorDialog&>(d);
        QCOMPARE(dialog.AllowButton()->text(), QString("Allow"));
        QCOMPARE(dialog.RemoveButton()->text(), QString("Remove"));
        // Keys meant for another window, arriving as the question comes up.
        QTest::keyClick(&d, Qt::Key_Escape);
        QTest::keyClick(d.focusWidget(), Qt::Key_Return);
        QTest::keyClick(dialog.RemoveButton(), Qt::Key_Space);
        QVERIFY(d.isVisible());
        QCOMPARE(dialog.Chosen(), ui::MonitorDialog::Choice::None);
        QTest::qWait(ui::MonitorDialog::kKeyGuardMilliseconds + 100);
        // Later, Esc and Enter still decide nothing; a key on a button does.
        QTest::keyClick(&d, Qt::Key_Escape);
        QTest::keyClick(d.focusWidget(), Qt::Key_Return);
        QVERIFY(d.isVisible());
        dialog.AllowButton()->setFocus();
        QTest::keyClick(dialog.AllowButton(), Qt::Key_Space);
    };
    const MonitorAnswer answer = t.fe.AskMonitor("x", {});
    QVERIFY(answer.answered);
    QVERIFY(answer.keep);
}

void DialogsTest::monitorPromptClosedWithoutAButtonIsNoAnswer() {
    GuiSession t;
    t.seam().playDialog = [](QDialog& d) { d.close(); };
    const MonitorAnswer answer = t.fe.AskMonitor("x", {});
    QVERIFY(!answer.answered);
    QVERIFY(!answer.keep);
}

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
