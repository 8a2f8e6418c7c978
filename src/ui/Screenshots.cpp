#include "ui/Screenshots.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <functional>
#include <set>

#include "delayed/DelayedWindow.h"
#include "locations/ItemEditor.h"
#include "procs/ProcessActions.h"
#include "session/Application.h"
#include "session/Identify.h"
#include "session/MainWindowRules.h"
#include "store/SettingsDocument.h"
#include "ui/DelayedWindowView.h"
#include "ui/ItemEditorDialog.h"
#include "ui/MainWindow.h"
#include "ui/MonitorDialog.h"
#include "ui/ProcessChooser.h"
#include "ui/ProfilesDialog.h"
#include "ui/QtFrontEnd.h"
#include "ui/TimelineView.h"

namespace kestrune::ui {

namespace {

void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

void Save(QWidget& widget, const QDir& folder, const QString& name) {
    Settle();
    widget.grab().save(folder.filePath(name + ".png"));
}

// A menu has no window until it pops up; grab it while it is open.
void SaveMenu(QMenu& menu, const QPoint& at, const QDir& folder, const QString& name) {
    menu.popup(at);
    Settle();
    Save(menu, folder, name);
    menu.hide();
}

// A run as the demo's delayed rows would make it: two timed programs and one that waited for an
// idle processor, with the figures of real runs of such programs on the emulated machine.
RunTimeline StagedTimeline() {
    RunTimeline timeline;
    timeline.intervalMs = 250;
    const auto add = [&](const char* name, int startedMs, int busyMs, std::int64_t cpuMs, std::uint64_t read,
                         int untilMs, bool ended) {
        TimelineProgram program;
        program.name = name;
        program.command = std::string("C:\\Tools\\") + name;
        program.startedMs = startedMs;
        program.followedUntilMs = untilMs;
        program.ended = ended;
        for (int at = 0; at < untilMs - startedMs; at += timeline.intervalMs)
            program.busyPercent.push_back(at < busyMs ? 85 + (at / 250) % 3 * 5 : (at / 250) % 7 == 0 ? 10 : 0);
        program.impact = Impact{cpuMs, read, read / 40, (untilMs - startedMs + 999) / 1000};
        timeline.programs.push_back(std::move(program));
    };
    add("mail.exe", 5000, 1500, 1470, 1'561'866, 11000, true);
    add("sync.exe", 20000, 400, 380, 420'000, 26000, true);
    add("indexer.exe", 31000, 0, 10, 6'976, 40000, false);
    for (int second = 20; second <= 31; ++second)
        timeline.cpu.push_back({second * 1000, second < 23 ? 70 - (second - 20) * 20 : 8 + second % 3});
    timeline.lengthMs = 40000;
    return timeline;
}

QString Slug(const QString& text) {
    QString slug = text.toLower();
    slug.replace(QRegularExpression("[^a-z0-9]+"), "-");
    return slug;
}

// The whole screen, to show where the window opened and that it fits.
void SaveScreen(const QWidget& window, const QDir& folder, const QString& name) {
    Settle();
    QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (screen) screen->grabWindow(0).save(folder.filePath(name + ".png"));
}

void SaveMessageBoxes(QWidget& window, const QDir& folder) {
    struct Box {
        const char* name;
        QMessageBox::Icon icon;
        QString text;
        QMessageBox::StandardButtons buttons;
    };
    const Box boxes[] = {
        {"message-information", QMessageBox::Information, kSettingsSavedMessage, QMessageBox::Ok},
        {"message-exclamation", QMessageBox::Warning,
         QString::fromUtf8(kCannotIdentifyMessage.data(), qsizetype(kCannotIdentifyMessage.size())), QMessageBox::Ok},
        {"message-question", QMessageBox::Warning, kConfirmTerminate, QMessageBox::Yes | QMessageBox::No},
    };
    for (const Box& b : boxes) {
        QMessageBox box(b.icon, kMessageTitle, b.text, b.buttons, &window);
        box.show();
        Save(box, folder, b.name);
    }
}

void SaveFilter(Application& app, MainWindow& window, const QDir& folder) {
    const int tab = Number(TableKind::Process) + 1;
    app.SelectTab(tab);
    window.ShowTab(tab);
    window.FitColumns(TableKind::Process);
    window.FilterBox()->setText("sh");
    Save(window, folder, "filter-in-use");
    window.FilterBox()->setText("no such program");
    Save(window, folder, "filter-nothing-found");
    window.FilterBox()->clear();
}

// The screen as the user first sees it: with the window manager's frame in place.
void WaitForTheFrame(MainWindow& window) {
    for (int i = 0; i < 100 && !window.FramePlaced(); ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    // A frame that did not fit moves the window once more; without a moment to repaint at its
    // new place, the picture keeps the old pixels below it.
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(30);
    }
}

void SaveTabs(Application& app, MainWindow& window, const QDir& folder) {
    for (int tab = 1; tab <= kTabCount; ++tab) {
        app.SelectTab(tab);  // as a click on the tab
        window.ShowTab(tab);
        if (const auto kind = TableFromNumber(tab - 1)) window.FitColumns(*kind);
        Save(window, folder,
             QString("tab-%1-%2").arg(tab, 2, 10, QChar('0')).arg(Slug(window.TabWidget()->tabText(tab - 1))));
    }
}

void SaveMenus(Application& app, MainWindow& window, const QDir& folder) {
    app.SelectTab(Number(TableKind::HKCU_Run) + 1);
    window.ShowTab(Number(TableKind::HKCU_Run) + 1);
    QTableView* view = window.View(TableKind::HKCU_Run);
    if (view->model()->rowCount() > 0) view->selectRow(0);
    MainMenus& menus = window.Menus();
    const QPoint corner = window.mapToGlobal(QPoint(40, 60));
    menus.PrepareTableMenu(app, TableKind::HKCU_Run, window.SelectedRows(TableKind::HKCU_Run));
    SaveMenu(*menus.table, corner, folder, "menu-table-hkcu-run");
    view->clearSelection();
    menus.PrepareTableMenu(app, TableKind::HKCU_Run, {});
    SaveMenu(*menus.table, corner, folder, "menu-table-nothing-selected");
    menus.PrepareTableMenu(app, TableKind::Process, {});
    SaveMenu(*menus.table, corner, folder, "menu-table-processes");
    menus.SyncChecks(app);
    SaveMenu(*menus.file, corner, folder, "menu-file");
    SaveMenu(*menus.action, corner, folder, "menu-action");
    SaveMenu(*menus.options, corner, folder, "menu-options");
    SaveMenu(*menus.sysTray, corner, folder, "menu-system-tray");
}

void SaveItemEditors(Application& app, MainWindow& window, const QDir& folder) {
    ItemEditorState editor;
    editor.caption = "Kestrune - Edit";
    editor.name = "Updater";
    editor.path = "C:\\Program Files\\Vendor\\updater.exe /background";
    editor.delay = "30";
    editor.priority = "Below Normal";
    editor.showDelay = editor.showPriority = editor.priorityEnabled = true;
    {
        ItemEditorDialog dialog(
            editor, [] { return EditorField::None; }, app.state(), app.frontEnd(), &window);
        dialog.show();
        Save(dialog, folder, "dialog-item-editor-delayed");
    }
    editor.caption = "Kestrune - New";
    editor.name.clear();
    editor.path.clear();
    editor.showDelay = editor.showPriority = editor.priorityEnabled = false;
    {
        ItemEditorDialog dialog(
            editor, [] { return EditorField::None; }, app.state(), app.frontEnd(), &window);
        dialog.show();
        Save(dialog, folder, "dialog-item-editor-new");
    }
}

void SaveDialogs(Application& app, MainWindow& window, const QDir& folder) {
    {
        MonitorDialog dialog(
            "The following programs\r\nC:\\Program Files\\Chat\\chat.exe --tray\r\n"
            "have registered to run at system start up - do you want to allow this?",
            {QString::fromUtf8("Chat \u2014 User")}, &window);
        dialog.show();
        Save(dialog, folder, "dialog-monitor");
    }
    {
        DelayedWindow model;
        const char* rows[][3] = {{"mail.exe", "5", "\"C:\\Program Files\\Mail\\mail.exe\" -minimized"},
                                 {"sync.exe", "20", "C:\\Tools\\sync.exe --quiet"},
                                 {"indexer.exe", "-30", "C:\\Tools\\indexer.exe"}};
        for (const auto& r : rows) model.rows.push_back({r[0], r[1], r[2], true, kIconUnticked});
        model.rows[0].icon = kIconTicked;
        model.rows[1].ticked = false;
        model.rows[1].icon = kIconSkip;
        model.listPosition = model.selectedRow = 2;
        model.progressValue = 67;
        model.progressCaption = "67%";
        model.progressLine = "sync.exe - 2 out of 3";
        model.cpuValue = 35;
        model.cpuCaption = "CPU 35%";
        model.exitButtonVisible = true;
        DelayedWindowView view(model, {}, {}, &window);
        const RunTimeline timeline = StagedTimeline();
        view.AddTimeline(
            new TimelineView([&timeline]() -> const RunTimeline& { return timeline; }, [] { return 0ul; }, &view));
        view.show();
        Save(view, folder, "dialog-delayed-run");
        TimelineView alone([&timeline]() -> const RunTimeline& { return timeline; }, [] { return 0ul; }, &window);
        alone.setWindowFlag(Qt::Window);
        alone.resize(alone.sizeHint());
        alone.show();
        Save(alone, folder, "dialog-delayed-run-timeline");
    }
    {
        app.profiles().ToggleProfileButtons(true);
        app.profiles().SelectCurrentProfile(app.state().paths);
        ProfilesDialog dialog(app, &window);
        dialog.show();
        Save(dialog, folder, "dialog-profiles");
    }
    {
        ProcessChooser chooser(app.state().services.platform.processes().List(), &window);
        chooser.show();
        Save(chooser, folder, "dialog-process-chooser");
    }
}

void TakeAll(Application& app, QtFrontEnd& fe, const QDir& folder) {
    MainWindow& window = fe.Window();
    WaitForTheFrame(window);
    SaveScreen(window, folder, "screen");
    SaveTabs(app, window, folder);
    SaveMenus(app, window, folder);
    SaveFilter(app, window, folder);
    SaveMessageBoxes(window, folder);
    SaveItemEditors(app, window, folder);
    SaveDialogs(app, window, folder);
}

// What the location lists show of each row's program, for a script to check: rows.tsv (one
// line per row: table, name, path, icon number, publisher) and icon-<number>.png (32 x 32) of
// every icon the rows show, the default icon-1.png among them.
void SaveRowDetails(Application& app, QtFrontEnd& frontEnd, const QDir& folder) {
    QDir rows(folder.filePath(kRowDetailsFolder));
    rows.mkpath(".");
    QFile list(rows.filePath("rows.tsv"));
    if (!list.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    QTextStream out(&list);
    std::set<int> icons = {kDefaultIcon};
    for (TableKind kind : kAllTables) {
        const Table& table = app.state().model.tables[kind];
        if (table.PublisherColumn() < 0) continue;
        for (int position = 1; position <= table.Count(); ++position) {
            icons.insert(table.Icon(position));
            out << QString::fromUtf8(KindName(kind).data(), qsizetype(KindName(kind).size())) << '\t'
                << QString::fromStdString(table.Name(position)) << '\t'
                << QString::fromStdString(table.Text(position, PathColumn(kind))) << '\t' << table.Icon(position)
                << '\t' << QString::fromStdString(table.Publisher(position).value_or("")) << '\n';
        }
    }
    for (const int icon : icons) {
        frontEnd.Icons().RowIcon(icon).pixmap(32, 32).toImage().save(rows.filePath(QString("icon-%1.png").arg(icon)));
    }
}

// A delayed run of whatever Delayed rows the machine has ticked, carried out live by the real
// timers; once every program it started has been measured, the Delayed tab with their bands
// and the timeline window as the Action menu opens it. Nothing when no row is ticked.
void SaveLiveRun(Application& app, QtFrontEnd& fe, const QDir& folder) {
    if (app.state().model.tables[TableKind::Delayed].CountTicked() == 0) return;
    MainWindow& window = fe.Window();
    app.RunDelayedApplications();
    QElapsedTimer waited;
    waited.start();
    while ((app.RunDelayedCaption() != kRunDelayedCaption || app.delayed().impact.Following()) &&
           waited.elapsed() < 60'000) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    const int tab = Number(TableKind::Delayed) + 1;
    app.SelectTab(tab);
    window.ShowTab(tab);
    window.FitColumns(TableKind::Delayed);
    Save(window, folder, "live-run-delayed-tab");
    MainMenus& menus = window.Menus();
    for (QAction* action : menus.action->actions()) {
        if (action->text().remove('&') ==
            QString::fromUtf8(caption::LastRunTimeline.data(), qsizetype(caption::LastRunTimeline.size())))
            action->trigger();
    }
    QWidget* timeline = window.findChild<QWidget*>(kTimelineWindowName, Qt::FindDirectChildrenOnly);
    if (!timeline) return;
    // Under a window manager the window is framed and placed before its picture is worth taking.
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(30);
    }
    Save(*timeline, folder, "live-run-timeline");
    timeline->close();
}

// The rows' icons and publishers are filled in after start-up; the pictures wait for them.
void WhenFillDone(QtFrontEnd& frontEnd, int triesLeft, const std::function<void()>& then) {
    if (!frontEnd.Window().IconFillRunning() || triesLeft == 0) {
        then();
        return;
    }
    QTimer::singleShot(100, [&frontEnd, triesLeft, then] { WhenFillDone(frontEnd, triesLeft - 1, then); });
}

}  // namespace

void ScheduleScreenshots(Application& app, QtFrontEnd& frontEnd, const QString& folder) {
    QTimer::singleShot(400, [&app, &frontEnd, folder] {
        WhenFillDone(frontEnd, 300, [&app, &frontEnd, folder] {
            QDir dir(folder);
            dir.mkpath(".");
            SaveRowDetails(app, frontEnd, dir);
            TakeAll(app, frontEnd, dir);
            SaveLiveRun(app, frontEnd, dir);
            QCoreApplication::exit(0);
        });
    });
}

}  // namespace kestrune::ui
