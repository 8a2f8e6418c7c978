#include "monitor/Crc.h"

#include "platform/FileSystem.h"

namespace kestrune {

namespace {

constexpr std::array<std::uint32_t, 256> MakeCrc32Table() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> MakeCrc16Table() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t a = i * 256, h = 0;
        for (int k = 0; k < 8; ++k) {
            h = ((h * 2) ^ (((a ^ h) & 0x8000u) ? 0x1021u : 0u)) & 0xFFFFu;
            a = (a * 2) & 0xFFFFu;
        }
        table[i] = h;
    }
    return table;
}

constexpr auto kCrc32Table = MakeCrc32Table();
constexpr auto kCrc16Table = MakeCrc16Table();
static_assert(kCrc32Table[1] == 0x77073096u);

}  // namespace

void Crc::SetAlgorithm(bool crc32) {
    crc32_ = crc32;
    Clear();
}

void Crc::Clear() {
    value16_ = 0;
    value32_ = 0xFFFFFFFFu;
}

std::uint32_t Crc::AddBytes(std::string_view bytes) {
    if (crc32_) {
        std::uint32_t v = value32_;
        for (const char ch : bytes) v = kCrc32Table[(static_cast<std::uint8_t>(ch) ^ v) & 0xFFu] ^ (v >> 8);
        value32_ = v;
    } else {
        std::uint32_t v = value16_;
        for (const char ch : bytes)
            v = (kCrc16Table[(static_cast<std::uint8_t>(ch) ^ (v >> 8)) & 0xFFu] ^ (v << 8)) & 0xFFFFu;
        value16_ = v;
    }
    return Value();
}

std::uint32_t Crc::CalculateBytes(std::string_view bytes) {
    Clear();
    return AddBytes(bytes);
}

std::optional<std::uint32_t> Crc::CalculateFile(platform::FileSystem& files, const std::string& path) {
    if (path.empty() || !files.FileExists(path)) return std::nullopt;
    const auto content = files.ReadFile(path);
    if (!content || content->empty()) return std::nullopt;
    return CalculateBytes(*content);
}

std::uint32_t Crc::Value() const { return crc32_ ? ~value32_ : (value16_ & 0xFFFFu); }

void Crc::SetValue(std::uint32_t value) {
    if (crc32_) value32_ = value;
    else value16_ = value & 0xFFFFu;
}

}  // namespace kestrune
