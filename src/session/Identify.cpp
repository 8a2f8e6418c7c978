#include "session/Identify.h"

#include "app/CommandLine.h"
#include "app/Table.h"
#include "app/Text.h"
#include "platform/Platform.h"
#include "session/MainWindowRules.h"

namespace kestrune {

namespace {

bool HasRow(const Table& table, int position) { return position >= 1 && position <= table.Count(); }

}  // namespace

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

Identification IdentifyItem(const Table& table, int position, std::string_view addressTemplate) {
    Identification result;
    if (!HasRow(table, position)) return result;
    const std::string text = IdentifyText(table, position, false, false);
    if (text.empty()) {
        result.outcome.status = OutcomeStatus::Refused;
        result.outcome.Say(std::string(kCannotIdentifyMessage), MessageIcon::Exclamation);
        return result;
    }
    result.outcome.status = OutcomeStatus::Done;
    result.address = SearchAddress(addressTemplate, text);
    return result;
}

ItemCopy CopyItemDetails(const Table& table, int position, bool keepPath, bool withArguments) {
    ItemCopy copy;
    if (!HasRow(table, position)) return copy;
    copy.text = IdentifyText(table, position, keepPath, withArguments);
    copy.outcome.status = OutcomeStatus::Done;
    copy.outcome.statusLine = kCopiedStatus;
    return copy;
}

Outcome OpenContainerFolder(platform::Platform& platform, const Table& table, int position) {
    if (!HasRow(table, position)) return Outcome::Of(OutcomeStatus::NothingToDo);
    const std::string folder = ContainerFolderOf(table, position);
    if (folder.empty() || !platform.files().DirectoryExists(folder)) return Outcome::Of(OutcomeStatus::NothingToDo);
    platform.shell().OpenFolder(folder);
    return Outcome::Of(OutcomeStatus::Done, "opened " + folder);
}

}  // namespace kestrune
