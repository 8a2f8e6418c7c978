#include "platform/emulated/ShellLink.h"

#include <cstdint>
#include <vector>

#include "platform/emulated/TextCodec.h"

namespace kestrune::platform {

namespace {

constexpr std::uint32_t kHeaderSize = 0x4C;
constexpr std::string_view kLinkClsid("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16);
constexpr std::string_view kMyComputerClsid("\xE0\x4F\xD0\x20\xEA\x3A\x69\x10\xA2\xD8\x08\x00\x2B\x30\x30\x9D", 16);

enum LinkFlags : std::uint32_t {
    HasLinkTargetIdList = 0x1,
    HasLinkInfo = 0x2,
    HasName = 0x4,
    HasRelativePath = 0x8,
    HasWorkingDir = 0x10,
    HasArguments = 0x20,
    HasIconLocation = 0x40,
    IsUnicode = 0x80,
    ForceNoLinkInfo = 0x100,
    HasExpString = 0x200,
};

constexpr std::uint32_t kEnvironmentBlock = 0xA0000001;
constexpr std::uint32_t kEnvironmentBlockSize = 0x314;
constexpr size_t kEnvironmentAnsiChars = 260;
constexpr std::uint32_t kExtensionSignature = 0xBEEF0004;
constexpr std::uint32_t kFileAttributeArchive = 0x20;
constexpr std::uint32_t kDriveFixed = 3;

// A bounded view over the file: every read past the end marks the view failed and answers 0.
class Bytes {
public:
    explicit Bytes(std::string_view data) : data_(data) {}

    bool Ok() const { return ok_; }
    size_t Pos() const { return pos_; }
    size_t Left() const { return data_.size() - pos_; }
    std::uint16_t U16() { return static_cast<std::uint16_t>(Number(2)); }
    std::uint32_t U32() { return static_cast<std::uint32_t>(Number(4)); }
    std::string_view Take(size_t n) {
        if (!ok_ || n > Left()) {
            ok_ = false;
            return {};
        }
        const std::string_view out = data_.substr(pos_, n);
        pos_ += n;
        return out;
    }

private:
    std::uint64_t Number(size_t n) {
        const std::string_view raw = Take(n);
        std::uint64_t value = 0;
        for (size_t i = raw.size(); i-- > 0;) value = (value << 8) | static_cast<unsigned char>(raw[i]);
        return value;
    }

    std::string_view data_;
    size_t pos_ = 0;
    bool ok_ = true;
};

std::uint32_t ReadU32At(std::string_view data, size_t offset) {
    if (offset > data.size() || data.size() - offset < 4) return 0;
    std::uint32_t value = 0;
    for (size_t i = 4; i-- > 0;) value = (value << 8) | static_cast<unsigned char>(data[offset + i]);
    return value;
}

std::uint16_t ReadU16At(std::string_view data, size_t offset) {
    if (offset > data.size() || data.size() - offset < 2) return 0;
    return static_cast<std::uint16_t>(static_cast<unsigned char>(data[offset]) |
                                      (static_cast<unsigned char>(data[offset + 1]) << 8));
}

// A NUL-terminated ANSI string at `offset`; nullopt when it runs past the end.
std::optional<std::string> AnsiAt(std::string_view data, size_t offset) {
    if (offset >= data.size()) return std::nullopt;
    const size_t end = data.find('\0', offset);
    if (end == std::string_view::npos) return std::nullopt;
    return AnsiToUtf8(data.substr(offset, end - offset));
}

// A NUL-terminated UTF-16LE string at `offset`; nullopt when it runs past the end.
std::optional<std::string> UnicodeAt(std::string_view data, size_t offset) {
    for (size_t i = offset; i + 1 < data.size(); i += 2) {
        if (data[i] == '\0' && data[i + 1] == '\0') return Utf16LeToUtf8(data.substr(offset, i - offset));
    }
    return std::nullopt;
}

std::string CutAtNul(std::string text) {
    const size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    return text;
}

// The long name of a file entry: its 0xBEEF0004 extension block when it holds one, else
// the primary (often short 8.3) name.
std::optional<std::string> FileEntryName(std::string_view item) {
    const auto type = static_cast<unsigned char>(item[2]);
    const bool unicodePrimary = (type & 0x04) != 0;
    constexpr size_t kPrimaryName = 14;
    std::optional<std::string> primary = unicodePrimary ? UnicodeAt(item, kPrimaryName) : AnsiAt(item, kPrimaryName);
    if (!primary) return std::nullopt;
    size_t end = kPrimaryName;
    if (unicodePrimary) {
        while (end + 1 < item.size() && (item[end] != '\0' || item[end + 1] != '\0')) end += 2;
        end += 2;
    } else {
        end = item.find('\0', kPrimaryName) + 1;
    }
    end += end % 2;
    const size_t blockSize = ReadU16At(item, end);
    const std::uint16_t version = ReadU16At(item, end + 2);
    const std::uint32_t signature = ReadU32At(item, end + 4);
    if (blockSize < 8 || end + blockSize > item.size() || (signature != kExtensionSignature && signature != 0))
        return primary;
    const size_t nameOffset = version >= 9 ? 46 : version == 8 ? 42 : version == 7 ? 38 : 20;
    if (nameOffset >= blockSize) return primary;
    // The block's last two bytes hold its own offset, so the name ends before them.
    const std::string_view block = item.substr(end, blockSize >= 2 ? blockSize - 2 : 0);
    std::optional<std::string> longName = UnicodeAt(block, nameOffset);
    return longName && !longName->empty() ? longName : primary;
}

// The file-system path of an ID list of My Computer, a drive and file entries.
std::optional<std::string> PathOfIdList(std::string_view list) {
    std::vector<std::string_view> items;
    for (size_t pos = 0;;) {
        const std::uint16_t size = ReadU16At(list, pos);
        if (pos + 2 > list.size()) return std::nullopt;
        if (size == 0) break;
        if (size < 3 || size > list.size() - pos) return std::nullopt;
        items.push_back(list.substr(pos, size));
        pos += size;
    }
    if (items.size() < 2) return std::nullopt;
    const std::string_view root = items[0];
    if (static_cast<unsigned char>(root[2]) != 0x1F || root.size() < 20 || root.substr(4, 16) != kMyComputerClsid)
        return std::nullopt;
    const std::string_view drive = items[1];
    if ((static_cast<unsigned char>(drive[2]) & 0x70) != 0x20) return std::nullopt;
    std::optional<std::string> path = AnsiAt(drive, 3);
    if (!path || path->empty()) return std::nullopt;
    for (size_t i = 2; i < items.size(); ++i) {
        const std::string_view item = items[i];
        if ((static_cast<unsigned char>(item[2]) & 0x70) != 0x30 || item.size() < 15) return std::nullopt;
        const std::optional<std::string> name = FileEntryName(item);
        if (!name || name->empty()) return std::nullopt;
        if (path->back() != '\\') path->push_back('\\');
        *path += *name;
    }
    return path;
}

std::string JoinSuffix(std::string base, const std::string& suffix) {
    if (!suffix.empty() && !base.empty() && base.back() != '\\' && base.back() != '/') base.push_back('\\');
    return base + suffix;
}

// The local base path (or network share) and common path suffix of a link info block.
std::optional<std::string> PathOfLinkInfo(std::string_view info) {
    const std::uint32_t headerSize = ReadU32At(info, 4);
    const std::uint32_t flags = ReadU32At(info, 8);
    const bool unicode = headerSize >= 0x24;
    std::optional<std::string> suffix = unicode ? UnicodeAt(info, ReadU32At(info, 0x20)) : std::optional<std::string>();
    if (!suffix) suffix = AnsiAt(info, ReadU32At(info, 0x18));
    if (!suffix) suffix = std::string();
    if (flags & 0x1) {
        std::optional<std::string> base = unicode ? UnicodeAt(info, ReadU32At(info, 0x1C)) : std::nullopt;
        if (!base || base->empty()) base = AnsiAt(info, ReadU32At(info, 0x10));
        if (base && !base->empty()) return JoinSuffix(*base, *suffix);
    }
    if (flags & 0x2) {
        const std::uint32_t linkOffset = ReadU32At(info, 0x14);
        const std::string_view link = linkOffset < info.size() ? info.substr(linkOffset) : std::string_view();
        const std::uint32_t nameOffset = ReadU32At(link, 8);
        std::optional<std::string> share = nameOffset > 0x14 ? UnicodeAt(link, ReadU32At(link, 0x14)) : std::nullopt;
        if (!share || share->empty()) share = AnsiAt(link, nameOffset);
        if (share && !share->empty()) return JoinSuffix(*share, *suffix);
    }
    return std::nullopt;
}

std::optional<std::string> ReadCountedString(Bytes& in, bool unicode) {
    const std::uint16_t count = in.U16();
    const std::string_view raw = in.Take(unicode ? count * size_t{2} : count);
    if (!in.Ok()) return std::nullopt;
    return CutAtNul(unicode ? Utf16LeToUtf8(raw) : AnsiToUtf8(raw));
}

// ---- writing ----

void PutU16(std::string& out, std::uint32_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void PutU32(std::string& out, std::uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

bool IsDrivePath(std::string_view path) {
    return path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
           path[1] == ':' && path[2] == '\\';
}

std::string FileEntry(const std::string& name, bool isFile) {
    std::string item;
    PutU16(item, 0);  // size, set below
    item.push_back(static_cast<char>(isFile ? 0x32 : 0x31));
    item.push_back('\0');
    PutU32(item, 0);                     // file size
    PutU32(item, 0);                     // modification time
    PutU16(item, isFile ? 0x20 : 0x10);  // attributes
    item += Utf8ToAnsi(name);
    item.push_back('\0');
    if (item.size() % 2) item.push_back('\0');
    const size_t blockStart = item.size();
    std::string block;
    PutU16(block, 0);  // size, set below
    PutU16(block, 3);  // version
    PutU32(block, kExtensionSignature);
    PutU32(block, 0);     // creation time
    PutU32(block, 0);     // access time
    PutU16(block, 0x14);  // identifier
    PutU16(block, 0);     // localized name size
    block += Utf8ToUtf16Le(name);
    PutU16(block, 0);
    PutU16(block, static_cast<std::uint32_t>(blockStart));
    block[0] = static_cast<char>(block.size() & 0xFF);
    block[1] = static_cast<char>((block.size() >> 8) & 0xFF);
    item += block;
    item[0] = static_cast<char>(item.size() & 0xFF);
    item[1] = static_cast<char>((item.size() >> 8) & 0xFF);
    return item;
}

std::string IdListFor(const std::string& path) {
    std::string list;
    PutU16(list, 0x14);
    list.push_back('\x1F');
    list.push_back('\x50');
    list += kMyComputerClsid;
    std::string drive;
    PutU16(drive, 0x19);
    drive.push_back('\x2F');
    drive += path.substr(0, 3);
    drive.resize(0x19, '\0');
    list += drive;
    std::vector<std::string> parts;
    size_t start = 3;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    for (size_t i = 0; i < parts.size(); ++i) list += FileEntry(parts[i], i + 1 == parts.size());
    PutU16(list, 0);
    std::string out;
    PutU16(out, static_cast<std::uint32_t>(list.size()));
    return out + list;
}

std::string LinkInfoFor(const std::string& path) {
    const bool unicode = !IsAscii(path);
    const std::uint32_t headerSize = unicode ? 0x24 : 0x1C;
    std::string volume;
    PutU32(volume, 0x11);
    PutU32(volume, kDriveFixed);
    PutU32(volume, 0);     // serial number
    PutU32(volume, 0x10);  // label offset
    volume.push_back('\0');
    const std::string ansiPath = Utf8ToAnsi(path) + '\0';
    const std::uint32_t volumeOffset = headerSize;
    const std::uint32_t baseOffset = volumeOffset + static_cast<std::uint32_t>(volume.size());
    const std::uint32_t suffixOffset = baseOffset + static_cast<std::uint32_t>(ansiPath.size());
    std::string tail = volume + ansiPath + '\0';
    std::uint32_t baseUnicodeOffset = 0;
    std::uint32_t suffixUnicodeOffset = 0;
    if (unicode) {
        if ((headerSize + tail.size()) % 2) tail.push_back('\0');
        baseUnicodeOffset = headerSize + static_cast<std::uint32_t>(tail.size());
        tail += Utf8ToUtf16Le(path) + std::string(2, '\0');
        suffixUnicodeOffset = headerSize + static_cast<std::uint32_t>(tail.size());
        tail += std::string(2, '\0');
    }
    std::string info;
    PutU32(info, headerSize + static_cast<std::uint32_t>(tail.size()));
    PutU32(info, headerSize);
    PutU32(info, 0x1);  // VolumeIDAndLocalBasePath
    PutU32(info, volumeOffset);
    PutU32(info, baseOffset);
    PutU32(info, 0);  // no network link
    PutU32(info, suffixOffset);
    if (unicode) {
        PutU32(info, baseUnicodeOffset);
        PutU32(info, suffixUnicodeOffset);
    }
    return info + tail;
}

std::string EnvironmentBlockFor(const std::string& target) {
    std::string block;
    PutU32(block, kEnvironmentBlockSize);
    PutU32(block, kEnvironmentBlock);
    std::string ansi = Utf8ToAnsi(target).substr(0, kEnvironmentAnsiChars - 1);
    ansi.resize(kEnvironmentAnsiChars, '\0');
    std::string wide = Utf8ToUtf16Le(target).substr(0, (kEnvironmentAnsiChars - 1) * 2);
    wide.resize(kEnvironmentAnsiChars * 2, '\0');
    return block + ansi + wide;
}

void PutString(std::string& out, const std::string& text) {
    const std::string wide = Utf8ToUtf16Le(text).substr(0, std::size_t{0xFFFF} * 2);
    PutU16(out, static_cast<std::uint32_t>(wide.size() / 2));
    out += wide;
}

}  // namespace

std::optional<ShortcutInfo> ReadShellLink(std::string_view bytes) {
    if (bytes.size() > kMaxShellLinkSize) return std::nullopt;
    Bytes in(bytes);
    if (in.U32() != kHeaderSize || in.Take(16) != kLinkClsid) return std::nullopt;
    const std::uint32_t flags = in.U32();
    in.Take(4 + 24 + 4);  // attributes, three times, file size
    ShortcutInfo info;
    info.iconIndex = static_cast<std::int32_t>(in.U32());
    const std::uint32_t show = in.U32();
    info.showCommand = (show == 3 || show == 7) ? static_cast<int>(show) : 1;
    info.hotKey = in.U16();
    in.Take(10);  // reserved
    if (!in.Ok()) return std::nullopt;

    std::optional<std::string> idListPath;
    if (flags & HasLinkTargetIdList) {
        const std::uint16_t size = in.U16();
        const std::string_view list = in.Take(size);
        if (!in.Ok()) return std::nullopt;
        idListPath = PathOfIdList(list);
    }
    std::optional<std::string> linkInfoPath;
    if (flags & HasLinkInfo) {
        const size_t start = in.Pos();
        const std::uint32_t size = in.U32();
        if (size < 0x1C || size - 4 > in.Left()) return std::nullopt;
        in.Take(size - 4);
        if (!(flags & ForceNoLinkInfo)) linkInfoPath = PathOfLinkInfo(bytes.substr(start, size));
    }
    const bool unicode = (flags & IsUnicode) != 0;
    std::optional<std::string> relativePath;
    for (std::uint32_t field : {HasName, HasRelativePath, HasWorkingDir, HasArguments, HasIconLocation}) {
        if (!(flags & field)) continue;
        std::optional<std::string> text = ReadCountedString(in, unicode);
        if (!text) return std::nullopt;
        if (field == HasRelativePath) {
            relativePath = std::move(text);
            continue;
        }
        std::string& into = field == HasName         ? info.description
                            : field == HasWorkingDir ? info.workingFolder
                            : field == HasArguments  ? info.arguments
                                                     : info.iconLocation;
        into = std::move(*text);
    }
    std::optional<std::string> environmentPath;
    while (in.Left() >= 4) {
        const std::uint32_t size = in.U32();
        if (size < 8 || size - 4 > in.Left()) break;  // terminal block, or a damaged tail
        const std::string_view block = in.Take(size - 4);
        if (ReadU32At(block, 0) == kEnvironmentBlock && size >= kEnvironmentBlockSize && (flags & HasExpString)) {
            environmentPath = UnicodeAt(block, 4 + kEnvironmentAnsiChars);
            if (!environmentPath || environmentPath->empty()) environmentPath = AnsiAt(block, 4);
        }
    }
    // When the ID list and the link info name the same file, the link info's spelling is kept:
    // it holds the whole path as its creator wrote it, while ID list entries may carry the
    // file system's own letter case.
    if (idListPath && linkInfoPath && EqualsIgnoreCase(*idListPath, *linkInfoPath)) idListPath = linkInfoPath;
    for (const auto* source : {&idListPath, &linkInfoPath, &environmentPath, &relativePath}) {
        if (*source && !(*source)->empty()) {
            info.target = **source;
            break;
        }
    }
    return info;
}

std::string WriteShellLink(const ShortcutInfo& info) {
    const bool environment = info.target.find('%') != std::string::npos;
    const bool drive = !environment && IsDrivePath(info.target);
    std::uint32_t flags = IsUnicode;
    if (drive) flags |= HasLinkTargetIdList;
    if (!environment && !info.target.empty()) flags |= HasLinkInfo;
    if (environment) flags |= HasExpString;
    if (!info.description.empty()) flags |= HasName;
    if (!info.workingFolder.empty()) flags |= HasWorkingDir;
    if (!info.arguments.empty()) flags |= HasArguments;
    if (!info.iconLocation.empty()) flags |= HasIconLocation;

    std::string out;
    PutU32(out, kHeaderSize);
    out += kLinkClsid;
    PutU32(out, flags);
    PutU32(out, kFileAttributeArchive);
    out.append(24, '\0');  // creation, access and write times
    PutU32(out, 0);        // file size
    PutU32(out, static_cast<std::uint32_t>(info.iconIndex));
    PutU32(out, static_cast<std::uint32_t>(info.showCommand == 3 || info.showCommand == 7 ? info.showCommand : 1));
    PutU16(out, info.hotKey);
    out.append(10, '\0');
    if (flags & HasLinkTargetIdList) out += IdListFor(info.target);
    if (flags & HasLinkInfo) out += LinkInfoFor(info.target);
    if (flags & HasName) PutString(out, info.description);
    if (flags & HasWorkingDir) PutString(out, info.workingFolder);
    if (flags & HasArguments) PutString(out, info.arguments);
    if (flags & HasIconLocation) PutString(out, info.iconLocation);
    if (environment) out += EnvironmentBlockFor(info.target);
    PutU32(out, 0);  // terminal block
    return out;
}

}  // namespace kestrune::platform
