#pragma once
// What a command may have to ask a person while it runs: a message it must see before the
// command goes on, a yes/no question, an input box, a file choice, the monitor's question.
// Commands take this and nothing wider, so a test or the console can answer for the user.

#include <string>
#include <vector>

namespace kestrune {

enum class MessageIcon { None, Information, Exclamation, Critical };

struct MonitorAnswer {
    bool keep = false;      // "Allow": the new entries may stay
    bool remember = false;  // "Remember your decision" was checked
    // False when the question closed without a button (the session or the program ended):
    // no answer, so the entries stay where they are and are asked about at the next start.
    bool answered = true;
};

class Prompts {
public:
    virtual ~Prompts() = default;

    // Message boxes; the title is the program's title unless given.
    virtual void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title = "") = 0;
    virtual bool AskYesNo(const std::string& text, MessageIcon icon, const std::string& title = "") = 0;
    // An input box; "" for Cancel as well as for an empty answer.
    virtual std::string InputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) = 0;
    // An open-file dialog; filter as "XML files (*.xml)|*.xml"; "" when cancelled.
    virtual std::string ChooseFile(const std::string& filter, const std::string& initialFolder) = 0;
    // The monitor's prompt (modal): its own text, and under it each new entry with its place
    // ("Updater — HKCU Run"), so that the user knows where each one registered.
    virtual MonitorAnswer AskMonitor(const std::string& message, const std::vector<std::string>& newEntries) = 0;
};

}  // namespace kestrune
