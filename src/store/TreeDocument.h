#pragma once
// The element tree behind the settings document: a document of nested, attribute-less
// elements whose leaves carry text, addressed by slash paths such as "Root/Active/HKLM_Run".
// Path pieces compare ignoring case, and each step first tests the element it stands on, so
// "Root/Delayed" and "Delayed" both lead from the root to its Delayed child.

#include <optional>
#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace kestrune {

namespace platform {
class FileSystem;
}

inline constexpr const char* kRootElement = "Root";

class TreeDocument {
public:
    TreeDocument() = default;
    TreeDocument(const TreeDocument&) = delete;
    TreeDocument& operator=(const TreeDocument&) = delete;

    // Replaces the document by an empty one whose root element is "Root".
    void NewXMLDocument();
    // Replaces the document by the parsed text; on a parse error the document is left empty
    // and the answer is false.
    bool LoadFromText(std::string_view text);
    // The same for a file's bytes; a missing or unreadable file fails like a parse error.
    bool LoadFromFile(platform::FileSystem& files, const std::string& path);
    // The document as XML text: UTF-8, indented, with a declaration.
    std::string ToText() const;
    // Writes the text through a new file renamed over the old one, so that neither a crash nor
    // a full disk leaves a half-written document behind.
    bool SaveXMLDocument(platform::FileSystem& files, const std::string& path) const;

    bool Empty() const { return !Root(); }
    pugi::xml_node Root() const { return doc_.document_element(); }

private:
    pugi::xml_document doc_;
};

// With matchSelf, `node` itself when its name equals `name`; otherwise its first child element
// of that name. Names compare ignoring case.
pugi::xml_node FindXMLChild(pugi::xml_node node, std::string_view name, bool matchSelf);
// Resolves `path` from `start`; empty pieces are skipped. An empty node when any piece is
// missing.
pugi::xml_node FindXMLPath(std::string_view path, pugi::xml_node start);
// Resolves `path` from `start`, appending every missing element as the last child of the
// element before it. Empty pieces are skipped rather than made into nameless elements.
pugi::xml_node CreateXMLPath(std::string_view path, pugi::xml_node start);

// The element's text content: the text of all its descendants, in document order.
std::string TextOf(pugi::xml_node element);
void SetText(pugi::xml_node element, std::string_view text);

}  // namespace kestrune
