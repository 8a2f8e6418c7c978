#pragma once
// The program's front end on a terminal. Messages that the desktop program shows in a box go
// to standard error with their exact text. Questions are answered by the answers given on the
// command line, else asked on the terminal when standard input is one; with neither, the
// command stops with an UnansweredQuestion naming the option that answers it.

#include <deque>
#include <functional>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/FrontEnd.h"
#include "app/TableKind.h"

namespace kestrune::cli {

inline constexpr const char* kYesNoOptions = "--yes or --no";
inline constexpr const char* kMonitorOptions = "--answer allow|deny";

class UnansweredQuestion : public std::runtime_error {
public:
    UnansweredQuestion(const std::string& question, const std::string& options);
};

// The answers given on the command line.
struct ConsoleAnswers {
    std::optional<bool> yesNo;        // --yes / --no
    std::optional<bool> monitorKeep;  // --answer allow / deny
    bool remember = false;            // --remember
    std::deque<std::string> inputs;   // the command's answers to input boxes, in order
    std::deque<std::string> files;    // the command's answers to open-file dialogs
};

struct ShownMessage {
    std::string text;
    MessageIcon icon;
};

class ConsoleFrontEnd final : public FrontEnd {
public:
    // `interactive`: standard input is a terminal, so questions without an answer are asked.
    ConsoleFrontEnd(ConsoleAnswers answers, bool interactive, std::istream& in, std::ostream& out, std::ostream& err);

    // A row chosen as if in its list. The console's commands name their rows instead
    // (TableSelection.h), so none of them reads this today.
    void Select(TableKind kind, int position);
    void ClearSelection() { selected_.reset(); }
    std::vector<int> SelectedRows(TableKind kind) const;
    // An answer for the next input box the program shows.
    void QueueInput(std::string answer) { answers_.inputs.push_back(std::move(answer)); }

    // Status texts are printed to standard output while this is set (a delayed run, the monitor).
    bool echoStatus = false;
    // Called by the modal dialogs; the commands that need them set them.
    std::function<void()> onItemEditor;
    std::function<void()> onProfilesDialog;

    const std::vector<ShownMessage>& Messages() const { return messages_; }
    const std::vector<std::string>& Statuses() const { return statuses_; }
    bool QuitRequested() const { return quitRequested_; }
    bool HasUnusedInputs() const { return !answers_.inputs.empty(); }

    void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title = "") override;
    bool AskYesNo(const std::string& text, MessageIcon icon, const std::string& title = "") override;
    std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) override;
    std::string ChooseFile(const std::string& filter, const std::string& initialFolder) override;
    MonitorAnswer AskMonitor(const std::string& message, const std::vector<std::string>& newEntries) override;

    void SetStatus(const std::string& text) override;
    void SetCaption(const std::string&) override {}

    bool LoadFileIcon(const std::string&, int) override { return false; }
    bool ShowsIcons() const override { return false; }

    void MinimiseWindow() override {}
    void ShowWindowNormal() override {}
    void HideWindow() override {}
    void CentreWindow() override {}
    void AddTrayIcon(const std::string&) override {}
    void RemoveTrayIcon() override {}
    void ShowBalloon(const std::string&, const std::string&, int) override {}
    void CopyToClipboard(const std::string& text) override;

    void ShowItemEditor() override;
    void ShowProfilesDialog() override;

    void Quit() override { quitRequested_ = true; }

private:
    // A line typed on the terminal after `prompt`; nullopt at the end of input.
    std::optional<std::string> AskTerminal(const std::string& prompt);

    ConsoleAnswers answers_;
    bool interactive_;
    std::istream& in_;
    std::ostream& out_;
    std::ostream& err_;
    std::optional<std::pair<TableKind, int>> selected_;
    std::vector<ShownMessage> messages_;
    std::vector<std::string> statuses_;
    bool quitRequested_ = false;
};

}  // namespace kestrune::cli
