#include "app/Text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace kestrune {

namespace {

// Folds one character; Latin-1 capitals in UTF-8 are C3 80..C3 9E (except C3 97, the
// multiplication sign), their small forms are C3 A0..C3 BE.
void AppendFolded(std::string& out, std::string_view text, size_t& i, bool upper) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == 0xC3 && i + 1 < text.size()) {
        unsigned char d = static_cast<unsigned char>(text[i + 1]);
        if (!upper && d >= 0x80 && d <= 0x9E && d != 0x97) d = static_cast<unsigned char>(d + 0x20);
        if (upper && d >= 0xA0 && d <= 0xBE && d != 0xB7) d = static_cast<unsigned char>(d - 0x20);
        out.push_back(static_cast<char>(c));
        out.push_back(static_cast<char>(d));
        ++i;
        return;
    }
    if (!upper && c >= 'A' && c <= 'Z') out.push_back(static_cast<char>(c + 32));
    else if (upper && c >= 'a' && c <= 'z') out.push_back(static_cast<char>(c - 32));
    else out.push_back(static_cast<char>(c));
}

std::string Fold(std::string_view text, bool upper) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) AppendFolded(out, text, i, upper);
    return out;
}

}  // namespace

std::string ToLower(std::string_view text) { return Fold(text, false); }
std::string ToUpper(std::string_view text) { return Fold(text, true); }

int CompareIgnoreCase(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 0x80 || y >= 0x80) {
            const int c = ToLower(a.substr(i)).compare(ToLower(b.substr(i)));
            return c < 0 ? -1 : (c > 0 ? 1 : 0);
        }
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) { return CompareIgnoreCase(a, b) == 0; }

bool ContainsIgnoreCase(std::string_view text, std::string_view part) {
    return ToLower(text).find(ToLower(part)) != std::string::npos;
}

std::string Trim(std::string_view text) {
    size_t begin = 0, end = text.size();
    while (begin < end && text[begin] == ' ') ++begin;
    while (end > begin && text[end - 1] == ' ') --end;
    return std::string(text.substr(begin, end - begin));
}

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
    std::vector<std::string> parts;
    if (separator.empty()) {
        parts.emplace_back(text);
        return parts;
    }
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(separator, start);
        if (at == std::string_view::npos) {
            parts.emplace_back(text.substr(start));
            return parts;
        }
        parts.emplace_back(text.substr(start, at - start));
        start = at + separator.size();
    }
}

std::string Join(const std::vector<std::string>& parts, std::string_view separator) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) out += separator;
        out += parts[i];
    }
    return out;
}

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
    if (from.empty()) return text;
    size_t at = 0;
    while ((at = text.find(from, at)) != std::string::npos) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
    return text;
}

int CountOccurrences(std::string_view text, std::string_view separator) {
    if (separator.empty()) return 0;
    int count = 0;
    for (size_t at = text.find(separator); at != std::string_view::npos;
         at = text.find(separator, at + separator.size()))
        ++count;
    return count;
}

std::string GetField(std::string_view text, std::string_view separator, int n) {
    if (n < 1) return {};
    const auto parts = Split(text, separator);
    return n <= static_cast<int>(parts.size()) ? parts[static_cast<size_t>(n - 1)] : std::string{};
}

double LeadingNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    size_t j = i;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    const size_t digitsStart = j;
    while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
    if (j < text.size() && text[j] == '.') {
        ++j;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
    }
    if (j == digitsStart || (j == digitsStart + 1 && text[digitsStart] == '.')) return 0.0;
    if (j < text.size() && (text[j] == 'e' || text[j] == 'E')) {
        size_t k = j + 1;
        if (k < text.size() && (text[k] == '+' || text[k] == '-')) ++k;
        if (k < text.size() && text[k] >= '0' && text[k] <= '9') {
            while (k < text.size() && text[k] >= '0' && text[k] <= '9') ++k;
            j = k;
        }
    }
    const std::string number(text.substr(i, j - i));
    return std::strtod(number.c_str(), nullptr);
}

std::int64_t RoundHalfEven(double value) {
    if (!std::isfinite(value)) return 0;
    // Converting a double beyond the 64-bit range is undefined; "1e300" in a file must not be.
    constexpr double kBeyond = 9223372036854775808.0;  // 2^63
    if (value >= kBeyond) return std::numeric_limits<std::int64_t>::max();
    if (value < -kBeyond) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(std::nearbyint(value));  // the default mode rounds halves to even
}

std::optional<std::int64_t> ParseWholeNumber(std::string_view text) {
    const std::string trimmed = Trim(text);
    if (trimmed.empty()) return std::nullopt;
    const char* begin = trimmed.c_str();
    char* end = nullptr;
    const double value = std::strtod(begin, &end);
    if (end == begin || *end != '\0' || !std::isfinite(value)) return std::nullopt;
    return RoundHalfEven(value);
}

std::string BoolToIni(bool flag) { return flag ? "1" : "0"; }
bool IniToBool(std::string_view text) { return text == "1"; }

}  // namespace kestrune
