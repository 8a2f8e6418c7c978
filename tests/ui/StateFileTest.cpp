// File › Export and File › Apply a state file… in the window: what would change is listed
// first and nothing changes without OK; the monitor, watching meanwhile, takes the changes for
// the program's own.

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "GuiSession.h"
#include "locations/Places.h"
#include "ui/MainMenus.h"
#include "ui/StateFileActions.h"

using namespace kestrune;
using kestrune::platform::RootKey;
using kestrune::test::GuiSession;

class StateFileTest : public QObject {
    Q_OBJECT
private slots:
    void applyListsTheChangesAndChangesNothingWithoutOk();
    void applyWhileTheMonitorWatchesAsksNothingAndKeepsEveryRow();
    void aFileThatIsNotAStateFileIsToldAndChangesNothing();
    void exportWritesTheStateFileAndTheTablesAsCsv();
};

namespace {

const std::string kState =
    R"({"kestrune-state": 1, "places": {"HKCU_Run": {"mode": "exact", "entries": [
        {"name": "Clock", "command": "/opt/clock --big", "enabled": true}]}}})";

void SetRunValue(GuiSession& t, const std::string& name, const std::string& data) {
    auto& registry = t.platform.registry();
    QVERIFY(registry.CreateKey(RootKey::CurrentUser, kRunKey).Ok());
    QVERIFY(registry.SetValue(RootKey::CurrentUser, kRunKey, {name, platform::ValueType::String, data}).Ok());
}

std::optional<std::string> RunValue(GuiSession& t, const std::string& name) {
    const auto value = t.platform.registry().QueryValue(RootKey::CurrentUser, kRunKey, name);
    return value ? std::optional(value->data) : std::nullopt;
}

// An entry of the File menu or of one of its submenus.
QAction* FileEntry(GuiSession& t, const QString& caption) {
    for (QAction* action : t.window().Menus().file->actions()) {
        if (ui::ShownCaption(*action) == caption) return action;
        if (!action->menu()) continue;
        for (QAction* inner : action->menu()->actions())
            if (ui::ShownCaption(*inner) == caption) return inner;
    }
    qFatal("no File menu entry %s", qPrintable(caption));
}

std::string WriteStateFile(GuiSession& t, const std::string& text) {
    const std::string path = t.machine.appFolder + "wanted.json";
    test::WriteText(path, text);
    return path;
}

// Answers the list of changes with OK or Cancel and keeps what it listed; any other dialog
// (the monitor's question) is counted.
struct ChangesAnswer {
    QStringList listed;
    int otherDialogs = 0;
};
void AnswerChanges(GuiSession& t, bool ok, ChangesAnswer& answer) {
    t.seam().playDialog = [ok, &answer](QDialog& d) {
        if (d.objectName() != "frmStateChanges") {
            ++answer.otherDialogs;
            d.reject();
            return;
        }
        auto* list = d.findChild<QListWidget*>("lstStateChanges");
        for (int i = 0; i < list->count(); ++i) answer.listed << list->item(i)->text();
        auto* buttons = d.findChild<QDialogButtonBox*>();
        QTest::mouseClick(buttons->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel), Qt::LeftButton);
    };
}

}  // namespace

void StateFileTest::applyListsTheChangesAndChangesNothingWithoutOk() {
    GuiSession t;
    SetRunValue(t, "Clock", "/opt/clock");
    SetRunValue(t, "Nagger", "/opt/nag");
    QVERIFY(t.Start());
    const std::string path = WriteStateFile(t, kState);

    ChangesAnswer cancelled;
    AnswerChanges(t, false, cancelled);
    t.seam().files.push_back(path);
    FileEntry(t, "Apply a state file...")->trigger();
    QCOMPARE(cancelled.listed, QStringList({"HKCU Run \"Nagger\": enabled but not in the state, wanted disabled",
                                            "HKCU Run \"Clock\": runs \"/opt/clock\", wanted \"/opt/clock --big\""}));
    QCOMPARE(RunValue(t, "Clock"), std::optional<std::string>("/opt/clock"));
    QVERIFY(RunValue(t, "Nagger"));

    ChangesAnswer accepted;
    AnswerChanges(t, true, accepted);
    t.seam().files.push_back(path);
    FileEntry(t, "Apply a state file...")->trigger();
    QCOMPARE(accepted.listed.size(), 2);
    QCOMPARE(RunValue(t, "Clock"), std::optional<std::string>("/opt/clock --big"));
    QVERIFY(!RunValue(t, "Nagger"));
    QCOMPARE(t.window().Status()->text(), QString("Kestrune state applied: 2 change(s), the machine matches"));

    // A second time there is nothing to list.
    t.seam().files.push_back(path);
    FileEntry(t, "Apply a state file...")->trigger();
    QCOMPARE(t.seam().messages.back().text, std::string(ui::kAlreadyMatches));
}

void StateFileTest::applyWhileTheMonitorWatchesAsksNothingAndKeepsEveryRow() {
    GuiSession t;
    SetRunValue(t, "Clock", "/opt/clock");
    SetRunValue(t, "Nagger", "/opt/nag");
    QVERIFY(t.Start());
    t.s.options.ignoreSelf = true;
    t.window().Menus().monitor->trigger();
    QVERIFY(t.s.options.monitor);
    t.timers.Advance(1000);

    ChangesAnswer answer;
    AnswerChanges(t, true, answer);
    t.seam().files.push_back(WriteStateFile(t, kState));
    FileEntry(t, "Apply a state file...")->trigger();
    t.timers.Advance(3000);

    QCOMPARE(answer.otherDialogs, 0);
    const Table& run = t.s.model.tables[TableKind::HKCU_Run];
    QStringList rows;
    for (int p = 1; p <= run.Count(); ++p)
        rows << QString::fromStdString(run.Name(p) + (run.Ticked(p) ? ":on " : ":off ") + run.Text(p, col::Path));
    rows.sort();
    QCOMPARE(rows, QStringList({"Clock:on /opt/clock --big", "Nagger:off /opt/nag"}));
    QVERIFY(!RunValue(t, "Nagger"));
}

void StateFileTest::aFileThatIsNotAStateFileIsToldAndChangesNothing() {
    GuiSession t;
    SetRunValue(t, "Clock", "/opt/clock");
    QVERIFY(t.Start());
    ChangesAnswer answer;
    AnswerChanges(t, true, answer);
    t.seam().files.push_back(WriteStateFile(t, R"({"kestrune-state": 7})"));
    FileEntry(t, "Apply a state file...")->trigger();
    QVERIFY(answer.listed.isEmpty());
    QCOMPARE(t.seam().messages.back().icon, MessageIcon::Exclamation);
    QVERIFY(t.seam().messages.back().text.find("has version 7, this program reads version 1") != std::string::npos);
    QCOMPARE(RunValue(t, "Clock"), std::optional<std::string>("/opt/clock"));
}

void StateFileTest::exportWritesTheStateFileAndTheTablesAsCsv() {
    GuiSession t;
    SetRunValue(t, "Clock", "/opt/clock");
    QVERIFY(t.Start());
    t.ClickTab("HKCU Run");
    const std::string state = t.machine.appFolder + "state.json";
    const std::string table = t.machine.appFolder + "table.csv";
    const std::string all = t.machine.appFolder + "all.csv";
    t.seam().files = {state, table, all};
    FileEntry(t, "State file...")->trigger();
    FileEntry(t, "Current table as CSV...")->trigger();
    FileEntry(t, "All tables as CSV...")->trigger();

    const std::string json = test::ReadText(state);
    QVERIFY(json.find("\"kestrune-state\": 1") != std::string::npos);
    QVERIFY(json.find("\"name\": \"Clock\",\n          \"command\": \"/opt/clock\"") != std::string::npos);
    QCOMPARE(test::ReadText(table),
             std::string("Table,Position,Ticked,Name,Path,Publisher,Key,Windows\r\n4,1,1,Clock,/opt/clock,,,\r\n"));
    QVERIFY(test::ReadText(all).find("4,1,1,Clock,/opt/clock") != std::string::npos);
    QCOMPARE(t.window().Status()->text(), QString::fromStdString(std::string(ui::kExported) + all));
}

QTEST_MAIN(StateFileTest)
#include "StateFileTest.moc"
