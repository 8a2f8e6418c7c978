#include "store/TreeDocument.h"

#include <gtest/gtest.h>

#include "support/TestMachine.h"

namespace kestrune {
namespace {

constexpr const char* kSample = R"(<?xml version="1.0"?>
<Root>
  <Delayed><item_1><name>first</name></item_1></Delayed>
  <Active><HKLM_Run><item_2><name>ticked</name></item_2></HKLM_Run></Active>
  <delayed><item_1><name>second element of the same name</name></item_1></delayed>
</Root>)";

TEST(TreeDocumentTest, PathsResolveIgnoringCaseAndTestingTheCurrentElementFirst) {
    TreeDocument doc;
    ASSERT_TRUE(doc.LoadFromText(kSample));
    struct Case {
        const char* path;
        const char* expected;  // the text of the element reached, or nullptr when nothing is
    };
    const Case cases[] = {
        {"Root/Delayed/item_1/name", "first"},
        {"ROOT/delayed/ITEM_1/Name", "first"},     // names ignore case
        {"Delayed/item_1/name", "first"},          // the root's own name may be left out
        {"Root//Delayed///item_1/name", "first"},  // empty pieces are skipped
        {"/Root/Delayed/item_1/name/", "first"},
        {"Delayed/Delayed/item_1/name", "first"},  // a repeated name does not descend
        {"Root/Active/HKLM_Run/item_2/name", "ticked"},
        {"Root/Active/HKLM_Run/item_1/name", nullptr},
        {"Root/Missing", nullptr},
        {"Other/Delayed", nullptr},
    };
    for (const Case& c : cases) {
        const pugi::xml_node found = FindXMLPath(c.path, doc.Root());
        if (c.expected) {
            ASSERT_TRUE(found) << c.path;
            EXPECT_EQ(TextOf(found), c.expected) << c.path;
        } else {
            EXPECT_FALSE(found) << c.path;
        }
    }
}

TEST(TreeDocumentTest, CreateFindsWhatExistsAndAppendsOnlyWhatIsMissing) {
    TreeDocument doc;
    ASSERT_TRUE(doc.LoadFromText(kSample));
    const pugi::xml_node created = CreateXMLPath("root/DELAYED/item_3/path", doc.Root());
    SetText(created, "made");
    // The existing Delayed element took the new item, as its last child.
    const pugi::xml_node delayed = FindXMLPath("Root/Delayed", doc.Root());
    EXPECT_STREQ(delayed.last_child().name(), "item_3");
    EXPECT_EQ(TextOf(FindXMLPath("Delayed/item_3/path", doc.Root())), "made");

    // A second creation finds the element again rather than adding a twin.
    EXPECT_EQ(CreateXMLPath("Root/Delayed/item_3/path", doc.Root()), created);
    EXPECT_EQ(CreateXMLPath("Delayed//item_3/path", doc.Root()), created);

    // A new top-level element goes after all existing ones.
    CreateXMLPath("Root/Known", doc.Root());
    EXPECT_STREQ(doc.Root().last_child().name(), "Known");
}

TEST(TreeDocumentTest, NewDocumentHasOnlyTheRootElement) {
    TreeDocument doc;
    ASSERT_TRUE(doc.LoadFromText(kSample));
    doc.NewXMLDocument();
    EXPECT_STREQ(doc.Root().name(), "Root");
    EXPECT_FALSE(doc.Root().first_child());
    EXPECT_EQ(doc.ToText(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Root />\n");
}

TEST(TreeDocumentTest, AParseErrorLeavesNoDocument) {
    TreeDocument doc;
    for (const char* broken : {"", "[dummy]", "<Root><item_1></Root>", "<Root>", "just text"}) {
        ASSERT_TRUE(doc.LoadFromText(kSample));
        EXPECT_FALSE(doc.LoadFromText(broken)) << broken;
        EXPECT_TRUE(doc.Empty()) << broken;
        EXPECT_FALSE(FindXMLPath("Root", doc.Root())) << broken;
    }
}

TEST(TreeDocumentTest, TextsSurviveWritingAndReading) {
    const std::string values[] = {
        "plain",
        " ",
        "  leading and trailing  ",
        "a & b < c > d \"quoted\" 'single'",
        "C:\\Program Files\\x.exe",
        "Jörg 日本",
        "tab\tinside",
        "",
        // A command line stored by another program with its line ends in it.
        "C:\\a.exe /x\r\n/y",
        "\r",
        "cr\ronly",
        "\r\n",
        "lf\nonly",
    };
    TreeDocument doc;
    doc.NewXMLDocument();
    int n = 0;
    for (const std::string& value : values) SetText(CreateXMLPath("T/v" + std::to_string(++n), doc.Root()), value);

    TreeDocument reread;
    ASSERT_TRUE(reread.LoadFromText(doc.ToText())) << doc.ToText();
    n = 0;
    for (const std::string& value : values)
        EXPECT_EQ(TextOf(FindXMLPath("Root/T/v" + std::to_string(++n), reread.Root())), value);
}

TEST(TreeDocumentTest, TextContentGathersNestedText) {
    TreeDocument doc;
    ASSERT_TRUE(doc.LoadFromText("<Root><a>one<b>two</b><![CDATA[three]]></a></Root>"));
    EXPECT_EQ(TextOf(FindXMLPath("Root/a", doc.Root())), "onetwothree");
}

TEST(TreeDocumentTest, SavingToANewPathLeavesTheWholeDocument) {
    test::TestMachine machine;
    auto& files = machine.platform->files();
    const std::string path = machine.appFolder + "new.xml";
    TreeDocument doc;
    doc.NewXMLDocument();
    SetText(CreateXMLPath("Root/Deleted/item_1/name", doc.Root()), "x");
    ASSERT_TRUE(doc.SaveXMLDocument(files, path));

    TreeDocument reread;
    ASSERT_TRUE(reread.LoadFromFile(files, path));
    EXPECT_EQ(TextOf(FindXMLPath("Deleted/item_1/name", reread.Root())), "x");
    EXPECT_EQ(test::ReadText(path), doc.ToText());
    EXPECT_FALSE(reread.LoadFromFile(files, machine.appFolder + "missing.xml"));
}

}  // namespace
}  // namespace kestrune
