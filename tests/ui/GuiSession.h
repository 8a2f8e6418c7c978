#pragma once
// One desktop session for a GUI test: a temporary emulated machine, the Qt front end with its
// dialog seam answering for the user, manual timers, and helpers that click as a user would.

#include <QPoint>
#include <QStringList>

#include "session/Application.h"
#include "support/RecordingPlatform.h"
#include "support/ScriptedFrontEnd.h"
#include "support/TestMachine.h"
#include "ui/MainWindow.h"
#include "ui/QtFrontEnd.h"

class QAction;
class QMenu;
class QTableView;

namespace kestrune::test {

struct GuiSession {
    GuiSession();
    ~GuiSession();

    TestMachine machine;
    RecordingPlatform platform{*machine.platform};
    FixedClock clock;
    ManualTimers timers{clock};
    ui::QtFrontEnd fe;
    Application app{platform, fe, clock, timers};
    MainState& s = app.state();
    ui::MainWindow& window();
    ui::DialogSeam& seam() { return fe.Seam(); }

    // Runs the start-up sequence and shows the window.
    bool Start(const std::string& commandLine = "");
    // Clicks the tab with this caption.
    void ClickTab(const QString& caption);
    QTableView* View(TableKind kind);
    // Clicks a row's cell (1-based position), selecting it alone.
    void ClickRow(TableKind kind, int position);
    // Right-clicks the list and answers the visible entries of the context menu that popped up.
    QStringList RightClickMenu(TableKind kind);
    void ClickHeader(TableKind kind, int column);
    // Once the menus are closed: the offscreen platform leaves a closed menu's window active,
    // where a desktop gives the activation back to the main window.
    void Reactivate();
};

// The visible entries of a menu as they read (without the "&" of their keyboard letter),
// separators left out.
QStringList VisibleTexts(const QMenu& menu);
QStringList AllTexts(const QMenu& menu);
QAction* ActionNamed(const QMenu& menu, const QString& text);
// The table's texts of one column, top to bottom.
QStringList Column(const Table& table, int column);

}  // namespace kestrune::test
