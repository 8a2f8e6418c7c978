#include "session/MainWindowRules.h"

#include "app/CommandLine.h"
#include "app/Table.h"
#include "app/Text.h"
#include "app/Version.h"

namespace kestrune {

std::string TabCaptionOf(int tab) {
    if (const auto kind = TableFromNumber(tab - 1)) return std::string(TabCaption(*kind));
    return tab == 1 ? std::string(kAboutTabCaption) : std::string{};
}

std::string AboutSummary() {
    return std::string("About ") + kTitle + " - v" + std::to_string(kVersionMajor) + "." +
           std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision);
}

TabRules RulesForTab(int tab) {
    TabRules rules;
    const auto kind = TableFromNumber(tab - 1);
    if (!kind) {
        rules.summary = AboutSummary();
    } else if (*kind == TableKind::Process) {
        rules.summary = std::string(kProcessSummary);
        rules.recordItemsEnabled = false;
        rules.deleteUntickedEnabled = false;
    } else {
        rules.summary = std::string(Description(*kind));
    }
    return rules;
}

ContextMenuRules ContextMenuFor(TableKind kind, int selectedCount) {
    ContextMenuRules rules;
    for (size_t i = 0; i < kMoveTargets.size(); ++i) rules.moveEnabled[i] = kMoveTargets[i] != kind;
    const bool single = selectedCount <= 1;
    rules.identifyEnabled = rules.copyEnabled = rules.editEnabled = rules.runEnabled = single;
    rules.moveBackVisible = kind == TableKind::Deleted;
    switch (kind) {
        case TableKind::Known:
            rules.moveVisible = rules.editVisible = rules.recordVisible = false;
            rules.priorityVisible = rules.endProcessVisible = false;
            break;
        case TableKind::Process:
            rules.deleteVisible = rules.editVisible = rules.recordVisible = rules.moveVisible = false;
            rules.priorityVisible = rules.endProcessVisible = true;
            break;
        default: break;
    }
    return rules;
}

std::optional<int> CheckedPriorityEntry(const Table& table, const std::vector<int>& selectedRows) {
    if (selectedRows.empty() || table.Kind() != TableKind::Process) return std::nullopt;
    const int row = selectedRows.front();
    if (row < 1 || row > table.Count()) return std::nullopt;
    const std::string& priority = table.Text(row, col::ProcessPriority);
    for (size_t i = 0; i < kPriorityEntries.size(); ++i) {
        if (EqualsIgnoreCase(priority, kPriorityEntries[i].caption)) return static_cast<int>(i);
    }
    return std::nullopt;
}

std::string ContainerFolderOf(const Table& table, int position) {
    if (position < 1 || position > table.Count()) return {};
    const std::string& text = table.Text(position, PathColumn(table.Kind()));
    const std::string path = SplitCommandLine(text, false).path;
    if (path.empty()) return {};
    return FolderOf(path);
}

}  // namespace kestrune
