#include "platform/win32/Win32ProgramFiles.h"

#include <windows.h>
// after windows.h
#include <shellapi.h>
#include <winver.h>

#include <algorithm>
#include <climits>
#include <cwchar>
#include <vector>

#include "platform/win32/Utf.h"

namespace kestrune::platform::win32 {

namespace {

class IconHandle {
public:
    IconHandle() = default;
    ~IconHandle() {
        if (icon_) DestroyIcon(icon_);
    }
    IconHandle(const IconHandle&) = delete;
    IconHandle& operator=(const IconHandle&) = delete;
    HICON Get() const { return icon_; }
    HICON* Out() { return &icon_; }

private:
    HICON icon_ = nullptr;
};

// The two bitmaps GetIconInfo hands over belong to the caller.
struct IconBitmaps {
    ICONINFO info{};
    ~IconBitmaps() {
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
    }
};

// `rows` rows of the bitmap as 32-bit pixels, top row first; empty when it cannot be read.
std::vector<std::uint32_t> BitmapPixels(HBITMAP bitmap, int width, int rows) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -rows;  // top-down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows));
    HDC screen = GetDC(nullptr);
    const int read = GetDIBits(screen, bitmap, 0, static_cast<UINT>(rows), pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (read != rows) pixels.clear();
    return pixels;
}

std::optional<IconPicture> PictureOf(HICON icon) {
    IconBitmaps bitmaps;
    if (!GetIconInfo(icon, &bitmaps.info) || !bitmaps.info.hbmMask) return std::nullopt;
    BITMAP shape{};
    if (!GetObjectW(bitmaps.info.hbmColor ? bitmaps.info.hbmColor : bitmaps.info.hbmMask, sizeof shape, &shape))
        return std::nullopt;
    const int width = shape.bmWidth;
    // A monochrome icon keeps its AND mask above its XOR picture in one bitmap twice as high.
    const int height = bitmaps.info.hbmColor ? shape.bmHeight : shape.bmHeight / 2;
    if (width <= 0 || height <= 0) return std::nullopt;
    const auto count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);

    const auto mask = BitmapPixels(bitmaps.info.hbmMask, width, bitmaps.info.hbmColor ? height : 2 * height);
    if (mask.empty()) return std::nullopt;
    IconPicture picture;
    picture.width = width;
    picture.height = height;
    if (bitmaps.info.hbmColor) {
        picture.pixels = BitmapPixels(bitmaps.info.hbmColor, width, height);
        if (picture.pixels.empty()) return std::nullopt;
        // Icons older than 32-bit colour carry no alpha: the mask says what is transparent.
        const bool hasAlpha =
            std::any_of(picture.pixels.begin(), picture.pixels.end(), [](std::uint32_t p) { return (p >> 24) != 0; });
        if (!hasAlpha) {
            for (std::size_t i = 0; i < count; ++i)
                picture.pixels[i] = (mask[i] & 0xFFFFFFu) != 0 ? 0u : (picture.pixels[i] | 0xFF000000u);
        }
    } else {
        picture.pixels.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            const bool transparent = (mask[i] & 0xFFFFFFu) != 0;
            const bool white = (mask[count + i] & 0xFFFFFFu) != 0;
            picture.pixels[i] = transparent ? 0u : (white ? 0xFFFFFFFFu : 0xFF000000u);
        }
    }
    return picture;
}

std::wstring Hex4(unsigned value) {
    constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring text(4, L'0');
    for (int i = 3; i >= 0; --i, value >>= 4) text[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
    return text;
}

}  // namespace

std::optional<IconPicture> Win32ProgramFiles::FirstIcon(const std::string& file) {
    const std::wstring path = Widen(file);
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    IconHandle large;
    const UINT extracted = ExtractIconExW(path.c_str(), 0, large.Out(), nullptr, 1);
    if (extracted == 0 || extracted == UINT_MAX || !large.Get()) return std::nullopt;
    return PictureOf(large.Get());
}

std::string Win32ProgramFiles::Publisher(const std::string& file) {
    const std::wstring path = Widen(file);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return "";
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return "";

    struct Translation {
        WORD language;
        WORD codePage;
    };
    void* found = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &found, &length) || !found ||
        length < sizeof(Translation))
        return "";
    const auto* first = static_cast<const Translation*>(found);
    const std::wstring key = L"\\StringFileInfo\\" + Hex4(first->language) + Hex4(first->codePage) + L"\\CompanyName";
    found = nullptr;
    length = 0;
    if (!VerQueryValueW(block.data(), key.c_str(), &found, &length) || !found || length == 0) return "";
    // The length counts characters, the closing NUL among them where the file has one.
    const auto* text = static_cast<const wchar_t*>(found);
    return Narrow(std::wstring_view(text, wcsnlen(text, length)));
}

}  // namespace kestrune::platform::win32
