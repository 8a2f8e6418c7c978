// What the lists show of the programs behind the rows: each program's own icon and its
// publisher, filled in after the window is up, and again for rows that a rescan brings.

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QTableView>
#include <QTest>

#include <filesystem>

#include "GuiSession.h"
#include "platform/emulated/MachineLayout.h"
#include "ui/IconStore.h"

using namespace kestrune;
using kestrune::test::GuiSession;
using platform::RootKey;
using platform::ValueType;

class ProgramDetailsTest : public QObject {
    Q_OBJECT
private slots:
    void rowsShowTheProgramsIconAndPublisherOnceFilledIn();
    void rowsOfARescanGetTheirPublishersToo();
    void thePublisherColumnSorts();
};

namespace {

const QColor kIconColour(0xd0, 0x20, 0x30);

// A program file with its icon (a plain red square) and its version file beside it.
std::string Program(GuiSession& t, const std::string& name, const std::string& company) {
    const std::string path = t.machine.folder.Path() + name;
    test::WriteText(path, "program " + name);
    if (company.empty()) return path;
    QImage picture(16, 16, QImage::Format_ARGB32);
    picture.fill(kIconColour);
    picture.save(QString::fromStdString(path + ".png"), "PNG");
    test::WriteText(path + ".version", "CompanyName=" + company + "\n");
    return path;
}

void SetRunValue(GuiSession& t, const std::string& name, const std::string& data) {
    auto& registry = t.platform.registry();
    QVERIFY(registry.CreateKey(RootKey::CurrentUser, platform::kRunKey).Ok());
    QVERIFY(registry.SetValue(RootKey::CurrentUser, platform::kRunKey, {name, ValueType::String, data}).Ok());
}

QString Shown(GuiSession& t, TableKind kind, int row, int column) {
    QAbstractItemModel* model = t.View(kind)->model();
    return model->data(model->index(row, column)).toString();
}

QImage IconPicture(GuiSession& t, TableKind kind, int row) {
    QAbstractItemModel* model = t.View(kind)->model();
    return model->data(model->index(row, 0), Qt::DecorationRole).value<QIcon>().pixmap(16, 16).toImage();
}

int RowNamed(GuiSession& t, TableKind kind, const QString& name) {
    for (int row = 0; row < t.View(kind)->model()->rowCount(); ++row)
        if (Shown(t, kind, row, 0) == name) return row;
    return -1;
}

bool FillDone(GuiSession& t) {
    QApplication::processEvents();
    return !t.window().IconFillRunning();
}

}  // namespace

void ProgramDetailsTest::rowsShowTheProgramsIconAndPublisherOnceFilledIn() {
    GuiSession t;
    SetRunValue(t, "Updater", Program(t, "up.exe", "Up Software") + " /silent");
    SetRunValue(t, "Plain", Program(t, "plain.exe", ""));
    // As the desktop program starts: the tables first, what their programs say afterwards.
    t.app.DeferIcons();
    QVERIFY(t.Start());
    t.ClickTab("HKCU Run");
    const int updater = RowNamed(t, TableKind::HKCU_Run, "Updater");
    const int plain = RowNamed(t, TableKind::HKCU_Run, "Plain");
    QVERIFY(updater >= 0 && plain >= 0);
    QCOMPARE(t.View(TableKind::HKCU_Run)->model()->headerData(2, Qt::Horizontal).toString(), QString("Publisher"));
    QCOMPARE(Shown(t, TableKind::HKCU_Run, updater, 2), QString());
    const QImage defaultIcon = IconPicture(t, TableKind::HKCU_Run, plain);
    QCOMPARE(IconPicture(t, TableKind::HKCU_Run, updater), defaultIcon);

    t.fe.StartIconFill();
    QTRY_VERIFY(FillDone(t));
    t.window().SyncTables();
    QCOMPARE(Shown(t, TableKind::HKCU_Run, updater, 2), QString("Up Software"));
    QCOMPARE(Shown(t, TableKind::HKCU_Run, plain, 2), QString());
    // The updater's own picture, pixel for pixel; the plain program keeps the default one.
    const QImage icon = IconPicture(t, TableKind::HKCU_Run, updater);
    QVERIFY(icon != defaultIcon);
    QCOMPARE(icon.pixelColor(8, 8), kIconColour);
    QCOMPARE(IconPicture(t, TableKind::HKCU_Run, plain), defaultIcon);
    QVERIFY(t.s.model.tables[TableKind::HKCU_Run].Icon(updater + 1) >= 2);
}

void ProgramDetailsTest::rowsOfARescanGetTheirPublishersToo() {
    GuiSession t;
    SetRunValue(t, "Updater", Program(t, "up.exe", "Up Software"));
    t.app.DeferIcons();
    QVERIFY(t.Start());
    t.fe.StartIconFill();
    QTRY_VERIFY(FillDone(t));

    // Another program registers itself; the user refreshes.
    SetRunValue(t, "Mail", Program(t, "mail.exe", "Mail & Co"));
    t.app.RefreshTables();
    t.window().SyncTables();
    QTRY_VERIFY(FillDone(t));
    t.window().SyncTables();
    QCOMPARE(Shown(t, TableKind::HKCU_Run, RowNamed(t, TableKind::HKCU_Run, "Mail"), 2), QString("Mail & Co"));
    QCOMPARE(Shown(t, TableKind::HKCU_Run, RowNamed(t, TableKind::HKCU_Run, "Updater"), 2), QString("Up Software"));
}

void ProgramDetailsTest::thePublisherColumnSorts() {
    GuiSession t;
    SetRunValue(t, "A", Program(t, "a.exe", "Zeta"));
    SetRunValue(t, "B", Program(t, "b.exe", "Alpha"));
    SetRunValue(t, "C", Program(t, "c.exe", "Mid"));
    t.app.DeferIcons();
    QVERIFY(t.Start());
    t.ClickTab("HKCU Run");
    t.fe.StartIconFill();
    QTRY_VERIFY(FillDone(t));
    t.window().SyncTables();

    t.ClickHeader(TableKind::HKCU_Run, 2);
    QApplication::processEvents();
    QStringList order;
    for (int row = 0; row < 3; ++row) order << Shown(t, TableKind::HKCU_Run, row, 0);
    // The lists were fitted ascending on their names, so the first click sorts descending.
    QCOMPARE(order, QStringList({"A", "C", "B"}));
    t.ClickHeader(TableKind::HKCU_Run, 2);
    QApplication::processEvents();
    order.clear();
    for (int row = 0; row < 3; ++row) order << Shown(t, TableKind::HKCU_Run, row, 0);
    QCOMPARE(order, QStringList({"B", "C", "A"}));
}

QTEST_MAIN(ProgramDetailsTest)
#include "ProgramDetailsTest.moc"
