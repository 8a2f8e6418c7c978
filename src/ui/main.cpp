// The desktop program: the Qt front end over the application, on this machine's platform.

#include <QApplication>
#include <QStringList>

#include "platform/Platform.h"
#include "session/Application.h"
#include "ui/IconStore.h"
#include "ui/QtFrontEnd.h"
#include "ui/QtTimers.h"
#include "ui/Screenshots.h"

namespace {
constexpr const char* kExitWhenLoadedVariable = "KESTRUNE_EXIT_WHEN_LOADED";
}

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
    frontEnd.AttachDelayedWindow(app.delayed().window);

    QStringList arguments = QApplication::arguments();
    if (!arguments.isEmpty()) arguments.removeFirst();
    // The tables come first; their icons follow once the window answers input.
    app.DeferIcons();
    if (!app.Startup(arguments.join(' ').toStdString())) return 0;
    if (frontEnd.QuitRequested()) return 0;
    // For the start-up benchmark: end as soon as loading has finished, leaving every file as it was.
    if (qEnvironmentVariableIsSet(kExitWhenLoadedVariable)) return 0;

    frontEnd.ShowAfterStartup();
    frontEnd.StartIconFill();
    if (const QString folder = qEnvironmentVariable(kestrune::ui::kScreenshotsVariable); !folder.isEmpty()) {
        kestrune::ui::ScheduleScreenshots(app, frontEnd, folder);
    }
    return QApplication::exec();
}
