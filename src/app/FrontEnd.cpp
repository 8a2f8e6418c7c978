#include "app/FrontEnd.h"

namespace kestrune {

void FrontEnd::ShowOutcome(const Outcome& outcome) {
    if (!outcome.statusLine.empty()) SetStatus(outcome.statusLine);
    for (const OutcomeMessage& message : outcome.messages) ShowMessage(message.text, message.icon, message.caption);
}

}  // namespace kestrune
