// The folders of src/ stand in layers, and a file includes headers of its own layer or of the
// layers below it, never above: the core cannot reach a front end, and only a backend reaches
// its own platform code. The link lines in CMake let a lower library see every higher one's
// headers through the include path, so nothing but this test stops an upward include.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "support/TestMachine.h"

namespace kestrune::test {
namespace {

namespace fs = std::filesystem;

struct Layer {
    std::string_view folder;
    int rank;  // a file may include folders of its rank or lower
};

// Lowest first; a folder inside another one (platform/emulated/tool) belongs to the outer one.
constexpr std::array kLayers{
    Layer{"platform", 0},
    Layer{"platform/emulated", 1},
    Layer{"platform/win32", 1},
    Layer{"app", 2},
    Layer{"store", 3},
    Layer{"procs", 3},
    Layer{"locations", 4},
    Layer{"delayed", 5},
    Layer{"monitor", 5},
    Layer{"desired", 5},
    Layer{"session", 6},
    Layer{"cli", 7},
    Layer{"ui", 8},  // the desktop writes state files and listings as the console does
};

// The backends implement the platform interfaces; the rest of the program sees only those.
bool IsBackend(std::string_view folder) { return folder == "platform/emulated" || folder == "platform/win32"; }

// The layer of a path relative to src/ ("monitor/ChangeMonitor.h"), by its longest folder.
std::optional<Layer> LayerOf(std::string_view path) {
    std::optional<Layer> found;
    for (const Layer& layer : kLayers) {
        const bool inside =
            path.starts_with(layer.folder) && path.size() > layer.folder.size() && path[layer.folder.size()] == '/';
        if (inside && (!found || layer.folder.size() > found->folder.size())) found = layer;
    }
    return found;
}

// Every include of a file under `src` that reaches above the file's layer (or into a backend
// from outside it), as "store/X.cpp:3 includes locations/Y.h"; a file in no layer is named too.
std::vector<std::string> UpwardIncludes(const fs::path& src) {
    static const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
    std::vector<std::string> found;
    for (const auto& item : fs::recursive_directory_iterator(src)) {
        const std::string extension = item.path().extension().string();
        if (!item.is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
        const std::string file = item.path().lexically_relative(src).generic_string();
        const auto from = LayerOf(file);
        if (!from) {
            found.push_back(file + " is in no layer");
            continue;
        }
        std::ifstream in(item.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            std::smatch match;
            if (!std::regex_search(line, match, include)) continue;
            const std::string header = match[1];
            const auto to = LayerOf(header);
            if (!to) continue;  // beside the file, or a generated header
            const bool intoBackend = IsBackend(to->folder) && to->folder != from->folder;
            if (to->rank > from->rank || intoBackend)
                found.push_back(file + ":" + std::to_string(number) + " includes " + header);
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

TEST(IncludeLayersTest, NoFileOfTheProgramIncludesAHeaderOfAHigherLayer) {
    EXPECT_EQ(UpwardIncludes(fs::path(KESTRUNE_SOURCE_DIR) / "src"), std::vector<std::string>{});
}

TEST(IncludeLayersTest, AnIncludeUpwardsOrIntoABackendIsNamedWithItsLine) {
    TempFolder folder;
    const fs::path src = fs::path(folder.Path()) / "src";
    for (const char* sub : {"store", "app", "monitor", "locations", "platform/emulated/tool", "cli", "tools"})
        fs::create_directories(src / sub);
    WriteText((src / "store/Document.cpp").string(),
              "#include \"store/Document.h\"\n#include <vector>\n#include \"locations/Places.h\"\n");
    WriteText((src / "app/Log.cpp").string(), "#include \"platform/emulated/RegFile.h\"\n");
    WriteText((src / "monitor/Watch.h").string(), "#pragma once\n\n  #  include \"session/Application.h\"\n");
    // Allowed: the own layer, a lower one, the same rank beside it, a backend inside itself, a
    // header beside the file.
    WriteText((src / "locations/Scan.cpp").string(), "#include \"app/Table.h\"\n#include \"procs/ProcessList.h\"\n");
    WriteText((src / "platform/emulated/tool/main.cpp").string(),
              "#include \"platform/emulated/RegFile.h\"\n#include \"platform/Platform.h\"\n");
    WriteText((src / "cli/Output.cpp").string(), "#include \"Local.h\"\n#include \"ui/ListTexts.h\"\n");
    WriteText((src / "tools/Gen.cpp").string(), "\n");

    EXPECT_EQ(UpwardIncludes(src), (std::vector<std::string>{
                                       "app/Log.cpp:1 includes platform/emulated/RegFile.h",
                                       "cli/Output.cpp:2 includes ui/ListTexts.h",
                                       "monitor/Watch.h:3 includes session/Application.h",
                                       "store/Document.cpp:3 includes locations/Places.h",
                                       "tools/Gen.cpp is in no layer",
                                   }));
}

}  // namespace
}  // namespace kestrune::test
