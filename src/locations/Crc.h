#pragma once
// Checksums of bytes, text and whole files: CRC-16/XMODEM or CRC-32 (as zlib and PNG use),
// with a running value so that pieces can be added one after another.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrune {

namespace platform {
class FileSystem;
}

class Crc {
public:
    // true selects CRC-32, false CRC-16/XMODEM.
    explicit Crc(bool crc32 = true) { SetAlgorithm(crc32); }

    bool Algorithm() const { return crc32_; }
    // Selects the algorithm and clears the running value.
    void SetAlgorithm(bool crc32);
    void Clear();

    std::uint32_t AddBytes(std::string_view bytes);
    // Text is added as its bytes (UTF-8 here, where Windows would use its 8-bit code page).
    std::uint32_t AddString(std::string_view text) { return AddBytes(text); }
    std::uint32_t CalculateBytes(std::string_view bytes);
    std::uint32_t CalculateString(std::string_view text) { return CalculateBytes(text); }
    // No value for an empty path, a missing, empty or unreadable file.
    std::optional<std::uint32_t> CalculateFile(platform::FileSystem& files, const std::string& path);

    std::uint32_t Value() const;
    void SetValue(std::uint32_t value);

private:
    bool crc32_ = true;
    std::uint32_t value16_ = 0;
    std::uint32_t value32_ = 0xFFFFFFFFu;
};

}  // namespace kestrune
