#include "cli/ConsoleFrontEnd.h"

#include <istream>
#include <ostream>

#include "app/Text.h"

namespace kestrune::cli {

namespace {

constexpr const char* kYesNoPrompt = " [y/n] ";
constexpr const char* kMonitorPrompt = "Allow? [y/n] ";
constexpr const char* kRememberPrompt = "Remember your decision? [y/n] ";
constexpr const char* kInputDefault = " [";

// Message texts keep their line breaks; a terminal wants "\n" alone.
std::string ForTerminal(const std::string& text) { return ReplaceAll(text, "\r\n", "\n"); }

// The first line of a question, for a one-line error.
std::string FirstLine(const std::string& text) {
    const std::string plain = ForTerminal(text);
    return plain.substr(0, plain.find('\n'));
}

std::optional<bool> ReadYesNo(const std::string& line) {
    const std::string answer = ToLower(Trim(line));
    if (answer == "y" || answer == "yes") return true;
    if (answer == "n" || answer == "no") return false;
    return std::nullopt;
}

}  // namespace

UnansweredQuestion::UnansweredQuestion(const std::string& question, const std::string& options)
    : std::runtime_error("the program asks \"" + FirstLine(question) + "\": answer it with " + options) {}

ConsoleFrontEnd::ConsoleFrontEnd(ConsoleAnswers answers, bool interactive, std::istream& in, std::ostream& out,
                                 std::ostream& err)
    : answers_(std::move(answers)), interactive_(interactive), in_(in), out_(out), err_(err) {}

void ConsoleFrontEnd::Select(TableKind kind, int position) { selected_ = std::make_pair(kind, position); }

std::vector<int> ConsoleFrontEnd::SelectedRows(TableKind kind) const {
    if (selected_ && selected_->first == kind) return {selected_->second};
    return {};
}

void ConsoleFrontEnd::ShowMessage(const std::string& text, MessageIcon icon, const std::string&) {
    messages_.push_back({text, icon});
    err_ << ForTerminal(text) << std::endl;
}

std::optional<std::string> ConsoleFrontEnd::AskTerminal(const std::string& prompt) {
    err_ << prompt << std::flush;
    std::string line;
    if (!std::getline(in_, line)) return std::nullopt;
    return line;
}

bool ConsoleFrontEnd::AskYesNo(const std::string& text, MessageIcon, const std::string&) {
    if (answers_.yesNo) return *answers_.yesNo;
    if (interactive_) {
        for (;;) {
            const auto line = AskTerminal(ForTerminal(text) + kYesNoPrompt);
            if (!line) break;
            if (const auto answer = ReadYesNo(*line)) return *answer;
        }
    }
    throw UnansweredQuestion(text, kYesNoOptions);
}

std::string ConsoleFrontEnd::InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) {
    if (!answers_.inputs.empty()) {
        std::string answer = std::move(answers_.inputs.front());
        answers_.inputs.pop_front();
        return answer;
    }
    if (interactive_) {
        const std::string shown = (title.empty() ? "" : title + ": ") + prompt +
                                  (defaultText.empty() ? std::string(" ") : kInputDefault + defaultText + "] ");
        if (const auto line = AskTerminal(shown)) return line->empty() ? defaultText : *line;
        return {};
    }
    throw UnansweredQuestion(prompt, "the command's own arguments");
}

std::string ConsoleFrontEnd::ChooseFile(const std::string&, const std::string&) {
    if (answers_.files.empty()) return {};
    std::string file = std::move(answers_.files.front());
    answers_.files.pop_front();
    return file;
}

MonitorAnswer ConsoleFrontEnd::AskMonitor(const std::string& message, const std::vector<std::string>& newEntries) {
    err_ << ForTerminal(message) << std::endl;
    for (const std::string& entry : newEntries) err_ << "  " << entry << std::endl;
    if (answers_.monitorKeep) return {*answers_.monitorKeep, answers_.remember};
    if (interactive_) {
        std::optional<bool> keep;
        while (!keep) {
            const auto line = AskTerminal(kMonitorPrompt);
            if (!line) break;
            keep = ReadYesNo(*line);
        }
        if (keep) {
            bool remember = answers_.remember;
            if (!remember) {
                const auto line = AskTerminal(kRememberPrompt);
                remember = line && ReadYesNo(*line).value_or(false);
            }
            return {*keep, remember};
        }
    }
    throw UnansweredQuestion(message, kMonitorOptions);
}

void ConsoleFrontEnd::SetStatus(const std::string& text) {
    statuses_.push_back(text);
    if (echoStatus) out_ << text << std::endl;
}

void ConsoleFrontEnd::CopyToClipboard(const std::string& text) { out_ << text << std::endl; }

void ConsoleFrontEnd::ShowItemEditor() {
    if (onItemEditor) onItemEditor();
}

void ConsoleFrontEnd::ShowProfilesDialog() {
    if (onProfilesDialog) onProfilesDialog();
}

}  // namespace kestrune::cli
