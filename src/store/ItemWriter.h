#pragma once
// The five item layouts of the settings document. Each writer makes <table path>/item_N below
// the root and then the item's fields in their fixed order, each holding its text, and answers
// the item, so that further elements can follow the fixed ones.

#include <map>
#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace kestrune {

class ItemWriter {
public:
    explicit ItemWriter(pugi::xml_node root) : root_(root) {}

    pugi::xml_node WriteFolderItem(std::string_view tablePath, int n, std::string_view name, std::string_view path,
                                   std::string_view arg);
    pugi::xml_node WriteNamePathItem(std::string_view tablePath, int n, std::string_view name, std::string_view path);
    pugi::xml_node WriteDelayedItem(std::string_view tablePath, int n, std::string_view name, std::string_view path,
                                    std::string_view delay, std::string_view prev, bool active,
                                    std::string_view priority);
    pugi::xml_node WriteKnownItem(std::string_view tablePath, int n, std::string_view path, bool enable);
    pugi::xml_node WriteProcessItem(std::string_view tablePath, int n, std::string_view name, std::string_view path,
                                    std::string_view priority);

private:
    struct TableElement {
        pugi::xml_node node;
        int highestItem = 0;  // the highest N this writer appended below it
    };

    pugi::xml_node Item(std::string_view tablePath, int n);

    pugi::xml_node root_;
    std::map<std::string, TableElement, std::less<>> tables_;
};

// The Delay column as the document stores it: the number rounded to a whole number, halves to
// even, or "0" when the text is not a number (or too large to be a delay in seconds).
std::string DelayText(std::string_view delayColumn);

}  // namespace kestrune
