// The Delayed table's "Impact" column as the desktop program shows it from what settings.xml
// stored: the band in the cell, the figures behind it in the cell's tooltip.

#include <QAbstractItemModel>
#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QTableView>
#include <QTest>
#include <QToolTip>

#include "GuiSession.h"

using namespace kestrune;
using kestrune::test::GuiSession;

namespace {

std::string StoredItem(int number, const std::string& name, const std::string& impact) {
    const std::string tag = "item" + std::to_string(number);
    return "<" + tag + "><name>" + name + "</name><path>/opt/" + name + "</path><delay>" + std::to_string(number) +
           "</delay><prev/><active>1</active><priority/>" + impact + "</" + tag + ">";
}

std::string Measured(long cpuMs, long read, long written, int seconds) {
    return "<impact><cpu>" + std::to_string(cpuMs) + "</cpu><read>" + std::to_string(read) + "</read><written>" +
           std::to_string(written) + "</written><seconds>" + std::to_string(seconds) + "</seconds></impact>";
}

int ColumnHeaded(const QTableView* view, const QString& header) {
    const QAbstractItemModel* model = view->model();
    for (int column = 0; column < model->columnCount(); ++column)
        if (model->headerData(column, Qt::Horizontal).toString() == header) return column;
    return -1;
}

// The tooltip the view shows when the pointer rests on a cell.
QString ToolTipAt(QTableView* view, int row, int column) {
    const QRect cell = view->visualRect(view->model()->index(row, column));
    QHelpEvent help(QEvent::ToolTip, cell.center(), view->viewport()->mapToGlobal(cell.center()));
    QApplication::sendEvent(view->viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

}  // namespace

class ImpactColumnTest : public QObject {
    Q_OBJECT
private slots:
    void bandsAndFiguresComeFromTheStoredMeasurements();
};

void ImpactColumnTest::bandsAndFiguresComeFromTheStoredMeasurements() {
    GuiSession t;
    test::WriteText(t.machine.appFolder + "settings.xml",
                    "<Root><Delayed>" + StoredItem(1, "heavy", Measured(1520, 30 * 1024 * 1024, 0, 2)) +
                        StoredItem(2, "light", Measured(40, 100 * 1024, 0, 30)) + StoredItem(3, "fresh", "") +
                        "</Delayed></Root>");
    QVERIFY(t.Start());
    QCOMPARE(t.s.model.tables[TableKind::Delayed].Count(), 3);
    t.ClickTab("Delayed");
    QTableView* view = t.View(TableKind::Delayed);
    QVERIFY(view->isVisible());
    const int impact = ColumnHeaded(view, "Impact");
    QVERIFY(impact >= 0);
    QVERIFY(!view->isColumnHidden(impact));
    QVERIFY(view->columnWidth(impact) > 0);

    // The window sorts the rows as it likes: each is found by its name.
    const QAbstractItemModel* model = view->model();
    const auto rowOf = [&](const QString& name) {
        for (int row = 0; row < model->rowCount(); ++row)
            if (model->index(row, 0).data().toString() == name) return row;
        return -1;
    };
    const int heavy = rowOf("heavy"), light = rowOf("light"), fresh = rowOf("fresh");
    QVERIFY(heavy >= 0 && light >= 0 && fresh >= 0);
    QCOMPARE(model->index(heavy, impact).data().toString(), QString("High"));
    QCOMPARE(model->index(light, impact).data().toString(), QString("Low"));
    QCOMPARE(model->index(fresh, impact).data().toString(), QString("Not measured"));

    view->scrollTo(model->index(0, impact));
    QCOMPARE(ToolTipAt(view, heavy, impact),
             QString("1.52 s processor time, 30.0 MB read, 0.0 MB written in the first 2 s"));
    QCOMPARE(ToolTipAt(view, light, impact),
             QString("0.04 s processor time, 0.1 MB read, 0.0 MB written in the first 30 s"));
    QVERIFY(ToolTipAt(view, fresh, impact).startsWith("Not measured"));
}

QTEST_MAIN(ImpactColumnTest)
#include "ImpactColumnTest.moc"
