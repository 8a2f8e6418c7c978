#pragma once
// What a program file tells about itself: its first icon and who made it. Windows reads both
// from the file's resources; the emulated machine from small files kept beside it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrune::platform {

// A picture in one of two forms: the bytes of an image file (.ico or .png) that the front end
// decodes, or `width` x `height` pixels as 0xAARRGGBB (not premultiplied), top row first.
struct IconPicture {
    std::string encoded;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool Empty() const { return encoded.empty() && pixels.empty(); }
};

class ProgramFiles {
public:
    virtual ~ProgramFiles() = default;

    // The file's first icon; nullopt when it has none (or is not there).
    virtual std::optional<IconPicture> FirstIcon(const std::string& file) = 0;
    // The company named by the file's version information (its first translation); "" when
    // the file has no version information or it names no company.
    virtual std::string Publisher(const std::string& file) = 0;
};

// For a platform that cannot look into program files: no icon, no publisher.
class NoProgramFiles final : public ProgramFiles {
public:
    std::optional<IconPicture> FirstIcon(const std::string&) override { return std::nullopt; }
    std::string Publisher(const std::string&) override { return ""; }
};

}  // namespace kestrune::platform
