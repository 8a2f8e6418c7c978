#include "platform/emulated/SiblingProgramFiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string_view>

namespace kestrune::platform {

namespace {

// An icon or a version file is small; anything larger is not one, and is not read whole.
constexpr std::size_t kMaxSiblingSize = std::size_t{1024} * 1024;

constexpr std::string_view kIcoMagic{"\0\0\1\0", 4};
constexpr std::string_view kPngMagic{"\x89PNG\r\n\x1a\n", 8};

std::string Native(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

bool IsOrdinaryFile(const std::string& path, std::size_t* size = nullptr) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if (size) *size = static_cast<std::size_t>(st.st_size);
    return true;
}

std::optional<std::string> ReadSmallFile(const std::string& path) {
    std::size_t size = 0;
    if (!IsOrdinaryFile(path, &size) || size > kMaxSiblingSize) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() > kMaxSiblingSize) return std::nullopt;
    return bytes;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

std::optional<IconPicture> SiblingProgramFiles::FirstIcon(const std::string& file) {
    const std::string program = Native(file);
    if (!IsOrdinaryFile(program)) return std::nullopt;
    for (const char* suffix : kIconSuffixes) {
        auto bytes = ReadSmallFile(program + suffix);
        // A file of that name that is no picture gives no icon, as a damaged resource would not.
        if (!bytes || !(StartsWith(*bytes, kIcoMagic) || StartsWith(*bytes, kPngMagic))) continue;
        IconPicture picture;
        picture.encoded = std::move(*bytes);
        return picture;
    }
    return std::nullopt;
}

std::string SiblingProgramFiles::Publisher(const std::string& file) {
    const std::string program = Native(file);
    if (!IsOrdinaryFile(program)) return "";
    const auto text = ReadSmallFile(program + kVersionSuffix);
    if (!text) return "";
    std::istringstream lines(*text);
    std::string line;
    while (std::getline(lines, line)) {
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        if (EqualsIgnoreAsciiCase(Trimmed(std::string_view(line).substr(0, equals)), kCompanyNameKey))
            return std::string(Trimmed(std::string_view(line).substr(equals + 1)));
    }
    return "";
}

}  // namespace kestrune::platform
