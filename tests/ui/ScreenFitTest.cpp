// The main window on the screens it meets: never larger than the screen it opens on, never
// opened where no screen shows it. Run once on the default screen and once on a 1366x768 screen
// at 175 % (see CMakeLists.txt).

#include <QApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "GuiSession.h"
#include "ui/ScreenFit.h"

using namespace kestrune;
using kestrune::test::GuiSession;

class ScreenFitTest : public QObject {
    Q_OBJECT
private slots:
    void fittingKeepsTheWindowOnItsScreen_data();
    void fittingKeepsTheWindowOnItsScreen();
    void thePositionIsTakenFromTheScreenShowingMost();
    void theWindowOpensWhollyOnItsScreen();
    void aStoredPositionOffEveryScreenIsCentredAndFitted();
    void aStoredSizeLargerThanTheScreenIsFitted();
    void theAboutButtonsAreWholeAndInSight();
};

namespace {

// The frame of a window on Windows at 100 %: title bar and borders.
const QMargins kFrame(8, 31, 8, 8);

void StorePosition(GuiSession& t, const QRect& bounds) {
    constexpr int twips = ui::kTwipsPerPixel;
    test::WriteText(t.machine.appFolder + "settings.ini",
                    "[Position]\r\nWindow state=0\r\nTop=" + std::to_string(bounds.y() * twips) + "\r\nLeft=" +
                        std::to_string(bounds.x() * twips) + "\r\nWidth=" + std::to_string(bounds.width() * twips) +
                        "\r\nHeight=" + std::to_string(bounds.height() * twips) + "\r\nLast tab=4\r\n");
}

QRect Available(const QWidget& window) { return window.screen()->availableGeometry(); }

}  // namespace

void ScreenFitTest::fittingKeepsTheWindowOnItsScreen_data() {
    QTest::addColumn<QRect>("client");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QRect>("fitted");
    // 1366x768 at 175 %: 780x438 device-independent pixels, less the taskbar.
    QTest::newRow("175 % laptop, centred design size")
        << QRect(0, -52, 780, 520) << QRect(0, 0, 780, 416) << QRect(8, 31, 764, 377);
    QTest::newRow("full HD at 100 %: left as it is")
        << QRect(570, 250, 780, 520) << QRect(0, 0, 1920, 1040) << QRect(570, 250, 780, 520);
    QTest::newRow("hanging off the right and bottom")
        << QRect(1700, 900, 600, 400) << QRect(0, 0, 1920, 1040) << QRect(1312, 632, 600, 400);
    QTest::newRow("above and left of a second screen")
        << QRect(1800, -200, 700, 500) << QRect(1920, 0, 1280, 984) << QRect(1928, 31, 700, 500);
    QTest::newRow("a screen smaller than the window's least size")
        << QRect(0, 0, 520, 340) << QRect(0, 0, 400, 300) << QRect(8, 31, 384, 261);
}

void ScreenFitTest::fittingKeepsTheWindowOnItsScreen() {
    QFETCH(QRect, client);
    QFETCH(QRect, area);
    QFETCH(QRect, fitted);
    const QRect result = ui::FitIntoArea(client, kFrame, area);
    QCOMPARE(result, fitted);
    QVERIFY(area.contains(result.marginsAdded(kFrame)));
    // Centring gives a window that fits as well, the same distance from either side.
    const QRect centred = ui::CentreInArea(client.size(), kFrame, area);
    QVERIFY(area.contains(centred.marginsAdded(kFrame)));
    const QRect outer = centred.marginsAdded(kFrame);
    QVERIFY(qAbs((outer.left() - area.left()) - (area.right() - outer.right())) <= 1);
    QVERIFY(qAbs((outer.top() - area.top()) - (area.bottom() - outer.bottom())) <= 1);
}

void ScreenFitTest::thePositionIsTakenFromTheScreenShowingMost() {
    const QList<QRect> screens = {QRect(0, 0, 1920, 1040), QRect(1920, 0, 1280, 984)};
    QCOMPARE(ui::AreaShowingMost(QRect(100, 100, 780, 520), kFrame, screens), 0);
    QCOMPARE(ui::AreaShowingMost(QRect(1800, 100, 780, 520), kFrame, screens), 1);
    // The second monitor unplugged: its windows are off every screen left.
    QCOMPARE(ui::AreaShowingMost(QRect(2200, 100, 780, 520), kFrame, {screens[0]}), -1);
    QCOMPARE(ui::AreaShowingMost(QRect(-3000, -2000, 780, 520), kFrame, screens), -1);
}

void ScreenFitTest::theWindowOpensWhollyOnItsScreen() {
    GuiSession t;
    QVERIFY(t.Start());
    const QRect area = Available(t.window());
    QVERIFY2(area.contains(t.window().frameGeometry()), qPrintable(QString("window %1,%2 %3x%4 on %5x%6")
                                                                       .arg(t.window().frameGeometry().x())
                                                                       .arg(t.window().frameGeometry().y())
                                                                       .arg(t.window().frameGeometry().width())
                                                                       .arg(t.window().frameGeometry().height())
                                                                       .arg(area.width())
                                                                       .arg(area.height())));
    qInfo() << "screen" << area << "window" << t.window().frameGeometry();
    QMenuBar* bar = t.window().menuBar();
    QVERIFY(area.contains(QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size())));

    // "Reset window size && position" keeps to the screen as well.
    t.window().resize(400, 300);
    t.window().Menus().resetWindow->trigger();
    QApplication::processEvents();
    QVERIFY(area.contains(t.window().frameGeometry()));
}

void ScreenFitTest::aStoredPositionOffEveryScreenIsCentredAndFitted() {
    GuiSession t;
    QRect desktop;
    for (const QScreen* screen : QGuiApplication::screens()) desktop |= screen->geometry();
    StorePosition(t, QRect(desktop.right() + 200, desktop.bottom() + 100, 640, 400));
    QVERIFY(t.Start());
    const QRect area = Available(t.window());
    const QRect frame = t.window().frameGeometry();
    QVERIFY(area.contains(frame));
    QVERIFY(qAbs(frame.center().x() - area.center().x()) <= 1);
    QVERIFY(qAbs(frame.center().y() - area.center().y()) <= 1);
    QCOMPARE(t.window().size(), QSize(640, 400).boundedTo(area.size()));
}

void ScreenFitTest::aStoredSizeLargerThanTheScreenIsFitted() {
    GuiSession t;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // Kept from a bigger monitor, a little left of and above this one.
    StorePosition(t, QRect(screen.x() - 50, screen.y() - 20, screen.width() + 400, screen.height() + 300));
    QVERIFY(t.Start());
    const QRect area = Available(t.window());
    QVERIFY(area.contains(t.window().frameGeometry()));
    QVERIFY(t.window().width() > area.width() - 40);
    QVERIFY(t.window().height() > area.height() - 80);
}

// On the small screen at 175 % the About texts scroll; the buttons below them must not scroll
// away with them, and each keeps room beside its caption.
void ScreenFitTest::theAboutButtonsAreWholeAndInSight() {
    GuiSession t;
    QVERIFY(t.Start());
    t.window().ShowTab(1);
    QApplication::processEvents();
    for (const char* name : {"cmdWebsite", "cmdContactForm", "cmdDonate", "cmdHelp"}) {
        auto* button = t.window().findChild<QPushButton*>(name);
        QVERIFY2(button, name);
        const QRect shown = button->visibleRegion().boundingRect();
        QVERIFY2(shown == button->rect(), qPrintable(QString("%1: %2x%3 of %4x%5 in sight")
                                                         .arg(name)
                                                         .arg(shown.width())
                                                         .arg(shown.height())
                                                         .arg(button->width())
                                                         .arg(button->height())));
        const QRect inWindow(button->mapTo(&t.window(), QPoint(0, 0)), button->size());
        QVERIFY(t.window().rect().contains(inWindow));
        const QFontMetrics metrics = button->fontMetrics();
        QVERIFY(button->width() >=
                metrics.horizontalAdvance(button->text().remove('&')) + 2 * metrics.averageCharWidth());
    }
}

QTEST_MAIN(ScreenFitTest)
#include "ScreenFitTest.moc"
