#pragma once
// The main window: the tab strip with the About panel and one list per table, the summary and
// status lines, and the menus. Commands go to the Application; the window only shows its state.

#include <array>
#include <optional>
#include <set>
#include <vector>

#include <QMainWindow>

#include "app/ModelObserver.h"
#include "app/TableKind.h"
#include "ui/ListView.h"
#include "ui/MainMenus.h"

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMargins;
class QRect;
class QTabBar;
class QTabWidget;
class QTableView;
class QTimer;

namespace kestrune {
class Application;
}

namespace kestrune::ui {

class IconStore;
class RowFilter;
class TableModel;

inline constexpr int kTwipsPerPixel = 15;

// Follows the model by itself: a table's rows changing brings its list (columns and status
// counts) up to date on the next turn of the event loop; busy work disables the controls.
class MainWindow final : public QMainWindow, public ModelObserver {
    Q_OBJECT
public:
    MainWindow(Application& app, const IconStore& icons);

    // Selects a tab (1 = About) and runs its click handling.
    void ShowTab(int tab);
    void SetStatus(const QString& text);
    std::vector<int> SelectedRows(TableKind kind) const;
    // The current table and the rows its list has selected; nothing on the About tab.
    std::optional<ListSelection> CurrentSelection() const;
    void FitColumns(TableKind kind);
    void RowsChanged(TableKind kind) override;
    void BusyChanged(const BusyState& busy) override;
    void CentreWindow();
    // "Reset window size && position".
    void ResetWindowSize();
    // Puts the window where "Position" says, once the options have been read.
    void ApplyStoredPosition();
    // Remembers the window's state and bounds in the options (not while minimised or loading).
    void RememberPosition();
    // At shut-down: the bounds the window has when shown normally, whatever its state now.
    void RememberBoundsAtExit();
    // Lets the next close through: the shut-down sequence has run.
    void AllowClose() { closing_ = true; }
    // Brings every list up to date with its table.
    void SyncTables();
    // Brings one list up to date with its table, keeping the selection on the same rows.
    void SyncTable(TableKind kind);
    // Fills in the row icons that start-up left out and the publishers, a few rows per turn of
    // the event loop so that input is never held up, the rows in sight first. Ends the icon
    // deferral.
    void StartIconFill();
    bool IconFillRunning() const;
    // True once the window manager's frame is known and the window has been moved, where it
    // had to be, so that the frame too is on the screen.
    bool FramePlaced() const { return framePlaced_; }

    QTableView* View(TableKind kind) const { return views_[static_cast<size_t>(Number(kind) - 1)]; }
    TableModel* Model(TableKind kind) const { return models_[static_cast<size_t>(Number(kind) - 1)]; }
    // What the list of `kind` shows of its table.
    RowFilter* Filter(TableKind kind) const;
    QLineEdit* FilterBox() const { return filter_; }
    // "n of m shown" while a filter is typed, else empty.
    QLabel* FilterCount() const { return filterCount_; }
    QTabBar* Tabs() const;
    QTabWidget* TabWidget() const { return tabs_; }
    QLabel* Summary() const { return summary_; }
    QLabel* Status() const { return status_; }
    MainMenus& Menus() { return menus_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnTabChanged(int index);
    void ApplyTabRules(int tab);
    void ShowTableMenu(TableKind kind, const QPoint& where);
    // The context-menu key and Shift+F10: the menu at the selected row, its first entry active.
    void ShowTableMenuFromKeyboard(TableKind kind);
    // Keys that act on their press in a list; true when taken (so the list's own search for a
    // row starting with the key's letter never moves the selection first).
    bool OnKeyPressed(TableKind kind, const QKeyEvent& key);
    void OnKeyReleased(TableKind kind, int key, Qt::KeyboardModifiers modifiers);
    // Space: every selected row takes the opposite of the focused row's tick, each through the
    // command a click on its box runs.
    void ToggleSelectedTicks(TableKind kind);
    // F10: the menu bar in keyboard mode, its first menu highlighted, as Alt alone does.
    void EnterMenuBar();
    // Typing in the filter: the first tab with a match is offered when this one has none.
    void OfferTabWithMatch();
    void ScheduleSync();
    void FillIconSlice();
    // The fill from the first table's first row, the rows in sight first.
    void RestartFill();
    // The window's parts, built in this order by the constructor: the tabs with a list for each
    // table, the filter row above them (it needs the lists), the menus, then the keys.
    void AddTabs(QWidget* central, const IconStore& icons);
    void AddList(TableKind kind, const IconStore& icons);
    QHBoxLayout* AddFilterRow(QWidget* central);
    void AddMenus();
    void AddKeys();
    // To the next (1) or previous (-1) tab, round the end.
    void StepTab(int step);
    // The filter's count and the lists' empty texts, after the filter or the rows changed.
    void ShowFilterState();
    // Keys typed in the filter box that lead back to the list; true when taken.
    bool OnFilterKey(int key);
    QMargins FrameMargins();
    // Puts the window (without its frame) at `client`, letting a small screen lower its least size.
    void PlaceWindow(const QRect& client);
    // A window manager that draws the frame tells its size only once the window is on the
    // screen; then the window is moved (and shrunk) until the frame fits as well.
    void KeepFrameOnScreen();

    Application& app_;
    MainMenus menus_;
    QTabWidget* tabs_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* status_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QLabel* filterCount_ = nullptr;
    std::array<ListView*, kTableCount> views_{};
    std::array<TableModel*, kTableCount> models_{};
    std::array<RowFilter*, kTableCount> filters_{};
    QSize designSize_;
    bool controlsEnabled_ = true;
    bool listHadFocus_ = false;  // a list had the focus when busy work disabled the lists
    bool closing_ = false;
    bool applicationQuitting_ = false;
    bool syncScheduled_ = false;
    std::set<int> keysPressedInList_;
    QTimer* iconFill_ = nullptr;
    QTimer* frameWatch_ = nullptr;
    int frameLooks_ = 0;
    bool framePlaced_ = false;
    size_t fillTable_ = 0;                  // index into kAllTables of the table being filled
    int fillNext_ = 1;                      // its next position
    std::optional<TableKind> inSightDone_;  // the table whose rows in sight came first
};

}  // namespace kestrune::ui
