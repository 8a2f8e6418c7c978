#include "platform/emulated/TextCodec.h"

#include <array>
#include <cstdint>
#include <vector>

namespace kestrune::platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Code page 1252's 0x80..0x9F; the rest of its upper half equals Latin-1.
constexpr std::array<char16_t, 32> kCp1252High = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                                  0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Decodes one code point at `pos`, advancing it; malformed sequences give U+FFFD and
// consume one byte, so the walk always ends.
char32_t NextCodePoint(std::string_view text, size_t& pos, bool& valid) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, minimum = 0x10000;
    }
    if (length == 0 || pos + length > text.size()) {
        ++pos;
        valid = false;
        return kReplacement;
    }
    for (int i = 1; i < length; ++i) {
        const unsigned char next = byte(pos + i);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            valid = false;
            return kReplacement;
        }
        c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++pos;
        valid = false;
        return kReplacement;
    }
    pos += length;
    return c;
}

std::vector<char32_t> CodePoints(std::string_view text) {
    std::vector<char32_t> points;
    points.reserve(text.size());
    bool valid = true;
    for (size_t pos = 0; pos < text.size();) points.push_back(NextCodePoint(text, pos, valid));
    return points;
}

char32_t FoldCodePoint(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c < 0x80) return c;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;  // Latin-1
    if (c == 0x178) return 0xFF;
    if (c >= 0x100 && c <= 0x17E && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149) {
        // Latin Extended-A pairs upper/lower by parity, shifted at 0x139..0x148 and 0x179..0x17E.
        const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (oddUpper ? (c % 2 == 1) : (c % 2 == 0)) return c + 1;
        return c;
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;  // Greek
    if (c >= 0x410 && c <= 0x42F) return c + 32;                // Cyrillic
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    return c;
}

}  // namespace

std::string Utf16LeToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    const size_t units = bytes.size() / 2;
    const auto unit = [&](size_t i) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    };
    for (size_t i = 0; i < units; ++i) {
        const char16_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            const char16_t low = unit(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : u);
    }
    if (bytes.size() % 2 != 0) AppendUtf8(out, kReplacement);
    return out;
}

std::string Utf8ToUtf16Le(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    const auto put = [&out](char32_t u) {
        out.push_back(static_cast<char>(u & 0xFF));
        out.push_back(static_cast<char>((u >> 8) & 0xFF));
    };
    for (char32_t c : CodePoints(text)) {
        if (c >= 0x10000) {
            c -= 0x10000;
            put(0xD800 + (c >> 10));
            put(0xDC00 + (c & 0x3FF));
        } else {
            put(c);
        }
    }
    return out;
}

std::string AnsiToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        AppendUtf8(out, (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : b);
    }
    return out;
}

std::string Utf8ToAnsi(std::string_view text) {
    std::string out;
    for (char32_t c : CodePoints(text)) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        char mapped = '?';
        for (size_t i = 0; i < kCp1252High.size(); ++i) {
            if (kCp1252High[i] == c && c != kReplacement) mapped = static_cast<char>(0x80 + i);
        }
        out.push_back(mapped);
    }
    return out;
}

bool IsValidUtf8(std::string_view text) {
    bool valid = true;
    for (size_t pos = 0; pos < text.size() && valid;) NextCodePoint(text, pos, valid);
    return valid;
}

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

std::string FoldCase(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    if (IsAscii(text)) {
        for (char c : text) out.push_back(static_cast<char>(FoldCodePoint(static_cast<unsigned char>(c))));
        return out;
    }
    for (char32_t c : CodePoints(text)) AppendUtf8(out, FoldCodePoint(c));
    return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (IsAscii(a) && IsAscii(b)) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i) {
            if (FoldCodePoint(static_cast<unsigned char>(a[i])) != FoldCodePoint(static_cast<unsigned char>(b[i])))
                return false;
        }
        return true;
    }
    return FoldCase(a) == FoldCase(b);
}

}  // namespace kestrune::platform
