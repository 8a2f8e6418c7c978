#include "locations/Crc.h"

#include <zlib.h>

#include "platform/FileSystem.h"

namespace kestrune {

namespace {

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

constexpr auto kCrc16Table = MakeCrc16Table();

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
        // zlib's CRC-32 is the same polynomial and bit order, and about ten times faster than a
        // table look-up per byte; it takes and gives the finished value, the running one
        // inverted.
        if (!bytes.empty())
            value32_ = ~static_cast<std::uint32_t>(
                crc32_z(~value32_ & 0xFFFFFFFFul, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()));
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
    Clear();
    std::uint64_t length = 0;
    const bool read = files.ReadInChunks(path, [&](std::string_view piece) {
        AddBytes(piece);
        length += piece.size();
    });
    if (!read || length == 0) return std::nullopt;
    return Value();
}

std::uint32_t Crc::Value() const { return crc32_ ? ~value32_ : (value16_ & 0xFFFFu); }

void Crc::SetValue(std::uint32_t value) {
    if (crc32_) value32_ = value;
    else value16_ = value & 0xFFFFu;
}

}  // namespace kestrune
