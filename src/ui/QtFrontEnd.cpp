#include "ui/QtFrontEnd.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QSessionManager>
#include <QSystemTrayIcon>
#include <QTimer>

#include "app/Text.h"
#include "delayed/DelayedWindow.h"
#include "locations/ItemEditor.h"
#include "session/Application.h"
#include "ui/DelayedWindowView.h"
#include "ui/ItemEditorDialog.h"
#include "ui/MainWindow.h"
#include "ui/MonitorDialog.h"
#include "ui/ProfilesDialog.h"
#include "ui/TimelineView.h"

namespace kestrune::ui {

namespace {

constexpr int kMinimiseAgainMs = 200;

QString Q(const std::string& text) { return QString::fromStdString(text); }

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information: return QMessageBox::Information;
        case MessageIcon::Exclamation: return QMessageBox::Warning;
        case MessageIcon::Critical: return QMessageBox::Critical;
        case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QtFrontEnd::QtFrontEnd() = default;
QtFrontEnd::~QtFrontEnd() = default;

void QtFrontEnd::Attach(Application& app) {
    app_ = &app;
    app.FollowOutsideChanges();
    window_ = std::make_unique<MainWindow>(app, icons_);
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QObject::connect(gui, &QGuiApplication::commitDataRequest, window_.get(),
                         [this](QSessionManager&) { EndSession(); });
        // However the event loop ends (Exit, the session's end, a quit from elsewhere), the
        // options and the settings are written; after Exit this finds the work done.
        Application* shutDown = app_;
        QObject::connect(gui, &QCoreApplication::aboutToQuit, window_.get(),
                         [shutDown] { shutDown->Shutdown(CloseReason::System); });
    }
}

void QtFrontEnd::EndSession() {
    app_->Shutdown(CloseReason::System);
    Quit();
}

void QtFrontEnd::Unexpected(const std::string& question) {
    if (seam_.onUnexpected) seam_.onUnexpected(question);
}

void QtFrontEnd::ShowAfterStartup() {
    window_->ApplyStoredPosition();
    window_->ShowTab(app_->state().view.currentTab);
    if (app_->state().view.inTray || quitRequested_) return;
    if (!minimiseOnShow_) {
        window_->show();
        return;
    }
    window_->showMinimized();
    if (QGuiApplication::platformName() == "xcb") {
        // X11 window managers may map a window that was never shown as a normal one whatever
        // it asked for; once it is on the screen, it asks again.
        QTimer::singleShot(kMinimiseAgainMs, window_.get(), [window = window_.get()] {
            if (!window->isVisible()) return;
            if (window->isMinimized()) window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
            window->showMinimized();
        });
    }
    // The delayed-run window, shown before the main window was, stays in front of it.
    if (delayedView_ && delayedView_->isVisible()) {
        delayedView_->raise();
        delayedView_->activateWindow();
    }
}

void QtFrontEnd::StartIconFill() { window_->StartIconFill(); }

namespace {

// Counts a modal box or dialog as open for as long as it waits for the user; timers still fire
// inside its event loop.
class OpenQuestion {
public:
    explicit OpenQuestion(int& open) : open_(open) { ++open_; }
    ~OpenQuestion() { --open_; }
    OpenQuestion(const OpenQuestion&) = delete;
    OpenQuestion& operator=(const OpenQuestion&) = delete;

private:
    int& open_;
};

// The file a test prepared for the next file chooser, open or save.
std::string NextSeamFile(DialogSeam& seam, const std::string& filter) {
    seam.prompts.push_back(filter);
    if (seam.files.empty()) return {};
    std::string answer = seam.files.front();
    seam.files.pop_front();
    return answer;
}

}  // namespace

void QtFrontEnd::RunModal(QDialog& dialog) {
    const OpenQuestion open(questionsOpen_);
    if (seam_.active) {
        dialog.setModal(false);
        dialog.show();
        if (seam_.playDialog) seam_.playDialog(dialog);
        else Unexpected(dialog.windowTitle().toStdString());
        if (dialog.isVisible()) dialog.done(QDialog::Rejected);
    } else {
        dialog.exec();
    }
    // The window that opened the dialog takes the keys again, with the focus where it was (on
    // the list the command acted on).
    if (window_->isVisible() && !window_->isMinimized()) window_->activateWindow();
}

void QtFrontEnd::ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) {
    const std::string boxTitle = title.empty() ? kMessageTitle : title;
    if (seam_.active) {
        seam_.messages.push_back({text, icon, boxTitle});
        return;
    }
    QMessageBox box(BoxIcon(icon), Q(boxTitle), Q(text), QMessageBox::Ok, QApplication::activeWindow());
    const OpenQuestion open(questionsOpen_);
    box.exec();
}

bool QtFrontEnd::AskYesNo(const std::string& text, MessageIcon icon, const std::string& title) {
    const std::string boxTitle = title.empty() ? kMessageTitle : title;
    if (seam_.active) {
        seam_.prompts.push_back(text);
        if (seam_.yesNo.empty()) {
            Unexpected(text);
            return false;
        }
        const bool answer = seam_.yesNo.front();
        seam_.yesNo.pop_front();
        return answer;
    }
    QMessageBox box(BoxIcon(icon), Q(boxTitle), Q(text), QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    const OpenQuestion open(questionsOpen_);
    return box.exec() == QMessageBox::Yes;
}

std::string QtFrontEnd::InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) {
    if (seam_.active) {
        seam_.prompts.push_back(prompt);
        if (seam_.input.empty()) {
            Unexpected(prompt);
            return {};
        }
        std::string answer = seam_.input.front();
        seam_.input.pop_front();
        return answer;
    }
    bool ok = false;
    const OpenQuestion open(questionsOpen_);
    const QString answer = QInputDialog::getText(QApplication::activeWindow(), Q(title.empty() ? kMessageTitle : title),
                                                 Q(prompt), QLineEdit::Normal, Q(defaultText), &ok);
    return ok ? answer.toStdString() : std::string{};
}

std::string QtFrontEnd::QtFilter(const std::string& filter) {
    const std::vector<std::string> parts = Split(filter, "|");
    std::vector<std::string> entries;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        const std::string patterns = ReplaceAll(parts[i + 1], ";", " ");
        // Qt reads the patterns from the parentheses; add them when the description has none.
        entries.push_back(parts[i].find('(') == std::string::npos ? parts[i] + " (" + patterns + ")" : parts[i]);
    }
    return Join(entries, ";;");
}

std::string QtFrontEnd::ChooseFile(const std::string& filter, const std::string& initialFolder) {
    if (seam_.active) {
        seam_.chooserFolders.push_back(initialFolder);
        return NextSeamFile(seam_, filter);
    }
    const OpenQuestion open(questionsOpen_);
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), Q(kMessageTitle), Q(initialFolder),
                                        Q(QtFilter(filter)))
        .toStdString();
}

std::string QtFrontEnd::ChooseSaveFile(const std::string& filter, const std::string& initialFolder) {
    if (seam_.active) return NextSeamFile(seam_, filter);
    const OpenQuestion open(questionsOpen_);
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), Q(kMessageTitle), Q(initialFolder),
                                        Q(QtFilter(filter)))
        .toStdString();
}

MonitorAnswer QtFrontEnd::AskMonitor(const std::string& message, const std::vector<std::string>& newEntries) {
    QStringList entries;
    for (const std::string& entry : newEntries) entries << Q(entry);
    MonitorDialog dialog(Q(message), entries, window_.get());
    RunModal(dialog);
    const MonitorDialog::Choice chosen = dialog.Chosen();
    return {chosen == MonitorDialog::Choice::Allow, dialog.Remember(), chosen != MonitorDialog::Choice::None};
}

void QtFrontEnd::SetStatus(const std::string& text) { window_->SetStatus(Q(text)); }
void QtFrontEnd::SetCaption(const std::string& text) { window_->setWindowTitle(Q(text)); }

bool QtFrontEnd::LoadFileIcon(const std::string& file, int iconNumber) {
    return app_ && icons_.LoadFileIcon(app_->state().services.platform.programFiles(), file, iconNumber);
}

void QtFrontEnd::MinimiseWindow() {
    if (!window_->isVisible() && !app_->state().view.inTray) minimiseOnShow_ = true;
    window_->showMinimized();
    if (app_->state().view.inTray) window_->hide();
}

void QtFrontEnd::ShowWindowNormal() {
    minimiseOnShow_ = false;
    window_->showNormal();
    window_->raise();
    window_->activateWindow();
}

void QtFrontEnd::HideWindow() {
    window_->RememberPosition();
    window_->hide();
}

void QtFrontEnd::CentreWindow() { window_->CentreWindow(); }
void QtFrontEnd::TakeWindowBounds() { window_->RememberBoundsAtExit(); }

void QtFrontEnd::AddTrayIcon(const std::string& tip) {
    if (!tray_) {
        tray_ = std::make_unique<QSystemTrayIcon>(IconStore::AppIcon());
        tray_->setContextMenu(window_->Menus().sysTray);
        Application* app = app_;
        QObject::connect(tray_.get(), &QSystemTrayIcon::activated, window_.get(),
                         [app](QSystemTrayIcon::ActivationReason reason) {
                             if (reason == QSystemTrayIcon::DoubleClick && app->state().view.inTray)
                                 app->ShowFromTray();
                         });
        QObject::connect(tray_.get(), &QSystemTrayIcon::messageClicked, window_.get(), [app] {
            if (app->state().view.inTray) app->ShowFromTray();
        });
    }
    tray_->setToolTip(Q(tip));
    tray_->show();
}

void QtFrontEnd::RemoveTrayIcon() {
    if (tray_) tray_->hide();
}

void QtFrontEnd::ShowBalloon(const std::string& title, const std::string& text, int timeoutMs) {
    if (tray_ && tray_->isVisible() && QSystemTrayIcon::supportsMessages()) {
        tray_->showMessage(Q(title), Q(text), QSystemTrayIcon::Information, timeoutMs);
    }
}

void QtFrontEnd::CopyToClipboard(const std::string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(Q(text));
}

void QtFrontEnd::ShowItemEditor() {
    Application* app = app_;
    ItemEditorDialog dialog(
        app->editor(), [app] { return app->ConfirmEditor(); }, app->state(), *this, window_.get());
    RunModal(dialog);
    app->editor().visible = false;
}

void QtFrontEnd::ShowProfilesDialog() {
    ProfilesDialog dialog(*app_, window_.get());
    RunModal(dialog);
}
void QtFrontEnd::AttachDelayedWindow(DelayedWindow& model) {
    delayedModel_ = &model;
    Application* app = app_;
    DelayedWindow* window = &model;
    delayedView_ = std::make_unique<DelayedWindowView>(
        model, [app, window] { kestrune::HideDelayedWindow(app->state().model.events, *window); },
        [app] { app->ExitFromDelayedWindow(); });
    delayedView_->AddTimeline(CreateTimelineView(*app, delayedView_.get()));
    app->state().model.events.Attach(*this);
}

void QtFrontEnd::DelayedWindowChanged() {
    if (!delayedView_ || !delayedModel_) return;
    delayedView_->Refresh();
    if (delayedModel_->visible && !quitRequested_) delayedView_->show();
    else delayedView_->hide();
}

void QtFrontEnd::Quit() {
    quitRequested_ = true;
    if (tray_) tray_->hide();
    if (delayedView_) delayedView_->hide();
    window_->AllowClose();
    window_->close();
    QCoreApplication::quit();
}

}  // namespace kestrune::ui
