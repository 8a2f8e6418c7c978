#pragma once
// Row icons: number 1 is the program's default icon; files with an icon get numbers from 2 on,
// one per distinct file content (keyed by the content's CRC-32), in the order first met. The
// picture itself is the front end's; this only numbers them.

#include <string>
#include <unordered_map>

#include "app/IconPictures.h"
#include "app/Services.h"
#include "app/ViewState.h"
#include "locations/Crc.h"
#include "platform/FileSystem.h"

namespace kestrune {

class IconCache final : public RowIcons {
public:
    // The pictures are kept by the front end; the view says whether it is in Slimline mode.
    IconCache(platform::FileSystem& files, IconPictures& pictures, const ViewState& view)
        : files_(files), pictures_(pictures), view_(view) {}

    // 1 while in Slimline mode, while deferred, for a front end without icons, for a file that
    // does not exist, or one without an icon.
    int IconOf(const std::string& file) override;
    bool Wanted() const override { return !deferred_ && !view_.slimlineMode && pictures_.ShowsIcons(); }

    // While deferred every row gets the default icon and no file is read; the desktop program
    // defers during start-up and fills the icons in afterwards (FillRowIcons).
    void SetDeferred(bool deferred) { deferred_ = deferred; }
    bool Deferred() const { return deferred_; }

    // Pictures handed to the front end so far, the default icon included.
    int ImageCount() const { return imageCount_; }
    std::size_t CachedCount() const { return numbers_.size(); }
    // Files whose content has been read for a checksum, counted once per reading.
    std::size_t FilesRead() const { return filesRead_; }

private:
    // The file's checksum, read only when the file is new to this run or has changed since.
    std::string ChecksumOf(const std::string& file);

    struct Seen {
        platform::FileStamp stamp;
        std::string checksum;
    };

    platform::FileSystem& files_;
    IconPictures& pictures_;
    const ViewState& view_;
    Crc crc_{true};
    bool deferred_ = false;
    int imageCount_ = 1;  // the default icon
    std::size_t filesRead_ = 0;
    std::unordered_map<std::string, int> numbers_;  // checksum in hexadecimal -> icon number
    std::unordered_map<std::string, Seen> seen_;    // file path -> its checksum at that stamp
};

// The CRC-32 of a file's content as upper-case hexadecimal; "" when it has none (missing,
// empty or unreadable file).
std::string FileChecksumText(Crc& crc, platform::FileSystem& files, const std::string& file);

}  // namespace kestrune
