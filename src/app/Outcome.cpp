#include "app/Outcome.h"

#include <iterator>

namespace kestrune {

namespace {

int Weight(OutcomeStatus status) {
    switch (status) {
        case OutcomeStatus::Done: return 3;
        case OutcomeStatus::Refused: return 2;
        case OutcomeStatus::Cancelled: return 1;
        case OutcomeStatus::NothingToDo: break;
    }
    return 0;
}

}  // namespace

void Outcome::Add(Outcome other) {
    if (Weight(other.status) > Weight(status)) status = other.status;
    if (!other.statusLine.empty()) statusLine = std::move(other.statusLine);
    refusedBySystem = refusedBySystem || other.refusedBySystem;
    messages.insert(messages.end(), std::make_move_iterator(other.messages.begin()),
                    std::make_move_iterator(other.messages.end()));
    details.insert(details.end(), std::make_move_iterator(other.details.begin()),
                   std::make_move_iterator(other.details.end()));
}

}  // namespace kestrune
