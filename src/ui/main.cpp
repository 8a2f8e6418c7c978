// The desktop program: the Qt front end over the application, on this machine's platform.

#include <QApplication>
#include <QStringList>

#include "app/session/Application.h"
#include "platform/Platform.h"
#include "ui/IconStore.h"
#include "ui/MainWindow.h"
#include "ui/QtFrontEnd.h"
#include "ui/QtTimers.h"
#include "ui/Screenshots.h"

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    // The window hides into the tray without ending the program; Exit ends it.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(kestrune::ui::IconStore::AppIcon());

    auto platform = kestrune::platform::CreatePlatform();
    kestrune::SystemClock clock;
    kestrune::ui::QtTimers timers;
    kestrune::ui::QtFrontEnd frontEnd;
    kestrune::Application app(*platform, frontEnd, clock, timers);
    frontEnd.Attach(app);

    QStringList arguments = QApplication::arguments();
    if (!arguments.isEmpty()) arguments.removeFirst();
    if (!app.Startup(arguments.join(' ').toStdString())) return 0;
    if (frontEnd.QuitRequested()) return 0;

    kestrune::ui::MainWindow& window = frontEnd.Window();
    window.ApplyStoredPosition();
    if (!app.state().inTray) {
        if (frontEnd.MinimiseOnShow()) window.showMinimized();
        else window.show();
    }
    if (const QString folder = qEnvironmentVariable(kestrune::ui::kScreenshotsVariable); !folder.isEmpty()) {
        kestrune::ui::ScheduleScreenshots(app, frontEnd, folder);
    }
    return QApplication::exec();
}
