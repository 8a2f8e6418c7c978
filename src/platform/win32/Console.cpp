#include "platform/Console.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <iostream>

#include "platform/win32/Utf.h"

namespace kestrune::platform {

namespace {

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

// Where a UTF-8 text cut at `size` bytes would split a letter, the length of the whole letters.
size_t WholeLetters(const char* text, size_t size) {
    size_t start = size;
    // Back over at most three continuation bytes to the lead byte of the last letter.
    while (start > 0 && size - start < 4 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80) --start;
    if (start == 0) return size;
    const auto lead = static_cast<unsigned char>(text[start - 1]);
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return size - (start - 1) >= length ? size : start - 1;
}

// Collects UTF-8 bytes and hands whole letters to the console as UTF-16.
class ConsoleBuffer final : public std::streambuf {
public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) { setp(buffer_, buffer_ + sizeof buffer_); }
    ~ConsoleBuffer() override { sync(); }

protected:
    int_type overflow(int_type c) override {
        if (!Flush(false)) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return Flush(true) ? 0 : -1; }

private:
    // Writes what is buffered; a letter cut at the end waits for its other bytes unless `all`.
    bool Flush(bool all) {
        const size_t size = static_cast<size_t>(pptr() - pbase());
        const size_t whole = all ? size : WholeLetters(pbase(), size);
        const std::wstring text = win32::Widen(std::string_view(pbase(), whole));
        for (size_t written = 0; written < text.size();) {
            DWORD count = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - written, 8192));
            if (!WriteConsoleW(console_, text.data() + written, chunk, &count, nullptr) || count == 0) return false;
            written += count;
        }
        const size_t rest = size - whole;
        std::memmove(buffer_, pbase() + whole, rest);
        setp(buffer_, buffer_ + sizeof buffer_);
        pbump(static_cast<int>(rest));
        return true;
    }

    HANDLE console_;
    char buffer_[4096];
};

std::unique_ptr<std::streambuf> BufferFor(DWORD stream) {
    const HANDLE handle = GetStdHandle(stream);
    if (!IsConsole(handle)) return nullptr;
    return std::make_unique<ConsoleBuffer>(handle);
}

}  // namespace

std::vector<std::string> CommandLineArguments(int, char**) {
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(win32::Narrow(wide[i]));
    LocalFree(wide);
    return arguments;
}

// Not _isatty: it takes the null device for a terminal.
bool StandardInputIsConsole() { return IsConsole(GetStdHandle(STD_INPUT_HANDLE)); }

ConsoleStreams::ConsoleStreams() : out_(BufferFor(STD_OUTPUT_HANDLE)), err_(BufferFor(STD_ERROR_HANDLE)) {
    if (out_) previousOut_ = std::cout.rdbuf(out_.get());
    if (err_) previousErr_ = std::cerr.rdbuf(err_.get());
}

ConsoleStreams::~ConsoleStreams() {
    if (out_) {
        std::cout.flush();
        std::cout.rdbuf(previousOut_);
    }
    if (err_) {
        std::cerr.flush();
        std::cerr.rdbuf(previousErr_);
    }
}

}  // namespace kestrune::platform
