#pragma once
// Small text helpers shared by every part of the program.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune {

// Letter case folded the way the program compares names and paths (ASCII letters and the
// Latin-1 letters of UTF-8 text).
std::string ToLower(std::string_view text);
std::string ToUpper(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool ContainsIgnoreCase(std::string_view text, std::string_view part);
// <0, 0, >0 like strcmp, ignoring case.
int CompareIgnoreCase(std::string_view a, std::string_view b);
// Orders sets and maps whose keys are equal when they are equal ignoring case.
struct LessIgnoringCase {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return CompareIgnoreCase(a, b) < 0; }
};

std::string Trim(std::string_view text);  // leading and trailing spaces
std::vector<std::string> Split(std::string_view text, std::string_view separator);
std::string Join(const std::vector<std::string>& parts, std::string_view separator);
std::string ReplaceAll(std::string text, std::string_view from, std::string_view to);

// The number of pieces minus one: how often `separator` stands in `text`.
int CountOccurrences(std::string_view text, std::string_view separator);
// The n-th piece (from 1) of `text` cut at `separator`; "" when there are fewer pieces.
std::string GetField(std::string_view text, std::string_view separator, int n);

// The leading number of a text ("12abc" -> 12, " -2.5" -> -2.5, "abc" -> 0), as the
// program's number reading does.
double LeadingNumber(std::string_view text);
// Rounds to the nearest whole number, halves to even; beyond the 64-bit range, to its end.
std::int64_t RoundHalfEven(double value);
// A whole number read from text: "" when it does not read as a number, otherwise rounded
// halves to even.
std::optional<std::int64_t> ParseWholeNumber(std::string_view text);

std::string BoolToIni(bool flag);
bool IniToBool(std::string_view text);

}  // namespace kestrune
