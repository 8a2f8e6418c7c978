#pragma once
// The entries of a monitor question that is open, kept in a file beside the program from the
// moment it is asked until its answer has been carried out. The end of a session, a closed
// program or a killed one is no answer: at the next start the entries still in their places
// are asked about again.

#include <string>
#include <vector>

#include "app/TableKind.h"

namespace kestrune {

struct Services;

inline constexpr const char* kUnansweredFileName = "unanswered.txt";

struct UnansweredEntry {
    TableKind kind;
    std::string identity;  // MonitorEntry::identity
    bool operator==(const UnansweredEntry&) const = default;
};

// Writes the entries of the question about to be asked; false when the file could not be written.
bool KeepUnanswered(Services& services, const std::string& file, const std::vector<UnansweredEntry>& entries);
// The entries of a question that was never answered; none when there is no such file.
std::vector<UnansweredEntry> ReadUnanswered(Services& services, const std::string& file);
// The question was answered (or needs none any more).
void ForgetUnanswered(Services& services, const std::string& file);

}  // namespace kestrune
