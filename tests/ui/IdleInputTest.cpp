// The idle settings typed into the desktop's input boxes: a value outside its range is refused
// with the range and changes nothing, on screen or in settings.ini.

#include <QAction>
#include <QTest>

#include "GuiSession.h"
#include "support/TestMachine.h"
#include "ui/MainMenus.h"

using namespace kestrune;
using kestrune::test::GuiSession;

class IdleInputTest : public QObject {
    Q_OBJECT
private slots:
    void lettersAsTheThresholdAreRefusedWithTheRange();
    void secondsOutsideTheRangeKeepTheThresholdTooAndAcceptedOnesAreSaved();
};

void IdleInputTest::lettersAsTheThresholdAreRefusedWithTheRange() {
    GuiSession t;
    QVERIFY(t.Start());
    t.seam().input = {"abc"};
    t.window().Menus().setIdle->trigger();
    QCOMPARE(t.seam().prompts.size(), size_t{1});
    QCOMPARE(t.seam().messages.size(), size_t{1});
    QCOMPARE(QString::fromStdString(t.seam().messages[0].text),
             QString("The CPU threshold must be a whole number from 1 to 100 (percent).\r\n"
                     "The idle settings have not been changed."));
    QCOMPARE(t.s.options.idleThreshold, std::int16_t{20});
    QCOMPARE(t.s.options.idleSeconds, std::int16_t{5});
}

void IdleInputTest::secondsOutsideTheRangeKeepTheThresholdTooAndAcceptedOnesAreSaved() {
    GuiSession t;
    QVERIFY(t.Start());
    t.seam().input = {"35", "-1"};
    t.window().Menus().setIdle->trigger();
    QCOMPARE(t.seam().messages.size(), size_t{1});
    QCOMPARE(t.s.options.idleThreshold, std::int16_t{20});

    t.seam().input = {"35", "12"};
    t.window().Menus().setIdle->trigger();
    QCOMPARE(t.seam().messages.size(), size_t{1});
    QVERIFY(t.app.Shutdown(CloseReason::Code));
    const std::string ini = test::ReadText(t.s.paths.iniPath);
    QVERIFY2(ini.find("Idle threshold=35\r\nIdle seconds=12\r\n") != std::string::npos, ini.c_str());
}

QTEST_MAIN(IdleInputTest)
#include "IdleInputTest.moc"
