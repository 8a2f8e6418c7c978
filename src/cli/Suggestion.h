#pragma once
// "Did you mean": the known word a mistyped one was most likely meant to be.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kestrune::cli {

// The candidate nearest to `typed` by edit distance, ignoring case, when it is near enough to
// be a slip of the fingers rather than another word (at most two edits, and fewer edits than
// half the candidate's letters). Ties go to the earlier candidate.
std::optional<std::string> ClosestWord(std::string_view typed, std::span<const std::string> candidates);

// `; did you mean "disable"?`, or "" without a near candidate.
std::string DidYouMean(std::string_view typed, std::span<const std::string> candidates);

}  // namespace kestrune::cli
