#pragma once
// The desktop front end: what the core asks of a person, done with Qt widgets. Message boxes,
// input boxes, the file chooser and the modal dialogs pass through a seam that a GUI test can
// answer in advance (the way a person would), so no test ever blocks on a modal window.

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/FrontEnd.h"
#include "app/ModelObserver.h"
#include "ui/IconStore.h"

class QDialog;
class QSystemTrayIcon;

namespace kestrune {
class Application;
struct DelayedWindow;
}  // namespace kestrune

namespace kestrune::ui {

class DelayedWindowView;
class MainWindow;

// Answers prepared by a test. While `active`, nothing modal is shown: messages are recorded,
// questions take the next answer (failing loudly when none was prepared), and a modal dialog
// is shown modeless and handed to `playDialog`, which acts as the user in it.
struct DialogSeam {
    struct Shown {
        std::string text;
        MessageIcon icon;
        std::string title;
    };
    bool active = false;
    std::deque<bool> yesNo;
    std::deque<std::string> input;
    std::deque<std::string> files;
    std::vector<Shown> messages;
    std::vector<std::string> prompts;
    std::vector<std::string> chooserFolders;  // the folder each file chooser opened in
    std::function<void(QDialog&)> playDialog;
    std::function<void(const std::string& question)> onUnexpected;
};

// The messages' title when the core gives none.
inline constexpr const char* kMessageTitle = "Kestrune";

// Outlives the Application it is attached to, so it never has to leave its model events.
class QtFrontEnd final : public FrontEnd, public ModelObserver {
public:
    QtFrontEnd();
    ~QtFrontEnd() override;

    // The window is made once the Application exists (it needs the application's commands).
    void Attach(Application& app);
    MainWindow& Window() { return *window_; }
    IconStore& Icons() { return icons_; }
    DialogSeam& Seam() { return seam_; }
    QSystemTrayIcon* TrayIcon() const { return tray_.get(); }
    bool QuitRequested() const { return quitRequested_; }
    // Windows logging off or shutting down: the whole shut-down sequence (never the trip to the
    // tray that closing the window may take), then the end of the program.
    void EndSession();
    // The delayed run's window model, drawn whenever it changes (shown, hidden, progress).
    void AttachDelayedWindow(DelayedWindow& model);
    DelayedWindowView* DelayedView() const { return delayedView_.get(); }
    // After the start-up sequence: the window where "Position" puts it, shown normally, shown
    // minimised (Slimline), or not at all when start-up sent it to the tray.
    void ShowAfterStartup();
    // Fills in the row icons that start-up left out (Application::DeferIcons), in the background.
    void StartIconFill();
    // Shows a dialog modally, or through the seam in a test.
    void RunModal(QDialog& dialog);

    void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title = "") override;
    bool AskYesNo(const std::string& text, MessageIcon icon, const std::string& title = "") override;
    std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) override;
    std::string ChooseFile(const std::string& filter, const std::string& initialFolder) override;
    // A file to write, for File › Export; "" when the user cancelled.
    std::string ChooseSaveFile(const std::string& filter, const std::string& initialFolder);
    MonitorAnswer AskMonitor(const std::string& message, const std::vector<std::string>& newEntries) override;
    void SetStatus(const std::string& text) override;
    void SetCaption(const std::string& text) override;
    bool QuestionOpen() const override { return questionsOpen_ > 0; }
    bool LoadFileIcon(const std::string& file, int iconNumber) override;
    void MinimiseWindow() override;
    void ShowWindowNormal() override;
    void HideWindow() override;
    void CentreWindow() override;
    void TakeWindowBounds() override;
    void AddTrayIcon(const std::string& tip) override;
    void RemoveTrayIcon() override;
    void ShowBalloon(const std::string& title, const std::string& text, int timeoutMs) override;
    void CopyToClipboard(const std::string& text) override;
    void ShowItemEditor() override;
    void ShowProfilesDialog() override;
    void DelayedWindowChanged() override;
    void Quit() override;

    // "XML files (*.xml)|*.xml" as a Qt file dialog filter.
    static std::string QtFilter(const std::string& filter);

private:
    void Unexpected(const std::string& question);

    Application* app_ = nullptr;
    IconStore icons_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    DelayedWindow* delayedModel_ = nullptr;
    std::unique_ptr<DelayedWindowView> delayedView_;
    DialogSeam seam_;
    bool quitRequested_ = false;
    bool minimiseOnShow_ = false;  // minimised before it was first shown
    int questionsOpen_ = 0;        // modal boxes and dialogs now waiting for the user
};

}  // namespace kestrune::ui
