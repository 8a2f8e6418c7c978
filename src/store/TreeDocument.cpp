#include "store/TreeDocument.h"

#include <sstream>

#include "app/Text.h"
#include "platform/FileSystem.h"

namespace kestrune {

namespace {

constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

// A value made only of spaces is still a value (a name of " " must come back as " "), so the
// whitespace that is an element's only child is kept; the indentation between elements is not.
constexpr unsigned int kParseOptions = pugi::parse_default | pugi::parse_ws_pcdata_single;

bool IsText(const pugi::xml_node& node) { return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata; }

void AppendText(const pugi::xml_node& node, std::string& out) {
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (IsText(child)) out += child.value();
        else if (child.type() == pugi::node_element) AppendText(child, out);
    }
}

// Calls `visit` with each non-empty piece of a slash path; stops when it answers false.
template <typename Visit>
bool ForEachPiece(std::string_view path, Visit visit) {
    size_t begin = 0;
    while (begin <= path.size()) {
        size_t end = path.find('/', begin);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view piece = path.substr(begin, end - begin);
        if (!piece.empty() && !visit(piece)) return false;
        begin = end + 1;
    }
    return true;
}

}  // namespace

void TreeDocument::NewXMLDocument() {
    doc_.reset();
    doc_.append_child(kRootElement);
}

bool TreeDocument::LoadFromText(std::string_view text) {
    doc_.reset();
    const pugi::xml_parse_result result = doc_.load_buffer(text.data(), text.size(), kParseOptions);
    if (!result) {
        doc_.reset();
        return false;
    }
    return true;
}

bool TreeDocument::LoadFromFile(platform::FileSystem& files, const std::string& path) {
    const std::optional<std::string> bytes = files.ReadFile(path);
    if (!bytes) {
        doc_.reset();
        return false;
    }
    return LoadFromText(*bytes);
}

std::string TreeDocument::ToText() const {
    std::ostringstream out;
    out << kDeclaration;
    doc_.save(out, "\t", pugi::format_indent | pugi::format_no_declaration, pugi::encoding_utf8);
    // The writer leaves a carriage return in a text as it is, and every reader of XML turns it
    // into a line feed; as a character reference it comes back as it was. The document's own
    // line ends are line feeds, so every one here is a value's.
    return ReplaceAll(std::move(out).str(), "\r", "&#13;");
}

bool TreeDocument::SaveXMLDocument(platform::FileSystem& files, const std::string& path) const {
    return files.WriteFileAtomic(path, ToText());
}

pugi::xml_node FindXMLChild(pugi::xml_node node, std::string_view name, bool matchSelf) {
    if (!node) return {};
    if (matchSelf && node.type() == pugi::node_element && EqualsIgnoreCase(node.name(), name)) return node;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && EqualsIgnoreCase(child.name(), name)) return child;
    }
    return {};
}

pugi::xml_node FindXMLPath(std::string_view path, pugi::xml_node start) {
    pugi::xml_node current = start;
    const bool found = ForEachPiece(path, [&](std::string_view piece) {
        current = FindXMLChild(current, piece, true);
        return static_cast<bool>(current);
    });
    return found ? current : pugi::xml_node{};
}

pugi::xml_node CreateXMLPath(std::string_view path, pugi::xml_node start) {
    pugi::xml_node current = start;
    if (!current) return {};
    ForEachPiece(path, [&](std::string_view piece) {
        pugi::xml_node next = FindXMLChild(current, piece, true);
        if (!next) next = current.append_child(std::string(piece).c_str());
        current = next;
        return static_cast<bool>(current);
    });
    return current;
}

std::string TextOf(pugi::xml_node element) {
    const pugi::xml_node first = element.first_child();
    // Nearly every value is one text node: answer it without building up a string.
    if (first && IsText(first) && !first.next_sibling()) return first.value();
    std::string out;
    AppendText(element, out);
    return out;
}

void SetText(pugi::xml_node element, std::string_view text) {
    while (element.first_child()) element.remove_child(element.first_child());
    if (!text.empty()) element.append_child(pugi::node_pcdata).set_value(text.data(), text.size());
}

}  // namespace kestrune
