#pragma once
// The three forms a priority is written in: the text the Process and Delayed tables hold, the
// priority-class value the system sets, and the base priority it reports for a running process.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrune {

// Letter case is ignored; an unknown text (the empty one too) names no class, and the
// priority is then left alone.
std::optional<std::uint32_t> PriorityClassFromText(std::string_view text);
// Any base priority that is not one of the known levels reads as "Normal".
std::string PriorityTextFromBase(int basePriority);
// "" for a value that is not a priority class.
std::string PriorityTextFromClass(std::uint32_t value);

// The texts in the order the item editor offers them; the first leaves the priority alone.
extern const std::array<std::string_view, 7> kPriorityTexts;

// The entries of the "Set Priority" menu, in menu order, with the class each one sets.
struct SetPriorityEntry {
    std::string_view caption;
    std::uint32_t value;
};
extern const std::array<SetPriorityEntry, 6> kSetPriorityEntries;

// The index in kSetPriorityEntries of the entry to check for a row showing `priorityText`
// (letter case ignored); -1 when no entry matches.
int SetPriorityEntryFor(std::string_view priorityText);

}  // namespace kestrune
