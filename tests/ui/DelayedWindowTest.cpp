// The delayed-run window as the run drives it and a user watches and unticks it.

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTreeWidget>

#include "GuiSession.h"
#include "delayed/DelayedRun.h"
#include "delayed/DelayedWindow.h"
#include "ui/DelayedWindowView.h"
#include "ui/IconStore.h"

using namespace kestrune;
using kestrune::test::GuiSession;

namespace {

qint64 IconKey(const QTreeWidgetItem* item) { return item->icon(0).cacheKey(); }
qint64 StateKey(const char* name) { return ui::IconStore::StateIcon(name).cacheKey(); }

}  // namespace

class DelayedWindowTest : public QObject {
    Q_OBJECT
private slots:
    void progressOfThreeEntriesWithOneUnticked();
    void hideAndCloseBoxOnlyHideTheWindow();
    void theWindowOpensCentredAndStaysWhereTheUserPutsIt();
};

void DelayedWindowTest::progressOfThreeEntriesWithOneUnticked() {
    GuiSession t;
    DelayedWindow model;
    t.fe.AttachDelayedWindow(model);
    FillDelayedWindow(
        t.s.model.events, model,
        {{5, "\"C:\\Apps A\\alpha.exe\" -x", ""}, {10, "C:\\B\\beta.exe", ""}, {-3, "C:\\C\\gamma.exe", ""}});
    ui::DelayedWindowView* view = t.fe.DelayedView();
    QVERIFY(view->isVisible());
    QCOMPARE(view->windowTitle(), QString("Kestrune - Delayed Apps"));
    QTreeWidget* list = view->List();
    QCOMPARE(list->headerItem()->text(0), QString("Name"));
    QCOMPARE(list->headerItem()->text(1), QString("Delay"));
    QCOMPARE(list->headerItem()->text(2), QString("Path"));
    QCOMPARE(list->topLevelItemCount(), 3);
    QCOMPARE(list->topLevelItem(0)->text(0), QString("alpha.exe"));
    QCOMPARE(list->topLevelItem(2)->text(1), QString("-3"));
    QCOMPARE(list->topLevelItem(0)->text(2), QString("\"C:\\Apps A\\alpha.exe\" -x"));
    QCOMPARE(view->ProgressLine()->text(), QString("Waiting to run applications..."));
    QCOMPARE(view->Progress()->text(), QString("0%"));
    QVERIFY(view->ExitButton()->isHidden());
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(list->topLevelItem(i)->checkState(0), Qt::Checked);
        QCOMPARE(IconKey(list->topLevelItem(i)), StateKey("unticked"));
    }

    // The user passes over the second application before its turn.
    list->setFocus();
    list->setCurrentItem(list->topLevelItem(1));
    QTest::keyClick(list->viewport(), Qt::Key_Space);
    QVERIFY(!model.rows[1].ticked);

    QVERIFY(AdvanceList(t.s.model.events, model));
    QCOMPARE(view->ProgressLine()->text(), QString("alpha.exe - 1 out of 3"));
    QCOMPARE(view->Progress()->value(), 33);
    QCOMPARE(view->Progress()->text(), QString("33%"));
    QCOMPARE(IconKey(list->topLevelItem(0)), StateKey("ticked"));
    QCOMPARE(list->currentItem(), list->topLevelItem(0));

    QVERIFY(!AdvanceList(t.s.model.events, model));
    QCOMPARE(view->ProgressLine()->text(), QString("beta.exe - 2 out of 3"));
    QCOMPARE(view->Progress()->text(), QString("67%"));
    QCOMPARE(IconKey(list->topLevelItem(1)), StateKey("skip"));
    QCOMPARE(list->topLevelItem(1)->checkState(0), Qt::Unchecked);

    QVERIFY(AdvanceList(t.s.model.events, model));
    QCOMPARE(view->ProgressLine()->text(), QString("gamma.exe - 3 out of 3"));
    QCOMPARE(view->Progress()->value(), 100);
    QCOMPARE(view->Progress()->text(), QString("100%"));

    QVERIFY(view->Cpu()->isHidden());
    ShowCPU(t.s.model.events, model, 42);
    QVERIFY(!view->Cpu()->isHidden());
    QCOMPARE(view->Cpu()->value(), 42);
    QCOMPARE(view->Cpu()->text(), QString("CPU 42%"));
}

void DelayedWindowTest::hideAndCloseBoxOnlyHideTheWindow() {
    GuiSession t;
    DelayedWindow model;
    model.exitButtonVisible = true;
    t.fe.AttachDelayedWindow(model);
    FillDelayedWindow(t.s.model.events, model, {{1, "C:\\A\\a.exe", ""}});
    ui::DelayedWindowView* view = t.fe.DelayedView();
    QVERIFY(view->ExitButton()->isVisible());
    QTest::mouseClick(view->HideButton(), Qt::LeftButton);
    QVERIFY(!view->isVisible());
    QVERIFY(!model.visible);

    ShowDelayedWindow(t.s.model.events, model);
    QVERIFY(view->isVisible());
    view->close();
    QVERIFY(!view->isVisible());
    QVERIFY(!model.visible);
    QVERIFY(!t.fe.QuitRequested());

    ShowDelayedWindow(t.s.model.events, model);
    QTest::mouseClick(view->ExitButton(), Qt::LeftButton);
    QVERIFY(t.fe.QuitRequested());
}

void DelayedWindowTest::theWindowOpensCentredAndStaysWhereTheUserPutsIt() {
    GuiSession t;
    DelayedWindow model;
    t.fe.AttachDelayedWindow(model);
    FillDelayedWindow(t.s.model.events, model, {{5, "C:\\A\\alpha.exe", ""}});
    ui::DelayedWindowView* view = t.fe.DelayedView();
    QVERIFY(view->isVisible());
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    QVERIFY2((view->frameGeometry().center() - centre).manhattanLength() <= 2,
             qPrintable(QString("centre at %1,%2")
                            .arg(view->frameGeometry().center().x())
                            .arg(view->frameGeometry().center().y())));

    view->move(20, 30);
    HideDelayedWindow(t.s.model.events, model);
    FillDelayedWindow(t.s.model.events, model, {{5, "C:\\A\\alpha.exe", ""}});
    QCOMPARE(view->pos(), QPoint(20, 30));
}

QTEST_MAIN(DelayedWindowTest)
#include "DelayedWindowTest.moc"
