#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

#include "app/Table.h"
#include "locations/Publishers.h"
#include "locations/Scanning.h"
#include "session/Application.h"
#include "session/MainWindowRules.h"
#include "ui/AboutPanel.h"
#include "ui/IconStore.h"
#include "ui/ListTexts.h"
#include "ui/ListView.h"
#include "ui/RowFilter.h"
#include "ui/ScreenFit.h"
#include "ui/TableModel.h"

namespace kestrune::ui {

namespace {

constexpr QSize kDesignSize(780, 520);
constexpr QSize kMinimumSize(520, 340);
constexpr const char* kFilterPlaceholder = "Filter by name or path (Ctrl+F)";

QLabel* Line(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    label->setContentsMargins(4, 1, 4, 1);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// Alt alone and F10 reach the menu bar, as on Windows; other styles leave the bar to the mouse.
class MenuKeysStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_MenuBar_AltKeyNavigation) return 1;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

QString TabText(int tab, const RowFilter* rows) {
    const QString caption = QString::fromStdString(TabCaptionOf(tab));
    if (!rows || !rows->Active()) return caption;
    return QString("%1 (%2)").arg(caption).arg(rows->rowCount());
}

}  // namespace

MainWindow::MainWindow(Application& app, const IconStore& icons) : app_(app), designSize_(kDesignSize) {
    setObjectName("frmMain");
    setWindowIcon(IconStore::AppIcon());
    resize(kDesignSize);
    setMinimumSize(kMinimumSize);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 4);
    layout->setSpacing(4);
    AddTabs(central, icons);
    layout->addWidget(tabs_, 1);
    // Above the tabs, but after the lists in the focus chain: the window opens with a list to
    // type into, not the filter.
    layout->insertLayout(0, AddFilterRow(central));
    summary_ = Line(central, "txtSummary");
    status_ = Line(central, "txtStatus");
    layout->addWidget(summary_);
    layout->addWidget(status_);
    setCentralWidget(central);

    AddMenus();
    AddKeys();

    // The core changes tables from many places; the lists catch up on the next turn of the loop.
    // The window lives as long as the front end, which outlives the application.
    app.state().model.events.Attach(*this);
    if (QCoreApplication::instance()) QCoreApplication::instance()->installEventFilter(this);
    ApplyTabRules(1);
    ShowFilterState();
}

void MainWindow::AddTabs(QWidget* central, const IconStore& icons) {
    tabs_ = new QTabWidget(central);
    tabs_->setObjectName("tabMain");
    tabs_->setDocumentMode(false);
    tabs_->addTab(new AboutPanel(app_.state(), app_.frontEnd(), tabs_), QString::fromStdString(TabCaptionOf(1)));
    for (TableKind kind : kAllTables) AddList(kind, icons);
    connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::OnTabChanged);
}

void MainWindow::AddList(TableKind kind, const IconStore& icons) {
    auto* view = new ListView(tabs_);
    view->setObjectName(QString("lvMulti%1").arg(Number(kind)));
    auto* model = new TableModel(app_.state().model.tables[kind], icons, view);
    auto* rows = new RowFilter(model, view);
    view->setModel(rows);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSortingEnabled(false);
    view->setShowGrid(false);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    view->setIconSize(QSize(16, 16));
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setStretchLastSection(true);
    view->horizontalHeader()->setSectionsClickable(true);
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    view->installEventFilter(this);

    connect(model, &TableModel::tickRequested, this,
            [this](TableKind k, int position, bool ticked) { app_.OnRowTickChanged(k, position, ticked); });
    connect(view->horizontalHeader(), &QHeaderView::sectionClicked, this, [this, kind, model](int column) {
        app_.SortByColumn(kind, column);
        model->Reset();
    });
    connect(view, &QTableView::customContextMenuRequested, this,
            [this, kind, view](const QPoint& at) { ShowTableMenu(kind, view->viewport()->mapToGlobal(at)); });
    connect(view, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (!index.isValid()) return;
        if (const auto chosen = CurrentSelection()) app_.Identify(chosen->kind, chosen->rows, 0);
    });

    // Rows come and go under the filter as the table changes.
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
        connect(rows, signal, this, [this] { ShowFilterState(); });
    }
    connect(rows, &QAbstractItemModel::modelReset, this, [this] { ShowFilterState(); });
    connect(rows, &QAbstractItemModel::layoutChanged, this, [this] { ShowFilterState(); });

    views_[static_cast<size_t>(Number(kind) - 1)] = view;
    models_[static_cast<size_t>(Number(kind) - 1)] = model;
    filters_[static_cast<size_t>(Number(kind) - 1)] = rows;
    tabs_->addTab(view, QString::fromStdString(TabCaptionOf(Number(kind) + 1)));
}

QHBoxLayout* MainWindow::AddFilterRow(QWidget* central) {
    auto* filterRow = new QHBoxLayout;
    filter_ = new QLineEdit(central);
    filter_->setObjectName("txtFilter");
    filter_->setPlaceholderText(kFilterPlaceholder);
    filter_->setClearButtonEnabled(true);
    filter_->setMaximumWidth(360);
    filter_->installEventFilter(this);
    connect(filter_, &QLineEdit::textChanged, this, [this](const QString& text) {
        for (RowFilter* rows : filters_) rows->SetText(text);
        ShowFilterState();
        OfferTabWithMatch();
    });
    filterRow->addWidget(filter_, 1);
    filterCount_ = new QLabel(central);
    filterCount_->setObjectName("lblFilterCount");
    filterRow->addWidget(filterCount_);
    filterRow->addStretch(1);
    return filterRow;
}

void MainWindow::AddMenus() {
    menus_.Build(
        menuBar(), this, app_, [this] { ResetWindowSize(); }, [this] { return CurrentSelection(); });
    auto* menuKeys = new MenuKeysStyle;
    menuKeys->setParent(menuBar());
    menuBar()->setStyle(menuKeys);
}

void MainWindow::AddKeys() {
    auto key = [this](const QList<QKeySequence>& keys, auto onPress) {
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, onPress);
        addAction(action);
        return action;
    };
    key({QKeySequence(Qt::Key_F10)}, [this] { EnterMenuBar(); });
    key({QKeySequence::Find}, [this] {
        filter_->setFocus(Qt::ShortcutFocusReason);
        filter_->selectAll();
    });
    // The table menu shows Ctrl+N but, as a menu of no bar, cannot take it while it is closed.
    key({QKeySequence(Qt::CTRL | Qt::Key_N)}, [this] {
        if (controlsEnabled_ && app_.state().CurrentKind()) app_.NewItem();
    });
    key({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, [this] { StepTab(1); });
    key({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), QKeySequence(Qt::CTRL | Qt::Key_Backtab),
         QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
        [this] { StepTab(-1); });
}

void MainWindow::StepTab(int step) {
    // While a delayed run holds the tab strip, so do its keys.
    if (!tabs_->tabBar()->isEnabled()) return;
    const int count = tabs_->count();
    tabs_->setCurrentIndex((tabs_->currentIndex() + step + count) % count);
    if (const auto kind = TableFromNumber(tabs_->currentIndex())) View(*kind)->setFocus(Qt::TabFocusReason);
}

void MainWindow::EnterMenuBar() {
    // The bar switches to its keyboard mode on an Alt pressed and released alone; F10 says
    // the same to it.
    QKeyEvent press(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(this, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(this, &release);
}

RowFilter* MainWindow::Filter(TableKind kind) const { return filters_[static_cast<size_t>(Number(kind) - 1)]; }

void MainWindow::OfferTabWithMatch() {
    const QString text = filter_->text().trimmed();
    const auto current = TableFromNumber(tabs_->currentIndex());
    if (text.isEmpty() || (current && Filter(*current)->rowCount() > 0) || !tabs_->tabBar()->isEnabled()) return;
    for (TableKind kind : kAllTables) {
        if (Filter(kind)->rowCount() == 0) continue;
        tabs_->setCurrentIndex(Number(kind));
        return;
    }
}

void MainWindow::ShowFilterState() {
    if (!filter_) return;  // rows announced while the window is being built
    const QString text = filter_->text().trimmed();
    for (TableKind kind : kAllTables) {
        const bool hidden = !text.isEmpty() && Model(kind)->rowCount() > 0;
        views_[static_cast<size_t>(Number(kind) - 1)]->SetPlaceholder(hidden ? NoMatchText(text)
                                                                             : EmptyTableText(kind));
        // Each tab says how many of its rows match, so that a match elsewhere is seen.
        tabs_->setTabText(Number(kind), TabText(Number(kind) + 1, Filter(kind)));
    }
    const auto kind = TableFromNumber(tabs_->currentIndex());
    if (text.isEmpty() || !kind) {
        filterCount_->clear();
        return;
    }
    filterCount_->setText(ShownCount(Filter(*kind)->rowCount(), Model(*kind)->rowCount()));
}

QTabBar* MainWindow::Tabs() const { return tabs_->tabBar(); }

void MainWindow::ShowTab(int tab) {
    tab = std::clamp(tab, 1, kTabCount);
    {
        const QSignalBlocker block(tabs_);
        tabs_->setCurrentIndex(tab - 1);
    }
    // The core has already run the tab's click handling; only the view follows.
    ApplyTabRules(tab);
    if (const auto kind = TableFromNumber(tab - 1)) SyncTable(*kind);
    ShowFilterState();
}

void MainWindow::OnTabChanged(int index) {
    const int tab = index + 1;
    app_.SelectTab(tab);
    ApplyTabRules(tab);
    if (const auto kind = TableFromNumber(tab - 1)) SyncTable(*kind);
    ShowFilterState();
}

void MainWindow::ApplyTabRules(int tab) {
    const TabRules rules = RulesForTab(tab);
    summary_->setText(QString::fromStdString(rules.summary));
    menus_.recordItems->menuAction()->setEnabled(controlsEnabled_ && rules.recordItemsEnabled);
    menus_.deleteUnticked->setEnabled(controlsEnabled_ && rules.deleteUntickedEnabled);
}

void MainWindow::SetStatus(const QString& text) { status_->setText(text); }

std::vector<int> MainWindow::SelectedRows(TableKind kind) const {
    std::vector<int> rows;
    const int count = app_.state().model.tables[kind].Count();
    for (const QModelIndex& index : View(kind)->selectionModel()->selectedRows()) {
        const int position = Filter(kind)->PositionOf(index.row());
        if (position >= 1 && position <= count) rows.push_back(position);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::optional<ListSelection> MainWindow::CurrentSelection() const {
    const auto kind = app_.state().CurrentKind();
    if (!kind) return std::nullopt;
    return ListSelection{*kind, SelectedRows(*kind)};
}

void MainWindow::FitColumns(TableKind kind) {
    SyncTable(kind);
    QTableView* view = View(kind);
    view->resizeColumnsToContents();
    // A very long path should not push the other columns out of sight.
    const int widest = std::max(160, view->viewport()->width() * 2 / 3);
    const int pathColumn = PathColumn(kind);
    for (int c = 0; c < view->model()->columnCount(); ++c) {
        // An empty or short list still gets columns a name or a path fits in.
        const int least = c == pathColumn ? 240 : c == 0 ? 160 : 70;
        view->setColumnWidth(c, std::clamp(view->columnWidth(c), least, std::max(least, widest)));
    }
    // Sizing the last column to its contents cancels its stretch to the list's right edge.
    view->horizontalHeader()->setStretchLastSection(false);
    view->horizontalHeader()->setStretchLastSection(true);
}

void MainWindow::SyncTables() {
    syncScheduled_ = false;
    bool rowsCameOrWent = false;
    for (TableKind kind : kAllTables) {
        SyncTable(kind);
        // Rows that came or went may need other widths; edits and sorting keep the user's.
        if (Model(kind)->TakeRowsCameOrWent()) {
            FitColumns(kind);
            rowsCameOrWent = true;
        }
    }
    // New rows (a rescan, an entry another program added) have their icons, but their
    // publishers are read only by the fill: once started, it goes round again from the top.
    if (rowsCameOrWent && iconFill_) RestartFill();
    app_.UpdateTableStatus();
    // A command may change an option as it goes (ticking a delayed row registers the program
    // to start with Windows): the check marks follow at once.
    menus_.SyncChecks(app_);
}

void MainWindow::SyncTable(TableKind kind) {
    TableModel* model = Model(kind);
    if (!model->Stale()) return;
    // The selection follows its rows wherever a sort or a rescan put them; a row that left
    // the table leaves the selection, so that no command hits the row that took its place.
    // The list shows the table through its filter: rows are mapped both ways.
    const RowFilter* filter = Filter(kind);
    QTableView* view = View(kind);
    QItemSelectionModel* selection = view->selectionModel();
    const auto idOf = [&](const QModelIndex& index) { return model->ShownId(filter->mapToSource(index).row()); };
    std::vector<RowId> selected;
    for (const QModelIndex& index : selection->selectedRows()) selected.push_back(idOf(index));
    const RowId current = view->currentIndex().isValid() ? idOf(view->currentIndex()) : 0;
    const int currentColumn = std::max(view->currentIndex().column(), 0);
    model->Sync();
    if (selected.empty() && current == 0) return;
    const Table& table = app_.state().model.tables[kind];
    const auto listIndex = [&](int position, int column) {
        return filter->mapFromSource(model->index(position - 1, column));
    };
    QItemSelection rows;
    for (const RowId id : selected) {
        if (const auto position = table.PositionOf(id)) {
            const QModelIndex index = listIndex(*position, 0);
            if (index.isValid()) rows.select(index, index);
        }
    }
    selection->select(rows, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const auto currentPosition = current ? table.PositionOf(current) : std::nullopt;
    selection->setCurrentIndex(currentPosition ? listIndex(*currentPosition, currentColumn) : QModelIndex(),
                               QItemSelectionModel::NoUpdate);
}

void MainWindow::RowsChanged(TableKind) { ScheduleSync(); }

void MainWindow::ScheduleSync() {
    if (syncScheduled_) return;
    syncScheduled_ = true;
    QTimer::singleShot(0, this, [this] { SyncTables(); });
}

namespace {
// Rows per turn of the event loop: reading a few program files for their checksums and
// icons keeps one turn within a few milliseconds.
constexpr int kIconSlice = 16;
}  // namespace

void MainWindow::StartIconFill() {
    app_.EndIconDeferral();
    if (!iconFill_) {
        iconFill_ = new QTimer(this);
        iconFill_->setInterval(0);
        connect(iconFill_, &QTimer::timeout, this, [this] { FillIconSlice(); });
    }
    RestartFill();
}

void MainWindow::RestartFill() {
    fillTable_ = 0;
    fillNext_ = 1;
    inSightDone_.reset();
    iconFill_->start();
}

bool MainWindow::IconFillRunning() const { return iconFill_ && iconFill_->isActive(); }

void MainWindow::FillIconSlice() {
    MainState& state = app_.state();
    // Whatever tab the user is looking at, its rows in sight get their icons before the rest.
    if (const auto kind = state.CurrentKind(); kind && inSightDone_ != kind) {
        inSightDone_ = kind;
        QTableView* view = View(*kind);
        const RowFilter* rows = Filter(*kind);
        const int top = std::max(0, view->rowAt(0));
        int bottom = view->rowAt(view->viewport()->height() - 1);
        if (bottom < 0) bottom = std::min(top + 2 * kIconSlice, rows->rowCount()) - 1;
        if (bottom >= top) {
            // Under a filter the rows in sight are apart in the table; their span holds them.
            int first = rows->PositionOf(top);
            int last = first;
            for (int row = top + 1; row <= bottom; ++row) {
                first = std::min(first, rows->PositionOf(row));
                last = std::max(last, rows->PositionOf(row));
            }
            ApplyRowIcons(state, *kind, first, last);
            ApplyRowPublishers(state, app_.publishers(), *kind, first, last);
        }
        return;
    }
    while (fillTable_ < kAllTables.size()) {
        const TableKind kind = kAllTables[fillTable_];
        if (fillNext_ > state.model.tables[kind].Count()) {
            ++fillTable_;
            fillNext_ = 1;
            continue;
        }
        ApplyRowIcons(state, kind, fillNext_, fillNext_ + kIconSlice - 1);
        ApplyRowPublishers(state, app_.publishers(), kind, fillNext_, fillNext_ + kIconSlice - 1);
        fillNext_ += kIconSlice;
        return;
    }
    iconFill_->stop();
}

void MainWindow::BusyChanged(const BusyState& busy) {
    const bool wasEnabled = controlsEnabled_;
    if (wasEnabled && busy.controls) {
        // Disabling the list that has the focus sends it on to the filter box; it comes back
        // once the work is done, so that the arrow keys go on moving in the list.
        QWidget* focus = QApplication::focusWidget();
        listHadFocus_ = std::find(views_.begin(), views_.end(), focus) != views_.end();
    }
    controlsEnabled_ = !busy.controls;
    tabs_->tabBar()->setEnabled(controlsEnabled_);
    for (QTableView* view : views_) view->setEnabled(controlsEnabled_);
    menus_.SetControlsEnabled(controlsEnabled_, !busy.runDelayed, RulesForTab(tabs_->currentIndex() + 1));
    if (!wasEnabled && controlsEnabled_ && listHadFocus_) {
        listHadFocus_ = false;
        const QWidget* focus = QApplication::focusWidget();
        const auto kind = TableFromNumber(tabs_->currentIndex());
        if (kind && (!focus || focus == filter_)) View(*kind)->setFocus(Qt::OtherFocusReason);
    }
}

QMargins MainWindow::FrameMargins() {
    // Windows knows the frame as soon as the window exists; systems that add it only when the
    // window is shown count it as none until then.
    if (!windowHandle()) create();
    return windowHandle() ? windowHandle()->frameMargins() : QMargins();
}

void MainWindow::PlaceWindow(const QRect& client) {
    // On a screen smaller than the least size (a small one at a high scale) the screen wins.
    setMinimumSize(kMinimumSize.boundedTo(client.size()));
    setGeometry(client);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (framePlaced_ || frameWatch_) return;
    frameWatch_ = new QTimer(this);
    frameWatch_->setInterval(50);
    connect(frameWatch_, &QTimer::timeout, this, [this] { KeepFrameOnScreen(); });
    frameWatch_->start();
}

namespace {
// How long to wait for a window manager to say how large its frame is (40 looks of 50 ms);
// without one the frame stays unknown.
constexpr int kFrameLooks = 40;
}  // namespace

void MainWindow::KeepFrameOnScreen() {
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (frame.isNull() && ++frameLooks_ < kFrameLooks) return;
    frameWatch_->stop();
    framePlaced_ = true;
    if (frame.isNull() || isMinimized() || isMaximized() || isFullScreen() || !isVisible()) return;
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QRect client = geometry();
    if (area.contains(client.marginsAdded(frame))) return;
    PlaceWindow(FitIntoArea(client, frame, area));
}

void MainWindow::CentreWindow() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    PlaceWindow(CentreInArea(size(), FrameMargins(), screen->availableGeometry()));
}

void MainWindow::ResetWindowSize() {
    showNormal();
    resize(designSize_);
    CentreWindow();
}

void MainWindow::ApplyStoredPosition() {
    const MainState& s = app_.state();
    const WindowPosition& p = s.view.position;
    // Without a size (as written by the console program of earlier versions) the position is
    // no window's: the window stays centred.
    if (!s.view.positionRead || !p.HasBounds()) return;
    const QRect stored(p.left / kTwipsPerPixel, p.top / kTwipsPerPixel,
                       std::max(p.width / kTwipsPerPixel, kMinimumSize.width()),
                       std::max(p.height / kTwipsPerPixel, kMinimumSize.height()));
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) areas << screen->availableGeometry();
    const QMargins frame = FrameMargins();
    // A position that no screen shows any more (a monitor unplugged, a smaller desktop) would
    // open the window where nobody can reach it.
    if (const int shown = AreaShowingMost(stored, frame, areas); shown >= 0) {
        PlaceWindow(FitIntoArea(stored, frame, areas[shown]));
    } else {
        const QScreen* primary = QGuiApplication::primaryScreen();
        if (primary) PlaceWindow(CentreInArea(stored.size(), frame, primary->availableGeometry()));
    }
    if (p.state == 2) setWindowState(windowState() | Qt::WindowMaximized);
}

void MainWindow::RememberPosition() {
    MainState& s = app_.state();
    if (s.model.loadingInProgress || s.view.inTray || isMinimized() || !isVisible()) return;
    const QRect bounds = isMaximized() ? normalGeometry() : geometry();
    if (!bounds.isValid()) return;
    s.view.position.state = isMaximized() ? 2 : 0;
    s.view.position.left = bounds.x() * kTwipsPerPixel;
    s.view.position.top = bounds.y() * kTwipsPerPixel;
    s.view.position.width = bounds.width() * kTwipsPerPixel;
    s.view.position.height = bounds.height() * kTwipsPerPixel;
}

void MainWindow::RememberBoundsAtExit() {
    MainState& s = app_.state();
    // Moved or not, minimised, hidden in the tray or maximised: the bounds it has when shown
    // normally are the ones to open on next time.
    const bool normal = isVisible() && !isMinimized() && !isMaximized();
    QRect bounds = normal ? geometry() : normalGeometry();
    if (!bounds.isValid()) bounds = geometry();
    if (!bounds.isValid()) return;
    s.view.position.state = isMaximized() ? 2 : 0;
    s.view.position.left = bounds.x() * kTwipsPerPixel;
    s.view.position.top = bounds.y() * kTwipsPerPixel;
    s.view.position.width = bounds.width() * kTwipsPerPixel;
    s.view.position.height = bounds.height() * kTwipsPerPixel;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    // A close while the session is being saved comes from the system, and one that the end of
    // the application asks for is no request of the user's: neither goes to the tray.
    const auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    const bool sessionEnding = gui && gui->isSavingSession();
    if (app_.Shutdown(sessionEnding || applicationQuitting_ ? CloseReason::System : CloseReason::User)) {
        closing_ = true;
        event->accept();
        app_.frontEnd().Quit();
        return;
    }
    event->ignore();
    if (!app_.state().view.inTray) app_.SendToTray();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    RememberPosition();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    RememberPosition();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == QCoreApplication::instance()) {
        // The application closes every window before its event loop ends.
        if (type == QEvent::Quit) applicationQuitting_ = true;
        return false;
    }
    if (watched == filter_ && type == QEvent::KeyPress) return OnFilterKey(static_cast<QKeyEvent*>(event)->key());
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::FocusOut)
        return QMainWindow::eventFilter(watched, event);
    for (TableKind kind : kAllTables) {
        if (watched != View(kind)) continue;
        // A key acts on its release, and only when it was pressed in this list too: the Enter
        // that closed a message box or confirmed the editor is released over the list as well.
        if (type == QEvent::FocusOut) {
            keysPressedInList_.clear();
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        if (type == QEvent::KeyPress) {
            keysPressedInList_.insert(key->key());
            return OnKeyPressed(kind, *key);
        } else if (!key->isAutoRepeat() && keysPressedInList_.erase(key->key()) > 0) {
            OnKeyReleased(kind, key->key(), key->modifiers());
        }
        return false;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::OnKeyPressed(TableKind kind, const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    switch (key.key()) {
        case Qt::Key_Space:
            if (modifiers != Qt::NoModifier) return false;  // Ctrl+Space selects, as in every list
            if (!key.isAutoRepeat()) ToggleSelectedTicks(kind);
            return true;
        case Qt::Key_Menu: ShowTableMenuFromKeyboard(kind); return true;
        case Qt::Key_F10:
            if (modifiers != Qt::ShiftModifier) return false;
            ShowTableMenuFromKeyboard(kind);
            return true;
        case Qt::Key_Slash:
        case Qt::Key_Question:
        case Qt::Key_Plus:
            // These act on their release, on the row selected now.
            return true;
        default: return false;
    }
}

void MainWindow::ToggleSelectedTicks(TableKind kind) {
    const std::vector<int> rows = SelectedRows(kind);
    if (rows.empty()) return;
    const Table& table = app_.state().model.tables[kind];
    const QModelIndex current = View(kind)->currentIndex();
    const int focused = current.isValid() ? Filter(kind)->PositionOf(current.row()) : 0;
    const int lead = std::find(rows.begin(), rows.end(), focused) != rows.end() ? focused : rows.front();
    const bool ticked = !table.Ticked(lead);
    // Ticking may show a refusal and change the table; each row is found again by its id.
    std::vector<RowId> ids;
    for (const int position : rows) ids.push_back(table.Id(position));
    for (const RowId id : ids) {
        const auto position = table.PositionOf(id);
        if (position && table.Ticked(*position) != ticked) app_.OnRowTickChanged(kind, *position, ticked);
    }
}

void MainWindow::OnKeyReleased(TableKind, int key, Qt::KeyboardModifiers modifiers) {
    const std::optional<ListSelection> chosen = CurrentSelection();
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F2:
            if (chosen) app_.EditItem(chosen->kind, chosen->rows);
            break;
        case Qt::Key_Delete:
            if (chosen) app_.DeleteSelected(chosen->kind, chosen->rows);
            break;
        case Qt::Key_Plus:
            if (modifiers & Qt::KeypadModifier) app_.NewItem();
            break;
        case Qt::Key_Slash:
        case Qt::Key_Question:
            // The "/ ?" key of the main keyboard; the keypad's divide key is another key.
            if (chosen && !(modifiers & Qt::KeypadModifier)) app_.Identify(chosen->kind, chosen->rows, 0);
            break;
        default: break;
    }
}

bool MainWindow::OnFilterKey(int key) {
    const auto kind = TableFromNumber(tabs_->currentIndex());
    switch (key) {
        case Qt::Key_Escape: filter_->clear(); break;
        case Qt::Key_Down:
        case Qt::Key_Return:
        case Qt::Key_Enter: break;
        default: return false;
    }
    // Back to the list, on its first row, so that the keys of the list act on what was found.
    if (kind) {
        QTableView* view = View(*kind);
        view->setFocus(Qt::OtherFocusReason);
        if (!view->selectionModel()->hasSelection() && view->model()->rowCount() > 0) view->selectRow(0);
    }
    return true;
}

void MainWindow::ShowTableMenu(TableKind kind, const QPoint& where) {
    menus_.PrepareTableMenu(app_, kind, SelectedRows(kind));
    menus_.table->popup(where);
}

void MainWindow::ShowTableMenuFromKeyboard(TableKind kind) {
    if (!controlsEnabled_) return;
    QTableView* view = View(kind);
    // Below the focused row's name, as the mouse would have put it there.
    QPoint at(0, 0);
    const QModelIndex current = view->currentIndex();
    if (current.isValid()) {
        const QRect cell = view->visualRect(current.siblingAtColumn(0));
        if (cell.isValid()) at = QPoint(cell.left() + cell.height(), cell.bottom());
    }
    ShowTableMenu(kind, view->viewport()->mapToGlobal(at));
    // As the Down key would: the first entry that can be chosen is highlighted, and a submenu
    // there stays closed until Right or Enter opens it.
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(menus_.table, &down);
}

}  // namespace kestrune::ui
