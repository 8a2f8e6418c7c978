#include "platform/emulated/RegFile.h"

#include <cstdint>
#include <cstdio>

#include "platform/emulated/TextCodec.h"

namespace kestrune::platform {

namespace {

constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kLineEnd = "\r\n";
constexpr size_t kWrapColumn = 80;

struct Fault {
    int line;
    std::string message;
};

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    return s;
}

std::string_view Trim(std::string_view s) {
    s = TrimLeft(s);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The file's text in UTF-8, whichever encoding the editor saved it in.
std::string DecodeFile(std::string_view bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE)
        return Utf16LeToUtf8(bytes.substr(2));
    // A UTF-8 mark is only a claim: bytes that are not UTF-8 after it are read as ANSI, as
    // they would be without it, so that the text written back reads the same again.
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    if (IsValidUtf8(bytes)) return std::string(bytes);
    return AnsiToUtf8(bytes);
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            std::string_view line = text.substr(start, i - start);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            lines.push_back(line);
            start = i + 1;
        }
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// A quoted text starting at text[0] == '"'; `after` receives what follows the closing quote.
std::optional<std::string> ReadQuoted(std::string_view text, std::string_view& after) {
    std::string out;
    for (size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            after = text.substr(i + 1);
            return out;
        }
        if (c == '\\' && i + 1 < text.size()) {
            const char next = text[++i];
            if (next != '\\' && next != '"') out.push_back('\\');
            out.push_back(next);
            continue;
        }
        out.push_back(c);
    }
    return std::nullopt;
}

std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

class Parser {
public:
    Parser(std::vector<std::string_view> lines, bool unicode) : lines_(std::move(lines)), unicode_(unicode) {}

    RegFile Run() {
        RegFile file;
        for (index_ = 1; index_ < lines_.size(); ++index_) {
            const std::string_view line = Trim(lines_[index_]);
            if (line.empty() || line.front() == ';') continue;
            if (line.front() == '[') {
                file.keys.push_back(ReadKey(line));
                continue;
            }
            if (line.front() != '"' && line.front() != '@') Fail("a value line must begin with a quoted name or @");
            if (file.keys.empty()) Fail("a value stands before the first [key] line");
            if (file.keys.back().remove) Fail("a value stands under a deleted key");
            file.keys.back().values.push_back(ReadValue(line));
        }
        return file;
    }

private:
    [[noreturn]] void Fail(std::string message) const { throw Fault{static_cast<int>(index_ + 1), std::move(message)}; }

    RegFileKey ReadKey(std::string_view line) const {
        if (line.back() != ']') Fail("a [key] line lacks its closing ]");
        std::string_view path = line.substr(1, line.size() - 2);
        RegFileKey key;
        if (!path.empty() && path.front() == '-') {
            key.remove = true;
            path.remove_prefix(1);
        }
        while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
        if (path.empty()) Fail("a [key] line names no key");
        key.path = std::string(path);
        return key;
    }

    RegFileValue ReadValue(std::string_view line) {
        RegFileValue entry;
        std::string_view rest;
        if (line.front() == '@') {
            rest = line.substr(1);
        } else {
            auto name = ReadQuoted(line, rest);
            if (!name) Fail("a value name lacks its closing quote");
            entry.value.name = std::move(*name);
        }
        rest = TrimLeft(rest);
        if (rest.empty() || rest.front() != '=') Fail("a value name is not followed by =");
        rest = Trim(rest.substr(1));
        if (rest == "-") {
            entry.remove = true;
            return entry;
        }
        if (!rest.empty() && rest.front() == '"') {
            std::string_view after;
            auto data = ReadQuoted(rest, after);
            if (!data) Fail("a string value lacks its closing quote");
            if (!Trim(after).empty()) Fail("text follows a string value");
            entry.value.type = ValueType::String;
            entry.value.data = std::move(*data);
            return entry;
        }
        if (StartsWithIgnoringCase(rest, "dword:")) {
            const std::string_view digits = rest.substr(6);
            if (digits.empty() || digits.size() > 8) Fail("a dword value needs 1 to 8 hexadecimal digits");
            std::uint32_t number = 0;
            for (char c : digits) {
                const int d = HexDigit(c);
                if (d < 0) Fail("a dword value holds a character that is not hexadecimal");
                number = number * 16 + static_cast<std::uint32_t>(d);
            }
            entry.value.type = ValueType::Dword;
            for (int i = 0; i < 4; ++i) entry.value.data.push_back(static_cast<char>((number >> (8 * i)) & 0xFF));
            return entry;
        }
        if (!StartsWithIgnoringCase(rest, "hex")) Fail("a value's data is neither quoted text, dword: nor hex:");
        rest.remove_prefix(3);
        std::uint32_t type = static_cast<std::uint32_t>(ValueType::Binary);
        if (!rest.empty() && rest.front() == '(') {
            const size_t close = rest.find(')');
            if (close == std::string_view::npos || close == 1 || close > 9) Fail("a hex(type) lacks a valid type");
            type = 0;
            for (char c : rest.substr(1, close - 1)) {
                const int d = HexDigit(c);
                if (d < 0) Fail("a hex(type) lacks a valid type");
                type = type * 16 + static_cast<std::uint32_t>(d);
            }
            rest.remove_prefix(close + 1);
        }
        if (rest.empty() || rest.front() != ':') Fail("hex data must follow a colon");
        const std::string bytes = ReadHexBytes(rest.substr(1));
        entry.value.type = static_cast<ValueType>(type);
        entry.value.data = FromStoredBytes(entry.value.type, bytes);
        return entry;
    }

    // Comma-separated bytes, continued on the next line after a trailing backslash.
    std::string ReadHexBytes(std::string_view text) {
        std::string bytes;
        for (;;) {
            text = Trim(text);
            const bool continued = !text.empty() && text.back() == '\\';
            if (continued) text.remove_suffix(1);
            size_t pos = 0;
            while (pos < text.size()) {
                size_t comma = text.find(',', pos);
                const bool last = comma == std::string_view::npos;
                if (last) comma = text.size();
                const std::string_view item = Trim(text.substr(pos, comma - pos));
                pos = comma + 1;
                if (item.empty() && last) break;
                if (item.empty() || item.size() > 2) Fail("hex data holds an item that is not one byte");
                int value = 0;
                for (char c : item) {
                    const int d = HexDigit(c);
                    if (d < 0) Fail("hex data holds a character that is not hexadecimal");
                    value = value * 16 + d;
                }
                bytes.push_back(static_cast<char>(value));
            }
            if (!continued) return bytes;
            if (++index_ >= lines_.size()) {
                --index_;
                Fail("hex data is continued past the end of the file");
            }
            text = lines_[index_];
        }
    }

    // The stored form of hex data: strings become UTF-8 text without terminators.
    std::string FromStoredBytes(ValueType type, const std::string& bytes) const {
        if (type != ValueType::String && type != ValueType::ExpandString && type != ValueType::MultiString)
            return bytes;
        std::string text = unicode_ ? Utf16LeToUtf8(bytes) : AnsiToUtf8(bytes);
        if (type != ValueType::MultiString) {
            // Only the terminator goes; a NUL inside the data is data.
            if (!text.empty() && text.back() == '\0') text.pop_back();
            return text;
        }
        while (!text.empty() && text.back() == '\0') text.pop_back();
        if (!text.empty()) text.push_back('\0');
        return text;
    }

    std::vector<std::string_view> lines_;
    bool unicode_;
    size_t index_ = 0;
};

std::string TypeTag(ValueType type) {
    if (type == ValueType::Binary) return "hex:";
    char tag[16];
    std::snprintf(tag, sizeof tag, "hex(%x):", static_cast<unsigned>(type));
    return tag;
}

void AppendHex(std::string& out, std::string lineStart, std::string_view bytes) {
    std::string line = std::move(lineStart);
    for (size_t i = 0; i < bytes.size(); ++i) {
        char item[4];
        std::snprintf(item, sizeof item, "%02x%s", static_cast<unsigned char>(bytes[i]),
                      i + 1 < bytes.size() ? "," : "");
        if (line.size() + 3 + 1 > kWrapColumn) {
            out += line;
            out += "\\";
            out += kLineEnd;
            line = "  ";
        }
        line += item;
    }
    out += line;
}

std::string FormatValue(const RegistryValue& value) {
    const std::string start = value.name.empty() ? "@=" : Quote(value.name) + "=";
    const std::string& data = value.data;
    std::string line;
    switch (value.type) {
        case ValueType::String:
            if (data.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos) return start + Quote(data);
            AppendHex(line, start + TypeTag(value.type), Utf8ToUtf16Le(data) + std::string(2, '\0'));
            return line;
        case ValueType::ExpandString:
        case ValueType::MultiString:
            // A multi-string's data ends with its last string's NUL; the list's own NUL follows.
            AppendHex(line, start + TypeTag(value.type), Utf8ToUtf16Le(data) + std::string(2, '\0'));
            return line;
        case ValueType::Dword:
            if (data.size() == 4) {
                std::uint32_t number = 0;
                for (int i = 3; i >= 0; --i) number = (number << 8) | static_cast<unsigned char>(data[i]);
                char text[20];
                std::snprintf(text, sizeof text, "dword:%08x", number);
                return start + text;
            }
            break;
        default: break;
    }
    AppendHex(line, start + TypeTag(value.type), data);
    return line;
}

}  // namespace

std::string RegFileParse::Describe() const {
    if (file) return "";
    return "line " + std::to_string(errorLine) + ": " + error;
}

RegFileParse ParseRegFile(std::string_view bytes) {
    RegFileParse result;
    const std::string text = DecodeFile(bytes);
    std::vector<std::string_view> lines = SplitLines(text);
    const std::string_view header = lines.empty() ? std::string_view() : Trim(lines.front());
    const bool unicode = header == kHeader5;
    if (!unicode && header != kHeader4) {
        result.errorLine = 1;
        result.error = "the first line is neither \"Windows Registry Editor Version 5.00\" nor \"REGEDIT4\"";
        return result;
    }
    try {
        result.file = Parser(std::move(lines), unicode).Run();
    } catch (const Fault& fault) {
        result.errorLine = fault.line;
        result.error = fault.message;
    }
    return result;
}

std::string FormatRegFile(const RegFile& file) {
    std::string out(kHeader5);
    out += kLineEnd;
    for (const RegFileKey& key : file.keys) {
        out += kLineEnd;
        out += key.remove ? "[-" : "[";
        out += key.path;
        out += "]";
        out += kLineEnd;
        for (const RegFileValue& entry : key.values) {
            if (entry.remove) {
                out += (entry.value.name.empty() ? std::string("@") : Quote(entry.value.name)) + "=-";
            } else {
                out += FormatValue(entry.value);
            }
            out += kLineEnd;
        }
    }
    out += kLineEnd;
    return out;
}

}  // namespace kestrune::platform
