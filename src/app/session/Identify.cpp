#include "app/session/Identify.h"

#include "app/CommandLine.h"
#include "app/MainState.h"
#include "app/Text.h"

namespace kestrune {

std::string SearchListEntry(const SearchEngine& engine) {
    return std::string(engine.displayName) + "\t" + std::string(engine.addressTemplate);
}

std::string SearchCaption(const SearchEngine& engine) {
    return std::string(kSearchCaptionPrefix) + std::string(engine.displayName);
}

std::string IdentifyText(const Table& table, int position, bool keepPath, bool withArguments) {
    const TableKind kind = table.Kind();
    std::string text;
    if (IsFolderTable(kind)) {
        const std::string& path = table.Text(position, col::Path);
        const std::string& arguments = table.Text(position, col::Arguments);
        text = withArguments && !arguments.empty() ? "\"" + path + "\" " + arguments : path;
    } else {
        const std::string& command = table.Text(position, PathColumn(kind));
        text = withArguments ? command : SplitCommandLine(command, false).path;
    }
    if (!keepPath) text = FileNameOf(text);
    if (kind == TableKind::Process && text == "?") text = table.Name(position);
    return text;
}

std::string SearchAddress(std::string_view addressTemplate, std::string_view text) {
    constexpr std::string_view kPlaceholder = "<?>";
    if (addressTemplate.find(kPlaceholder) == std::string_view::npos) {
        return std::string(addressTemplate) + std::string(text);
    }
    return ReplaceAll(std::string(addressTemplate), kPlaceholder, text);
}

void IdentifyItem(MainState& state, std::string_view addressTemplate, bool keepPath, bool withArguments) {
    const auto kind = state.CurrentKind();
    if (!kind) return;
    const std::vector<int> selected = state.fe.SelectedRows(*kind);
    if (selected.empty()) return;
    const Table& table = state.tables[*kind];
    const int position = selected.front();
    if (position < 1 || position > table.Count()) return;

    const std::string text = IdentifyText(table, position, keepPath, withArguments);
    if (addressTemplate.empty()) {
        state.fe.CopyToClipboard(text);
        state.fe.SetStatus(std::string(kCopiedStatus));
        return;
    }
    if (text.empty()) {
        state.fe.ShowMessage(std::string(kCannotIdentifyMessage), MessageIcon::Exclamation);
        return;
    }
    state.platform.shell().OpenDocument(SearchAddress(addressTemplate, text));
}

}  // namespace kestrune
