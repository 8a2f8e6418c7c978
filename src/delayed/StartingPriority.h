#pragma once
// A program the delayed run starts is at its busiest in its first seconds, just when the user
// is starting to work: it starts at a low priority class and goes back to Normal once it has
// been followed, so that it takes the processor only when the user's own programs leave it
// free. A priority the user stored for the program, on its Delayed row or on a Process row,
// always wins: such a program is never lowered, and one the user gives another class while it
// is low is not put back.

#include <cstdint>
#include <string>

#include "platform/Processes.h"

namespace kestrune {

class Table;

inline constexpr platform::PriorityClass kStartingClass = platform::PriorityClass::Idle;

// The program of `command` has a class of its own: `rowPriority` (its Delayed row's) names one,
// or a ticked row of the Process table `stored` does for its file name.
bool HasOwnPriority(const Table& stored, const std::string& command, const std::string& rowPriority);
// Puts the process at kStartingClass; true when the system took it.
bool LowerWhileStarting(platform::Processes& processes, std::uint32_t id);
// Puts a lowered process back to Normal, unless it has ended or meanwhile been given another
// class; true when it was put back.
bool RestoreAfterStarting(platform::Processes& processes, std::uint32_t id);

}  // namespace kestrune
