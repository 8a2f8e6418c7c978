#pragma once
// Reading and writing an ini ("private profile") file the way Windows does: sections and keys
// compare ignoring case, values are read into a 255-character buffer, and a write changes one
// key while keeping every other section and key as it stands.

#include <string>
#include <vector>

namespace kestrune {

namespace platform {
class FileSystem;
}

struct IniEntry {
    std::string section, key, value;
};

class PrivateProfile {
public:
    explicit PrivateProfile(platform::FileSystem& files) : files_(files) {}

    // The key's text, at most 254 characters; "" when the key or the file is missing.
    std::string ReadValue(const std::string& section, const std::string& key, const std::string& file);
    // True when the key has a non-empty value. A non-empty section or file is remembered, an
    // empty one means the one remembered last; an empty key only remembers and answers false.
    bool ValueExists(const std::string& section, const std::string& key, const std::string& file);
    // Writes the key, creating the file or the section when needed.
    bool WriteValue(const std::string& section, const std::string& key, const std::string& value,
                    const std::string& file);
    // Writes several keys, in order, through one rewrite of the file: each key lands exactly
    // where WriteValue one after another would have put it.
    bool WriteValues(const std::vector<IniEntry>& entries, const std::string& file);

private:
    platform::FileSystem& files_;
    std::string rememberedSection_;
    std::string rememberedFile_;
};

inline constexpr size_t kIniValueLimit = 254;

}  // namespace kestrune
