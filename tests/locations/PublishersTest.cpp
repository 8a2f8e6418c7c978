// The publishers of the location rows: read from the program files the entries name, once per
// file until it changes, and only for the five location tables.

#include <filesystem>

#include "LocationFixture.h"
#include "locations/Publishers.h"

namespace kestrune::test {
namespace {

class PublishersTest : public LocationFixture {
protected:
    PublisherCache cache{Platform().programFiles(), Platform().files()};

    std::string Published(const std::string& name, const std::string& company) {
        const std::string path = Program(name, "program " + name);
        WriteText(path + ".version", "CompanyName=" + company + "\n");
        return path;
    }
    std::string PublisherOf(TableKind kind, int position) {
        const auto& publisher = state.model.tables[kind].Publisher(position);
        return publisher ? *publisher : "(unread)";
    }
};

TEST_F(PublishersTest, RowsOfEveryLocationTableGetThePublisherOfTheFileTheirEntryNames) {
    const std::string up = Published("up.exe", "Up Software");
    const std::string plain = Program("plain.exe", "no version information");
    SetValue(TableKind::HKCU_Run, "Updater", ValueType::String, up + " /silent");
    SetValue(TableKind::HKLM_Run, "Plain", ValueType::String, plain);
    SetValue(TableKind::RunOnce, "Gone", ValueType::String, machine.machineRoot + "/Programs/missing.exe");
    Link(state.paths.commonStartupFolder, "Up.lnk", up, "--tray");
    ScanPlaces(state);
    state.model.tables[TableKind::Delayed].Add({"Later", up, "5", "", ""});

    // A scan reads no program file for its publisher: the rows wait for the fill.
    EXPECT_EQ(PublisherOf(TableKind::HKCU_Run, 1), "(unread)");
    ApplyRowPublishers(state, cache);

    EXPECT_EQ(PublisherOf(TableKind::HKCU_Run, 1), "Up Software");
    EXPECT_EQ(PublisherOf(TableKind::CommonStartup, 1), "Up Software");
    EXPECT_EQ(PublisherOf(TableKind::HKLM_Run, 1), "");
    EXPECT_EQ(PublisherOf(TableKind::RunOnce, 1), "");
    EXPECT_EQ(PublisherOf(TableKind::Delayed, 1), "(unread)");
    // Two rows of one program read its file once; the missing file is not read at all.
    EXPECT_EQ(cache.FilesRead(), 2u);
}

TEST_F(PublishersTest, AFileIsReadAgainOnlyAfterItChanged) {
    const std::string up = Published("up.exe", "Up Software");
    SetValue(TableKind::HKCU_Run, "Updater", ValueType::String, up);
    ScanPlaces(state);
    ApplyRowPublishers(state, cache);
    ASSERT_EQ(cache.FilesRead(), 1u);

    // A rescan gives new rows; the file is the same, so its publisher comes from the cache.
    ASSERT_TRUE(RescanLocation(state, TableKind::HKCU_Run));
    ApplyRowPublishers(state, cache);
    EXPECT_EQ(PublisherOf(TableKind::HKCU_Run, 1), "Up Software");
    EXPECT_EQ(cache.FilesRead(), 1u);

    // An update replaces the program with one of another size and another publisher.
    WriteText(up, "a newer and longer program");
    WriteText(up + ".version", "CompanyName=Up Software GmbH\n");
    ASSERT_TRUE(RescanLocation(state, TableKind::HKCU_Run));
    ApplyRowPublishers(state, cache);
    EXPECT_EQ(PublisherOf(TableKind::HKCU_Run, 1), "Up Software GmbH");
    EXPECT_EQ(cache.FilesRead(), 2u);
}

TEST_F(PublishersTest, AFillOfSomeRowsLeavesTheOthersForLater) {
    for (int i = 1; i <= 5; ++i) {
        const std::string name = "app" + std::to_string(i) + ".exe";
        SetValue(TableKind::HKCU_Run, "App" + std::to_string(i), ValueType::String,
                 Published(name, "Maker " + std::to_string(i)));
    }
    ScanPlaces(state);
    ApplyRowPublishers(state, cache, TableKind::HKCU_Run, 2, 3);
    EXPECT_EQ(PublisherOf(TableKind::HKCU_Run, 1), "(unread)");
    EXPECT_EQ(PublisherOf(TableKind::HKCU_Run, 2), "Maker 2");
    EXPECT_EQ(PublisherOf(TableKind::HKCU_Run, 3), "Maker 3");
    EXPECT_EQ(PublisherOf(TableKind::HKCU_Run, 4), "(unread)");
    // Positions past the end are no rows.
    ApplyRowPublishers(state, cache, TableKind::HKCU_Run, 4, 99);
    EXPECT_EQ(PublisherOf(TableKind::HKCU_Run, 5), "Maker 5");
    EXPECT_EQ(cache.FilesRead(), 4u);
}

}  // namespace
}  // namespace kestrune::test
