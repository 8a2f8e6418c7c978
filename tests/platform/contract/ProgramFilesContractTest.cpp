// Icons and publishers of program files: the helper program carries the project's icon and
// version information (as resources on Windows, as files beside it on the emulated machine).

#include <algorithm>
#include <string>

#include "ContractFixture.h"

namespace kestrune::contract {
namespace {

using ProgramFilesContract = ContractTest;

TEST_F(ProgramFilesContract, AProgramWithResourcesHasItsIconAndPublisher) {
    const std::string probe = ProbePath();
    ASSERT_TRUE(Os().files().FileExists(probe)) << probe;

    const auto icon = Os().programFiles().FirstIcon(probe);
    ASSERT_TRUE(icon.has_value()) << probe;
    ASSERT_FALSE(icon->Empty());
    if (icon->pixels.empty()) {
        // An image file for the front end to decode: the project's icon is an .ico.
        EXPECT_EQ(icon->encoded.substr(0, 4), std::string("\0\0\1\0", 4));
    } else {
        ASSERT_GT(icon->width, 0);
        ASSERT_GT(icon->height, 0);
        ASSERT_EQ(icon->pixels.size(), static_cast<size_t>(icon->width) * static_cast<size_t>(icon->height));
        // The blue tile with its white arrow: opaque pixels, and more than one colour among them.
        const auto opaque =
            std::count_if(icon->pixels.begin(), icon->pixels.end(), [](std::uint32_t p) { return (p >> 24) == 0xFF; });
        EXPECT_GT(opaque, static_cast<long>(icon->pixels.size() / 2));
        const bool white = std::any_of(icon->pixels.begin(), icon->pixels.end(),
                                       [](std::uint32_t p) { return (p & 0xFFFFFF) == 0xFFFFFF; });
        const bool blue = std::any_of(icon->pixels.begin(), icon->pixels.end(), [](std::uint32_t p) {
            return (p >> 24) == 0xFF && (p & 0xFF) > ((p >> 16) & 0xFF) + 0x40;
        });
        EXPECT_TRUE(white);
        EXPECT_TRUE(blue);
    }
    EXPECT_EQ(Os().programFiles().Publisher(probe), KESTRUNE_COMPANY_NAME);
}

TEST_F(ProgramFilesContract, FilesWithoutResourcesAndMissingFilesHaveNeither) {
    ASSERT_TRUE(Os().files().WriteFileAtomic(PathOf("notes.txt"), "CompanyName=Not a version block\r\n"));
    ASSERT_TRUE(Os().files().WriteFileAtomic(PathOf("bare.exe"), "MZ"));
    for (const std::string& file : {PathOf("notes.txt"), PathOf("bare.exe"), PathOf("missing.exe"), std::string()}) {
        SCOPED_TRACE(file);
        EXPECT_FALSE(Os().programFiles().FirstIcon(file).has_value());
        EXPECT_EQ(Os().programFiles().Publisher(file), "");
    }
}

}  // namespace
}  // namespace kestrune::contract
