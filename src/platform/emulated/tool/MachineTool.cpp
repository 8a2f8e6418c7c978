#include "platform/emulated/tool/MachineTool.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/StartupApproval.h"
#include "platform/emulated/EmulatedRegistry.h"
#include "platform/emulated/LinuxSystem.h"
#include "platform/emulated/MachineLayout.h"
#include "platform/emulated/Refusals.h"
#include "platform/emulated/RegFile.h"
#include "platform/emulated/RegistryHive.h"
#include "platform/emulated/TextCodec.h"

namespace kestrune::tool {

using platform::RegistryValue;
using platform::RootKey;
using platform::ValueType;

namespace {

constexpr std::string_view kMultiSeparator = "\\0";

struct TypeName {
    ValueType type;
    std::string_view name;
};

constexpr std::array<TypeName, 7> kTypeNames = {{
    {ValueType::None, "REG_NONE"},
    {ValueType::String, "REG_SZ"},
    {ValueType::ExpandString, "REG_EXPAND_SZ"},
    {ValueType::Binary, "REG_BINARY"},
    {ValueType::Dword, "REG_DWORD"},
    {ValueType::MultiString, "REG_MULTI_SZ"},
    {ValueType::Qword, "REG_QWORD"},
}};

std::pair<RootKey, std::string> ParseKey(const std::string& key) {
    const auto split = platform::SplitRootedPath(key);
    if (!split)
        throw ToolError("the key \"" + key +
                        "\" does not begin with HKEY_LOCAL_MACHINE, HKLM, HKEY_CURRENT_USER or HKCU");
    return *split;
}

std::string LittleEndian(unsigned long long number, int bytes) {
    std::string data;
    for (int i = 0; i < bytes; ++i) data.push_back(static_cast<char>((number >> (8 * i)) & 0xFF));
    return data;
}

unsigned long long ParseNumber(const std::string& text, unsigned long long maximum) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* first = text.data() + (hex ? 2 : 0);
    const char* last = text.data() + text.size();
    unsigned long long number = 0;
    const auto [end, error] = std::from_chars(first, last, number, hex ? 16 : 10);
    if (text.empty() || error != std::errc() || end != last || number > maximum)
        throw ToolError("\"" + text + "\" is not a number of this type (decimal, or hexadecimal after 0x)");
    return number;
}

std::string ParseBytes(const std::string& text) {
    std::string digits;
    for (char c : text) {
        if (c == ',' || c == ' ') continue;
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            throw ToolError("\"" + text + "\" is not a list of hexadecimal bytes");
        digits.push_back(c);
    }
    if (digits.size() % 2) throw ToolError("\"" + text + "\" holds half a byte");
    std::string bytes;
    for (size_t i = 0; i < digits.size(); i += 2)
        bytes.push_back(static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return bytes;
}

RegistryValue MakeValue(const std::string& name, const std::string& data, const std::string& typeName) {
    RegistryValue value{name, ValueType::String, data};
    bool known = false;
    for (const TypeName& entry : kTypeNames) {
        if (entry.name == typeName && entry.type != ValueType::None) {
            value.type = entry.type;
            known = true;
        }
    }
    if (!known) throw ToolError("unknown type \"" + typeName + "\"");
    switch (value.type) {
        case ValueType::Dword: value.data = LittleEndian(ParseNumber(data, 0xFFFFFFFFull), 4); break;
        case ValueType::Qword: value.data = LittleEndian(ParseNumber(data, ~0ull), 8); break;
        case ValueType::Binary: value.data = ParseBytes(data); break;
        case ValueType::MultiString: {
            value.data.clear();
            if (data.empty()) break;
            for (size_t start = 0;;) {
                const size_t end = data.find(kMultiSeparator, start);
                value.data += data.substr(start, end == std::string::npos ? std::string::npos : end - start);
                value.data.push_back('\0');
                if (end == std::string::npos) break;
                start = end + kMultiSeparator.size();
            }
            break;
        }
        default: break;
    }
    return value;
}

std::string HexList(const std::string& bytes) {
    std::string out;
    char item[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(item, sizeof item, "%02x", static_cast<unsigned char>(bytes[i]));
        if (i) out.push_back(',');
        out += item;
    }
    return out;
}

std::string ShowValue(const RegistryValue& value) {
    switch (value.type) {
        case ValueType::String:
        case ValueType::ExpandString: return value.data;
        case ValueType::Dword:
        case ValueType::Qword:
            if (value.data.size() == (value.type == ValueType::Dword ? 4u : 8u)) {
                unsigned long long number = 0;
                for (size_t i = value.data.size(); i-- > 0;)
                    number = (number << 8) | static_cast<unsigned char>(value.data[i]);
                return std::to_string(number);
            }
            return HexList(value.data);
        case ValueType::MultiString: {
            std::string out;
            std::string data = value.data;
            if (!data.empty() && data.back() == '\0') data.pop_back();
            for (char c : data) {
                if (c == '\0') {
                    out += kMultiSeparator;
                } else {
                    out.push_back(c);
                }
            }
            return out;
        }
        default: return HexList(value.data);
    }
}

std::string ShowType(ValueType type) {
    for (const TypeName& entry : kTypeNames) {
        if (entry.type == type) return std::string(entry.name);
    }
    char text[24];
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(type));
    return text;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ToolError("cannot read " + path);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool IsProgram(const std::string& path) { return ::access(path.c_str(), X_OK) == 0; }

std::string WithoutSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

}  // namespace

std::string ChooseMachineRoot(const std::string& option) {
    if (!option.empty()) return option;
    if (const char* root = std::getenv("KESTRUNE_MACHINE"); root && *root) return root;
    return platform::DefaultAppFolder() + "machine";
}

void MachineTool::Init(bool demo) {
    // A machine made by an older version gains what current Windows has.
    if (!machine_.layout().EnsureKeys(machine_.emulatedRegistry()))
        throw ToolError("cannot lay out the registry of " + machine_.Root());
    if (!demo) return;
    struct RunEntry {
        RootKey root;
        std::string_view key;
        std::string name;
        std::string program;
        std::string arguments;
    };
    // Only entries whose program this machine has, so that every demo entry can be started.
    const std::vector<RunEntry> entries = {
        {RootKey::LocalMachine, platform::kRunKey, "SystemMonitor", "/usr/bin/top", " -b -n 1"},
        {RootKey::LocalMachine, platform::kRunKey, "PackageLogFollower", "/usr/bin/tail", " -f /var/log/dpkg.log"},
        {RootKey::LocalMachine, platform::kRunOnceKey, "FirstRunSetup", "/usr/bin/env", ""},
        {RootKey::CurrentUser, platform::kRunKey, "SessionTimer", "/usr/bin/sleep", " 600"},
        {RootKey::CurrentUser, platform::kRunKey, "ClockWatch", "/usr/bin/watch", " -n 60 date"},
    };
    for (const RunEntry& entry : entries) {
        if (!IsProgram(entry.program)) continue;
        const auto status = machine_.registry().SetValue(
            entry.root, entry.key, {entry.name, ValueType::String, entry.program + entry.arguments});
        if (!status.Ok())
            throw ToolError("cannot write " + platform::RootName(entry.root) + "\\" + std::string(entry.key));
    }
    struct Shortcut {
        int csidl;
        std::string file;
        std::string target;
        std::string arguments;
    };
    const std::vector<Shortcut> shortcuts = {
        {platform::kCsidlCommonStartup, "System Monitor.lnk", "/usr/bin/top", "-d 5"},
        {platform::kCsidlStartup, "Sleeper.lnk", "/usr/bin/sleep", "300"},
        {platform::kCsidlStartup, "Environment.lnk", "/usr/bin/env", ""},
    };
    for (const Shortcut& shortcut : shortcuts) {
        const std::string folder = machine_.shell().SpecialFolder(shortcut.csidl);
        if (folder.empty() || !IsProgram(shortcut.target)) continue;
        if (!machine_.shell().WriteShortcut(folder + shortcut.file,
                                            {shortcut.target, shortcut.arguments, "", shortcut.target, 0, 1, "", 0}))
            throw ToolError("cannot write " + folder + shortcut.file);
    }
}

void MachineTool::RegSet(const std::string& key, const std::string& name, const std::string& data,
                         const std::string& type) {
    const auto [root, subkey] = ParseKey(key);
    const RegistryValue value = MakeValue(name, data, type);
    auto& registry = machine_.registry();
    if (!registry.CreateKey(root, subkey).Ok() || !registry.SetValue(root, subkey, value).Ok())
        throw ToolError("cannot write " + key + " (is " + machine_.emulatedRegistry().FilePath(root) + " damaged?)");
}

void MachineTool::RegDelete(const std::string& key, const std::string& name) {
    const auto [root, subkey] = ParseKey(key);
    if (!machine_.registry().QueryValue(root, subkey, name)) throw ToolError(key + " has no value \"" + name + "\"");
    if (!machine_.registry().DeleteValue(root, subkey, name).Ok()) throw ToolError("cannot write " + key);
}

void MachineTool::RegList(const std::string& key, std::ostream& out) {
    const auto [root, subkey] = ParseKey(key);
    const auto values = machine_.registry().EnumValues(root, subkey);
    if (!values) throw ToolError("the key " + key + " does not exist");
    for (const RegistryValue& value : *values)
        out << value.name << '\t' << ShowType(value.type) << '\t' << ShowValue(value) << '\n';
}

void MachineTool::RegImport(const std::string& file) {
    const platform::RegFileParse parsed = platform::ParseRegFile(ReadWholeFile(file));
    if (!parsed.file) throw ToolError(file + ": " + parsed.Describe());
    std::string error;
    if (!machine_.emulatedRegistry().Import(*parsed.file, &error).Ok()) throw ToolError(file + ": " + error);
}

void MachineTool::RegExport(const std::string& key, const std::string& file) {
    const auto [root, subkey] = ParseKey(key);
    const auto exported = machine_.emulatedRegistry().Export(root, subkey);
    if (!exported) throw ToolError("the key " + key + " does not exist");
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << platform::FormatRegFile(*exported);
    out.close();
    if (!out) throw ToolError("cannot write " + file);
}

void MachineTool::LnkCreate(const std::string& file, platform::ShortcutInfo link) {
    if (link.target.empty()) throw ToolError("a shortcut needs a --target");
    if (link.iconLocation.empty()) link.iconLocation = link.target;
    if (link.iconIndex < 0) link.iconIndex = 0;
    if (!machine_.shell().WriteShortcut(file, link)) throw ToolError("cannot write " + file);
}

void MachineTool::LnkShow(const std::string& file, bool allFields, std::ostream& out) {
    const auto shortcut = machine_.shell().ReadShortcut(file);
    if (!shortcut) throw ToolError(file + " is not a readable shortcut");
    out << shortcut->target << '\n' << shortcut->arguments << '\n';
    if (!allFields) return;
    char hotKey[16];
    std::snprintf(hotKey, sizeof hotKey, "0x%04x", shortcut->hotKey);
    out << "dir: " << shortcut->workingFolder << '\n'
        << "icon: " << shortcut->iconLocation << ',' << shortcut->iconIndex << '\n'
        << "show: " << shortcut->showCommand << '\n'
        << "comment: " << shortcut->description << '\n'
        << "hotkey: " << hotKey << '\n';
}

void MachineTool::Folder(const std::string& which, std::ostream& out) {
    const int csidl = which == "user" ? platform::kCsidlStartup : platform::kCsidlCommonStartup;
    const std::string folder = machine_.shell().SpecialFolder(csidl);
    if (folder.empty()) throw ToolError("the machine records no " + which + " Startup folder");
    out << WithoutSlash(folder) << '\n';
}

void MachineTool::Deny(const std::string& item) {
    if (item.empty()) throw ToolError("name a key (HKLM\\...) or a folder or file");
    platform::Refusals(machine_.Root()).Add(item);
}

void MachineTool::Allow(const std::string& item) { platform::Refusals(machine_.Root()).Remove(item); }

void MachineTool::ListDenied(std::ostream& out) {
    for (const std::string& item : platform::Refusals(machine_.Root()).Items()) out << item << '\n';
}

void MachineTool::Approve(const std::string& place, const std::string& name, bool enabled) {
    struct ApprovalPlace {
        std::string_view name;
        RootKey root;
        std::string_view key;
    };
    static constexpr std::array<ApprovalPlace, 5> kPlaces = {{
        {"HKCU_Run", RootKey::CurrentUser, platform::kApprovedRunKey},
        {"HKLM_Run", RootKey::LocalMachine, platform::kApprovedRunKey},
        {"HKLM_Run32", RootKey::LocalMachine, platform::kApprovedRun32Key},
        {"UserStartup", RootKey::CurrentUser, platform::kApprovedStartupFolderKey},
        {"CommonStartup", RootKey::LocalMachine, platform::kApprovedStartupFolderKey},
    }};
    const auto* const found = std::find_if(kPlaces.begin(), kPlaces.end(), [&](const ApprovalPlace& candidate) {
        return platform::EqualsIgnoreCase(candidate.name, place);
    });
    if (found == kPlaces.end())
        throw ToolError("unknown place \"" + place +
                        "\" (HKCU_Run, HKLM_Run, HKLM_Run32, UserStartup or CommonStartup)");
    if (name.empty()) throw ToolError("name the entry (a Startup entry by its file name, such as Notes.lnk)");
    auto& registry = machine_.registry();
    const RegistryValue value = platform::EncodeStartupApproval(name, !enabled, platform::FileTimeNow());
    if (!registry.CreateKey(found->root, found->key).Ok() || !registry.SetValue(found->root, found->key, value).Ok())
        throw ToolError("cannot write " + platform::RootName(found->root) + "\\" + std::string(found->key));
}

}  // namespace kestrune::tool
