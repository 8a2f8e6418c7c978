#include "locations/IconCache.h"

#include <cstdio>

namespace kestrune {

std::string FileChecksumText(Crc& crc, platform::FileSystem& files, const std::string& file) {
    const auto value = crc.CalculateFile(files, file);
    if (!value) return {};
    char text[9];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(*value));
    return text;
}

std::string IconCache::ChecksumOf(const std::string& file) {
    auto& files = files_;
    // The same program stands behind many rows (every Delayed row of one program, every copy
    // of a running process): its content is read once, and again only when it has changed.
    const auto stamp = files.Stamp(file);
    if (stamp) {
        if (const auto found = seen_.find(file); found != seen_.end() && found->second.stamp == *stamp)
            return found->second.checksum;
    }
    ++filesRead_;
    std::string checksum = FileChecksumText(crc_, files, file);
    if (stamp) seen_[file] = {*stamp, checksum};
    return checksum;
}

int IconCache::IconOf(const std::string& file) {
    if (!Wanted() || file.empty() || !files_.FileExists(file)) return kDefaultIcon;

    // The file is read under the name it was given: lower-casing it first would miss the file
    // where names are case-sensitive, and changes nothing where they are not.
    const std::string checksum = ChecksumOf(file);
    if (!checksum.empty()) {
        if (const auto found = numbers_.find(checksum); found != numbers_.end()) return found->second;
    }

    const int number = imageCount_ + 1;
    if (!pictures_.LoadFileIcon(file, number)) return kDefaultIcon;
    imageCount_ = number;
    // A file without a checksum cannot be recognised again, so it is not remembered.
    if (!checksum.empty()) numbers_.emplace(checksum, number);
    return number;
}

}  // namespace kestrune
