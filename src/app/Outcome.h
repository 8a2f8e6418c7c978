#pragma once
// What a user command came to: whether it was done, refused, cancelled or found nothing to do,
// the messages and status line the user is shown about it, and what it did in plain words.
// The command only says this; a front end decides how to show it (a message box and the
// status line, or lines on a terminal and an exit status).

#include <string>
#include <utility>
#include <vector>

#include "app/Prompts.h"

namespace kestrune {

enum class OutcomeStatus {
    Done,         // the command changed what it was asked to change
    NothingToDo,  // everything already was as asked
    Cancelled,    // the user said no to a question
    Refused,      // one of the program's rules, the system or the settings file said no
};

struct OutcomeMessage {
    std::string text;
    MessageIcon icon = MessageIcon::None;
    std::string caption;  // "" for the program's title
    bool operator==(const OutcomeMessage&) const = default;
};

struct Outcome {
    OutcomeStatus status = OutcomeStatus::NothingToDo;
    // The status line the command leaves; "" leaves the line alone.
    std::string statusLine;
    // Message boxes, in the order the user sees them.
    std::vector<OutcomeMessage> messages;
    // What was done (or why not), one sentence each, for a reader who sees no table.
    std::vector<std::string> details;
    // Refused by the system or by the settings file rather than by one of the program's own
    // rules: a command that began a step on the strength of the change takes that step back.
    bool refusedBySystem = false;

    static Outcome Of(OutcomeStatus status, std::string detail = {}) {
        Outcome outcome;
        outcome.status = status;
        if (!detail.empty()) outcome.details.push_back(std::move(detail));
        return outcome;
    }
    bool Succeeded() const { return status == OutcomeStatus::Done || status == OutcomeStatus::NothingToDo; }

    Outcome& Say(std::string text, MessageIcon icon, std::string caption = {}) {
        messages.push_back({std::move(text), icon, std::move(caption)});
        return *this;
    }
    // Folds the outcome of one more row in: the messages and details add up, and the status
    // is the one that tells most (one row done makes the command done; otherwise a refusal
    // outweighs a cancel, which outweighs nothing to do).
    void Add(Outcome other);
};

}  // namespace kestrune
