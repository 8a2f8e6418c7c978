#pragma once
// The main window's menus: the menu bar (File, Action, Options, Profiles), the lists' context
// menu ("Table Menu") and the tray's menu ("System Tray"), with every command connected to the
// application.

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include <QObject>
#include <QString>

#include "session/Identify.h"
#include "session/MainWindowRules.h"

class QAction;
class QMenu;
class QMenuBar;

namespace kestrune {
class Application;
}

namespace kestrune::ui {

// An entry's caption as its menu shows it: the "&" that marks its keyboard letter left out
// ("&&", one ampersand shown, stays as it is).
QString ShownCaption(const QAction& action);
// The caption with an "&" before the letter that opens it from the keyboard: the first letter
// of a word not yet taken in `menu`, else any free letter or digit. The caption shown stays the
// same; only the letter is underlined.
QString WithMnemonic(const QString& caption, const QWidget* menu);

// The table a window shows and the rows its list has selected, ascending positions.
struct ListSelection {
    TableKind kind;
    std::vector<int> rows;
};
// The window's selection at the moment a Table Menu entry is chosen; nothing on the About tab.
using SelectionSource = std::function<std::optional<ListSelection>()>;

struct MainMenus {
    // Menu bar
    QMenu* file = nullptr;
    QMenu* action = nullptr;
    QMenu* options = nullptr;
    QAction* profiles = nullptr;
    QMenu* deleteDuplicates = nullptr;
    QMenu* recordItems = nullptr;
    QAction* deleteUnticked = nullptr;
    QAction* refresh = nullptr;
    QAction* importEntries = nullptr;  // "Import from Startup Control Panel"
    QAction* runDelayed = nullptr;
    QAction* sendToTray = nullptr;
    QAction* monitor = nullptr;
    QAction* stopDelayed = nullptr;
    QAction* allIdle = nullptr;
    QAction* resetWindow = nullptr;
    // Options, in menu order, then "Set idle settings".
    std::vector<QAction*> optionItems;
    QAction* setIdle = nullptr;

    // Table Menu
    QMenu* table = nullptr;
    QMenu* identify = nullptr;
    std::vector<QAction*> search;
    QAction* newItem = nullptr;
    QAction* deleteItems = nullptr;
    QAction* toggle = nullptr;
    QAction* edit = nullptr;
    QAction* run = nullptr;
    QMenu* copy = nullptr;
    QAction* recordSetting = nullptr;
    QMenu* tick = nullptr;
    QAction* tickSelected = nullptr;
    QAction* untickSelected = nullptr;
    QMenu* moveTo = nullptr;
    std::vector<QAction*> move;
    QAction* moveBackSeparator = nullptr;
    QAction* moveBack = nullptr;
    QAction* openContainer = nullptr;
    QMenu* priority = nullptr;
    std::vector<QAction*> priorities;
    QAction* endProcess = nullptr;

    // System Tray
    QMenu* sysTray = nullptr;
    QAction* restore = nullptr;

    // Builds every menu; the bar's go onto `bar`, the others are owned by `owner`. The Table
    // Menu's entries act on what `selection` gives when they are chosen.
    void Build(QMenuBar* bar, QWidget* owner, Application& app, std::function<void()> resetWindowSize,
               SelectionSource selection);
    // The Options and Action check marks from the options; the Run delayed caption.
    void SyncChecks(Application& app);
    // Enables or hides the Table Menu's entries for a table and selection.
    void PrepareTableMenu(Application& app, TableKind kind, const std::vector<int>& selected);
    void SetControlsEnabled(bool enabled, bool runDelayedEnabled, const TabRules& tab);

private:
    // Build's parts, a menu each, in the bar's order.
    void BuildFileMenu(QMenuBar* bar, Application& app);
    void BuildActionMenu(QMenuBar* bar, QWidget* owner, Application& app, std::function<void()> resetWindowSize);
    void BuildOptionsMenu(QMenuBar* bar, Application& app);
    void BuildTableMenu(QWidget* owner, Application& app, SelectionSource selection);
    void BuildTrayMenu(QWidget* owner, Application& app);
};

}  // namespace kestrune::ui
