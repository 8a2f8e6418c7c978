#include "cli/Suggestion.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "app/Text.h"

namespace kestrune::cli {

namespace {

constexpr size_t kMostEdits = 2;

// Levenshtein distance, with a swap of two neighbouring letters counted as one edit: "disbale"
// is one slip away from "disable", not two.
size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

}  // namespace

std::optional<std::string> ClosestWord(std::string_view typed, std::span<const std::string> candidates) {
    const std::string word = ToLower(Trim(typed));
    if (word.empty()) return std::nullopt;
    std::optional<std::string> best;
    size_t bestDistance = kMostEdits + 1;
    for (const std::string& candidate : candidates) {
        const size_t distance = EditDistance(word, ToLower(candidate));
        if (distance >= bestDistance || distance * 2 >= candidate.size()) continue;
        best = candidate;
        bestDistance = distance;
    }
    return best;
}

std::string DidYouMean(std::string_view typed, std::span<const std::string> candidates) {
    const auto word = ClosestWord(typed, candidates);
    return word ? "; did you mean \"" + *word + "\"?" : std::string();
}

}  // namespace kestrune::cli
