// Commands on several selected rows of a list the user has sorted: they act on the rows the
// user selected, however the tables move under them while they run.

#include <QApplication>
#include <QTableView>
#include <QTest>

#include "GuiSession.h"
#include "locations/Places.h"

using namespace kestrune;
using kestrune::platform::RootKey;
using kestrune::test::GuiSession;

class SelectionTest : public QObject {
    Q_OBJECT
private slots:
    void movingSelectedRowsOfASortedListMovesExactlyThoseRows();
};

namespace {

int PositionNamed(const Table& table, const std::string& name) {
    for (int p = 1; p <= table.Count(); ++p)
        if (table.Name(p) == name) return p;
    return 0;
}

QStringList ValueNames(platform::Registry& registry, RootKey root) {
    QStringList names;
    for (const auto& value : registry.EnumValues(root, kRunKey).value_or(std::vector<platform::RegistryValue>{}))
        names << QString::fromStdString(value.name);
    names.sort();
    return names;
}

}  // namespace

void SelectionTest::movingSelectedRowsOfASortedListMovesExactlyThoseRows() {
    GuiSession t;
    auto& registry = t.platform.registry();
    QVERIFY(registry.CreateKey(RootKey::CurrentUser, kRunKey).Ok());
    QVERIFY(registry.CreateKey(RootKey::LocalMachine, kRunKey).Ok());
    // The paths run in another order than the names, whichever way the Path column sorts.
    const std::vector<std::pair<std::string, std::string>> entries = {{"Alpha", "/opt/c/alpha"},
                                                                      {"Bravo", "/opt/e/bravo"},
                                                                      {"Charlie", "/opt/a/charlie"},
                                                                      {"Delta", "/opt/d/delta"},
                                                                      {"Echo", "/opt/b/echo"}};
    for (const auto& [name, path] : entries)
        QVERIFY(registry.SetValue(RootKey::CurrentUser, kRunKey, {name, platform::ValueType::String, path}).Ok());
    QVERIFY(t.Start());
    t.ClickTab("HKCU Run");
    t.ClickHeader(TableKind::HKCU_Run, col::Path);
    QApplication::processEvents();
    const Table& hkcu = t.s.model.tables[TableKind::HKCU_Run];
    QVERIFY(test::Column(hkcu, col::Name) != QStringList({"Alpha", "Bravo", "Charlie", "Delta", "Echo"}));

    // Alpha, then Delta with Ctrl held, as a user selects two rows.
    t.ClickRow(TableKind::HKCU_Run, PositionNamed(hkcu, "Alpha"));
    QTableView* view = t.View(TableKind::HKCU_Run);
    const QRect delta = view->visualRect(view->model()->index(PositionNamed(hkcu, "Delta") - 1, 1));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, delta.center());
    QCOMPARE(t.window().SelectedRows(TableKind::HKCU_Run).size(), size_t(2));

    t.RightClickMenu(TableKind::HKCU_Run);
    t.window().Menus().move[2]->trigger();  // HKLM Run
    QApplication::processEvents();

    QStringList moved = test::Column(t.s.model.tables[TableKind::HKLM_Run], col::Name);
    moved.sort();
    QCOMPARE(moved, QStringList({"Alpha", "Delta"}));
    QStringList stayed = test::Column(hkcu, col::Name);
    stayed.sort();
    QCOMPARE(stayed, QStringList({"Bravo", "Charlie", "Echo"}));
    // The entries went with their rows; no unselected entry left its place.
    QCOMPARE(ValueNames(registry, RootKey::LocalMachine), QStringList({"Alpha", "Delta"}));
    QCOMPARE(ValueNames(registry, RootKey::CurrentUser), QStringList({"Bravo", "Charlie", "Echo"}));
}

QTEST_MAIN(SelectionTest)
#include "SelectionTest.moc"
