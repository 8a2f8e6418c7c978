#pragma once
// Row icons: number 1 is the program's default icon; files with an icon get numbers from 2 on,
// one per distinct file content (keyed by the content's CRC-32), in the order first met. The
// picture itself is the front end's; this only numbers them.

#include <string>
#include <unordered_map>

#include "app/MainState.h"
#include "monitor/Crc.h"

namespace kestrune {

class IconCache final : public RowIcons {
public:
    explicit IconCache(MainState& state) : state_(state) {}

    // 1 while in Slimline mode, for a file that does not exist, or one without an icon.
    int IconOf(const std::string& file) override;

    // Pictures handed to the front end so far, the default icon included.
    int ImageCount() const { return imageCount_; }
    std::size_t CachedCount() const { return numbers_.size(); }

private:
    MainState& state_;
    Crc crc_{true};
    int imageCount_ = 1;  // the default icon
    std::unordered_map<std::string, int> numbers_;  // checksum in hexadecimal -> icon number
};

// The CRC-32 of a file's content as upper-case hexadecimal; "" when it has none (missing,
// empty or unreadable file).
std::string FileChecksumText(Crc& crc, platform::FileSystem& files, const std::string& file);

}  // namespace kestrune
