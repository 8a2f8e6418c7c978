// Any bytes as settings.ini: reading the options must never crash nor overflow a number, a
// value read is never longer than the 254 characters of the Windows buffer nor spans a line,
// writing one key changes no other, and the options written at shut-down read back the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "app/OptionsFile.h"
#include "app/PrivateProfile.h"
#include "app/Text.h"

namespace {

using namespace kestrune;
using fuzz::Require;

struct Key {
    const char* section;
    const char* key;
};

// The keys the program reads, and two that it does not (another program's, and a section
// whose name differs only in case).
const std::vector<Key> kKeys = {
    {"Options", "Skip save on exit"},
    {"Options", "Monitor"},
    {"Options", "Idle threshold"},
    {"Options", "Idle seconds"},
    {"Options", "Profile"},
    {"Position", "Window state"},
    {"Position", "Top"},
    {"Position", "Last tab"},
    {"Mine", "Colour"},
    {"OPTIONS", "monitor"},
};

std::vector<std::string> ReadAll(PrivateProfile& ini, const std::string& file) {
    std::vector<std::string> values;
    for (const Key& key : kKeys) values.push_back(ini.ReadValue(key.section, key.key, file));
    return values;
}

bool SameOptions(const MainState& a, const MainState& b) {
    const Options& x = a.options;
    const Options& y = b.options;
    const bool flags = x.skipSave == y.skipSave && x.runOnStartup == y.runOnStartup && x.monitor == y.monitor &&
                       x.trayOnClose == y.trayOnClose && x.exitAfterDelayed == y.exitAfterDelayed &&
                       x.ignoreSelf == y.ignoreSelf && x.chooseProfile == y.chooseProfile &&
                       x.skipRunning == y.skipRunning && x.watchPriorities == y.watchPriorities;
    const WindowPosition& p = a.view.position;
    const WindowPosition& q = b.view.position;
    const bool position =
        a.view.positionRead == b.view.positionRead &&
        (!a.view.positionRead || (p.state == q.state && p.top == q.top && p.left == q.left && p.width == q.width &&
                                  p.height == q.height && p.lastTab == q.lastTab));
    return flags && position && x.idleThreshold == y.idleThreshold && x.idleSeconds == y.idleSeconds &&
           a.paths.profile == b.paths.profile;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& machine = fuzz::FuzzMachine::Instance();
    auto& files = machine.Platform().files();
    const std::string_view input = fuzz::AsText(data, size);

    auto state = machine.NewState();
    const std::string& file = state->paths.iniPath;
    Require(files.WriteFileAtomic(file, std::string(input)), "settings.ini can be written");

    const std::vector<std::string> before = ReadAll(state->services.ini, file);
    for (const std::string& value : before) {
        Require(value.size() <= kIniValueLimit, "a value read fits the 255-character buffer");
        Require(value.find_first_of("\r\n") == std::string::npos, "a value read stays on its line");
    }

    // One key written: the value of the input's first line (a value a read could have given),
    // under a key chosen by the input's length.
    const std::string firstLine(input.substr(0, input.find_first_of("\r\n")));
    const Key& written = kKeys[size % kKeys.size()];
    const std::string value = firstLine.substr(0, kIniValueLimit);
    Require(state->services.ini.WriteValue(written.section, written.key, value, file), "a key can be written");
    const std::vector<std::string> after = ReadAll(state->services.ini, file);
    for (size_t i = 0; i < kKeys.size(); ++i) {
        const bool sameKey =
            EqualsIgnoreCase(kKeys[i].section, written.section) && EqualsIgnoreCase(kKeys[i].key, written.key);
        if (sameKey) Require(after[i] == value, "a value written reads back the same");
        else Require(after[i] == before[i], "writing one key changes no other");
    }

    // What start-up reads, shut-down writes and the next start-up reads again.
    Require(files.WriteFileAtomic(file, std::string(input)), "settings.ini can be written");
    auto first = machine.NewState(true);
    ReadOptions(*first);
    WriteOptions(*first);
    auto second = machine.NewState(true);
    ReadOptions(*second);
    if (!first->view.positionRead) second->view.positionRead = false;  // written now, but not read before
    Require(SameOptions(*first, *second), "options written at shut-down read back the same");
    return 0;
}
