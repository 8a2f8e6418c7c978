#include "ui/MainMenus.h"

#include <QMenu>
#include <QMenuBar>

#include "session/Application.h"
#include "ui/StateFileActions.h"
#include "ui/TimelineView.h"

namespace kestrune::ui {

namespace {

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The letters that already open an entry of this menu (or bar), lower case.
QString UsedMnemonics(const QWidget* menu) {
    QString used;
    for (const QAction* action : menu->actions()) {
        const QString text = action->text();
        for (qsizetype i = 0; i + 1 < text.size(); ++i) {
            if (text[i] != '&') continue;
            if (text[i + 1] != '&') used += text[i + 1].toLower();
            ++i;
        }
    }
    return used;
}

QAction* Add(QMenu* menu, std::string_view caption, std::function<void()> onTrigger) {
    QAction* action = menu->addAction(WithMnemonic(Q(caption), menu));
    QObject::connect(action, &QAction::triggered, menu, [run = std::move(onTrigger)] { run(); });
    return action;
}

template <typename Parent>
QMenu* AddMenu(Parent* parent, std::string_view caption) {
    return parent->addMenu(WithMnemonic(Q(caption), parent));
}

// The Options menu's items with the option each shows and the command that toggles it.
struct OptionItem {
    std::string_view caption;
    bool Options::*flag;
    void (Application::*toggle)();
};
const OptionItem kOptionItems[] = {
    {caption::RunOnStartup, &Options::runOnStartup, &Application::ToggleRunOnStartup},
    {caption::SkipSave, &Options::skipSave, &Application::ToggleSkipSave},
    {caption::TrayOnClose, &Options::trayOnClose, &Application::ToggleTrayOnClose},
    {caption::ExitAfterDelayed, &Options::exitAfterDelayed, &Application::ToggleExitAfterDelayed},
    {caption::IgnoreSelf, &Options::ignoreSelf, &Application::ToggleIgnoreSelf},
    {caption::ChooseProfile, &Options::chooseProfile, &Application::ToggleChooseProfile},
    {caption::SkipRunning, &Options::skipRunning, &Application::ToggleSkipRunning},
    {caption::WatchPriorities, &Options::watchPriorities, &Application::ToggleWatchPriorities},
    {caption::DisableTheWindowsWay, &Options::disableTheWindowsWay, &Application::ToggleDisableTheWindowsWay},
};

}  // namespace

QString WithMnemonic(const QString& caption, const QWidget* menu) {
    const QString used = UsedMnemonics(menu);
    const auto freeAt = [&](bool wordStartsOnly) -> qsizetype {
        for (qsizetype i = 0; i < caption.size(); ++i) {
            if (caption[i] == '&') {
                ++i;  // "&&" shows one ampersand
                continue;
            }
            if (!caption[i].isLetterOrNumber() || used.contains(caption[i].toLower())) continue;
            if (!wordStartsOnly || i == 0 || caption[i - 1] == ' ') return i;
        }
        return -1;
    };
    qsizetype at = freeAt(true);
    if (at < 0) at = freeAt(false);
    // Every letter taken: the first one opens it too; pressed again, the key goes on to the
    // next entry of that letter, as Windows menus do.
    if (at < 0) {
        at = 0;
        while (at < caption.size() && !caption[at].isLetterOrNumber()) ++at;
        if (at == caption.size()) return caption;
    }
    return caption.left(at) + '&' + caption.mid(at);
}

QString ShownCaption(const QAction& action) {
    const QString text = action.text();
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            if (text[i + 1] == '&') shown += "&&";
            ++i;
            if (text[i] == '&') continue;
        }
        shown += text[i];
    }
    return shown;
}

void MainMenus::Build(QMenuBar* bar, QWidget* owner, Application& app, std::function<void()> resetWindowSize,
                      SelectionSource selection) {
    BuildFileMenu(bar, app);
    BuildActionMenu(bar, owner, app, std::move(resetWindowSize));
    BuildOptionsMenu(bar, app);
    BuildTableMenu(owner, app, std::move(selection));
    BuildTrayMenu(owner, app);
}

void MainMenus::BuildFileMenu(QMenuBar* bar, Application& app) {
    Application* a = &app;
    file = AddMenu(bar, caption::File);
    Add(file, caption::SaveSettings, [a] { a->SaveSettings(); });
    Add(file, caption::BackupSettings, [a] { a->BackupSettings(); });
    Add(file, caption::LoadBackup, [a] { a->LoadBackup(); });
    file->addSeparator();
    AddStateFileEntries(file, app);
    file->addSeparator();
    Add(file, caption::Exit, [a] { a->CloseDown(); });
}

void MainMenus::BuildActionMenu(QMenuBar* bar, QWidget* owner, Application& app,
                                std::function<void()> resetWindowSize) {
    Application* a = &app;
    action = AddMenu(bar, caption::Action);
    deleteDuplicates = AddMenu(action, caption::DeleteDuplicates);
    Add(deleteDuplicates, caption::InCurrentTable, [a] { a->DeleteDuplicatesInCurrentTable(); });
    Add(deleteDuplicates, caption::InAllTables, [a] { a->DeleteDuplicatesInAllTables(); });
    recordItems = AddMenu(action, caption::RecordItems);
    Add(recordItems, caption::InCurrentTable, [a] { a->RecordItemsInCurrentTable(); });
    Add(recordItems, caption::InAllTables, [a] { a->RecordItemsInAllTables(); });
    deleteUnticked = Add(action, caption::DeleteUnticked, [a] { a->DeleteUntickedItems(); });
    refresh = Add(action, caption::Refresh, [a] { a->RefreshTables(); });
    refresh->setShortcut(QKeySequence(Qt::Key_F5));
    action->addSeparator();
    importEntries = Add(action, caption::Import, [a] { a->ImportStartupControlPanel(); });
    runDelayed = Add(action, caption::RunDelayed, [a] { a->RunDelayedApplications(); });
    sendToTray = Add(action, caption::SendToTray, [a] { a->SendToTray(); });
    monitor = Add(action, caption::Monitor, [a] { a->ToggleMonitor(); });
    monitor->setCheckable(true);
    stopDelayed = Add(action, caption::StopDelayed, [a] { a->PreventDelayedAppsFromRegistering(); });
    allIdle = Add(action, caption::AllIdle, [a] { a->MakeAllDelayedIdle(); });
    Add(action, caption::LastRunTimeline, [a, owner] { ShowTimelineWindow(*a, owner); });
    resetWindow = Add(action, caption::ResetWindow, std::move(resetWindowSize));
}

// Options, then the Profiles entry of the bar, and the check marks of both menus of options.
void MainMenus::BuildOptionsMenu(QMenuBar* bar, Application& app) {
    Application* a = &app;
    options = AddMenu(bar, caption::Options);
    for (const OptionItem& item : kOptionItems) {
        QAction* option = Add(options, item.caption, [a, toggle = item.toggle] { (a->*toggle)(); });
        option->setCheckable(true);
        optionItems.push_back(option);
    }
    options->addSeparator();
    setIdle = Add(options, caption::SetIdle, [a] { a->SetIdleSettings(); });

    profiles = bar->addAction(WithMnemonic(Q(caption::Profiles), bar));
    QObject::connect(profiles, &QAction::triggered, bar, [a] { a->OpenProfiles(); });

    // The check marks follow the options, which commands other than these items change too.
    QObject::connect(action, &QMenu::aboutToShow, action, [this, a] { SyncChecks(*a); });
    QObject::connect(options, &QMenu::aboutToShow, options, [this, a] { SyncChecks(*a); });
    for (QAction* option : optionItems) {
        QObject::connect(option, &QAction::triggered, option, [this, a] { SyncChecks(*a); });
    }
    QObject::connect(monitor, &QAction::triggered, monitor, [this, a] { SyncChecks(*a); });
}

void MainMenus::BuildTableMenu(QWidget* owner, Application& app, SelectionSource selection) {
    Application* a = &app;
    // An entry on rows: the command with the selection of the moment it is chosen.
    auto onRows = [a, selection](auto command, auto... extra) -> std::function<void()> {
        return [a, selection, command, extra...] {
            if (const auto chosen = selection()) (a->*command)(chosen->kind, chosen->rows, extra...);
        };
    };
    table = new QMenu(Q(caption::TableMenu), owner);
    identify = AddMenu(table, caption::Identify);
    for (size_t i = 0; i < kSearchEngines.size(); ++i) {
        search.push_back(
            Add(identify, SearchCaption(kSearchEngines[i]), onRows(&Application::Identify, static_cast<int>(i))));
    }
    newItem = Add(table, caption::NewItem, [a] { a->NewItem(); });
    deleteItems = Add(table, caption::Delete, onRows(&Application::DeleteSelected));
    toggle = Add(table, caption::Toggle, onRows(&Application::ToggleSelected));
    edit = Add(table, caption::Edit, onRows(&Application::EditItem));
    run = Add(table, caption::Run, onRows(&Application::RunNow));
    copy = AddMenu(table, caption::CopyClip);
    Add(copy, caption::ClipFile, onRows(&Application::CopyToClipboard, 0));
    Add(copy, caption::ClipPath, onRows(&Application::CopyToClipboard, 1));
    Add(copy, caption::ClipPathArgs, onRows(&Application::CopyToClipboard, 2));
    recordSetting = Add(table, caption::RecordSetting, onRows(&Application::RecordSetting));
    tick = AddMenu(table, caption::Tick);
    Add(tick, caption::TickAll, [a] { a->TickAll(true); });
    tickSelected = Add(tick, caption::TickSelected, onRows(&Application::TickSelected, true));
    Add(tick, caption::UntickAll, [a] { a->TickAll(false); });
    untickSelected = Add(tick, caption::UntickSelected, onRows(&Application::TickSelected, false));
    moveTo = AddMenu(table, caption::MoveTo);
    for (TableKind target : kMoveTargets) {
        move.push_back(Add(moveTo, TabCaption(target), onRows(&Application::MoveSelectedTo, target)));
    }
    moveBackSeparator = moveTo->addSeparator();
    moveBack = Add(moveTo, caption::MoveBack, onRows(&Application::MoveSelectedBack));
    openContainer = Add(table, caption::OpenContainer, onRows(&Application::OpenContainerFolder));
    priority = AddMenu(table, caption::SetPriority);
    for (const PriorityEntry& entry : kPriorityEntries) {
        QAction* item = Add(priority, entry.caption, onRows(&Application::SetPriorityOfSelected, entry.priorityClass));
        item->setCheckable(true);
        priorities.push_back(item);
    }
    endProcess = Add(table, caption::EndProcess, onRows(&Application::EndSelectedProcesses));
    // Shown here so that they can be learnt; the lists and the window take the keys themselves
    // (a list acts on a key's release), so these entries must never take them too.
    for (auto [entry, key] :
         {std::pair{newItem, QKeySequence(Qt::CTRL | Qt::Key_N)}, std::pair{deleteItems, QKeySequence(Qt::Key_Delete)},
          std::pair{edit, QKeySequence(Qt::Key_F2)}}) {
        entry->setShortcut(key);
        entry->setShortcutContext(Qt::WidgetShortcut);
    }
}

void MainMenus::BuildTrayMenu(QWidget* owner, Application& app) {
    Application* a = &app;
    sysTray = new QMenu(Q(caption::SysTray), owner);
    restore = Add(sysTray, caption::Restore, [a] { a->RestoreFromTray(); });
    sysTray->setDefaultAction(restore);
    Add(sysTray, caption::Cancel, [] {});
    Add(sysTray, caption::Exit, [a] { a->CloseDown(); });
}

void MainMenus::SyncChecks(Application& app) {
    const Options& o = app.state().options;
    for (size_t i = 0; i < optionItems.size(); ++i) optionItems[i]->setChecked(o.*(kOptionItems[i].flag));
    monitor->setChecked(o.monitor);
    // The caption changes between start and stop; its letter is chosen again.
    const QString caption = QString::fromStdString(app.RunDelayedCaption());
    if (ShownCaption(*runDelayed) != caption) {
        runDelayed->setText({});
        runDelayed->setText(WithMnemonic(caption, action));
    }
}

void MainMenus::PrepareTableMenu(Application& app, TableKind kind, const std::vector<int>& selected) {
    const ContextMenuRules rules = ContextMenuFor(kind, static_cast<int>(selected.size()));
    for (size_t i = 0; i < move.size(); ++i) move[i]->setEnabled(rules.moveEnabled[i]);
    moveBackSeparator->setVisible(rules.moveBackVisible);
    moveBack->setVisible(rules.moveBackVisible);
    // Without a row there is nothing for these to act on; New item and Tick All still make sense.
    const bool rows = !selected.empty();
    identify->menuAction()->setEnabled(rows && rules.identifyEnabled);
    copy->menuAction()->setEnabled(rows && rules.copyEnabled);
    edit->setEnabled(rows && rules.editEnabled);
    run->setEnabled(rows && rules.runEnabled);
    for (QAction* entry : {deleteItems, toggle, recordSetting, moveTo->menuAction(), openContainer,
                           priority->menuAction(), endProcess, tickSelected, untickSelected}) {
        entry->setEnabled(rows);
    }
    deleteItems->setVisible(rules.deleteVisible);
    moveTo->menuAction()->setVisible(rules.moveVisible);
    edit->setVisible(rules.editVisible);
    recordSetting->setVisible(rules.recordVisible);
    priority->menuAction()->setVisible(rules.priorityVisible);
    endProcess->setVisible(rules.endProcessVisible);
    if (kind == TableKind::Process) {
        for (QAction* item : priorities) item->setChecked(false);
        if (const auto checked = CheckedPriorityEntry(app.state().model.tables[kind], selected)) {
            priorities[static_cast<size_t>(*checked)]->setChecked(true);
        }
    }
}

void MainMenus::SetControlsEnabled(bool enabled, bool runDelayedEnabled, const TabRules& tab) {
    for (QAction* item : {deleteDuplicates->menuAction(), importEntries, sendToTray, monitor, stopDelayed, allIdle,
                          file->menuAction(), options->menuAction(), refresh}) {
        item->setEnabled(enabled);
    }
    // The Process tab never offers these two, whatever else is enabled.
    recordItems->menuAction()->setEnabled(enabled && tab.recordItemsEnabled);
    deleteUnticked->setEnabled(enabled && tab.deleteUntickedEnabled);
    runDelayed->setEnabled(runDelayedEnabled);
}

}  // namespace kestrune::ui
