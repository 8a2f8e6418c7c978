#include "app/session/MainWindowRules.h"

#include "app/CommandLine.h"
#include "app/MainState.h"
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

namespace {

std::string ProcessStatus(int count, int ticked, bool refreshed) {
    std::string text = std::to_string(count) + " processes, " + std::to_string(ticked) + " stored item(s)";
    if (refreshed) text += " - refreshed";
    return text;
}

}  // namespace

std::string TableStatusText(const MainState& state, int tab) {
    const auto kind = TableFromNumber(tab - 1);
    if (!kind) return std::string(kTitle) + " from " + kMakerSiteName;
    const Table& table = state.tables[*kind];
    const int n = table.Count();
    const int ticked = table.CountTicked();
    switch (*kind) {
    case TableKind::Deleted:
        return std::to_string(n) + " item(s)";
    case TableKind::Process:
        return ProcessStatus(n, ticked, false);
    default:
        return std::to_string(n) + " item(s) : " + std::to_string(ticked) + " enabled, " + std::to_string(n - ticked) +
               " disabled.";
    }
}

void ShowTableStatus(MainState& state, const std::function<void()>& refillProcesses) {
    if (state.CurrentKind() != TableKind::Process) {
        state.fe.SetStatus(TableStatusText(state, state.currentTab));
        return;
    }
    // The counts are the ones before the refill, as the status has always shown them.
    const Table& table = state.tables[TableKind::Process];
    const int n = table.Count();
    const int ticked = table.CountTicked();
    if (state.processRefreshNeeded) {
        state.fe.SetStatus(std::string(kRefreshingStatus));
        state.fe.ProcessEvents();
        if (refillProcesses) refillProcesses();
        state.processRefreshNeeded = false;
        state.fe.SetStatus(ProcessStatus(n, ticked, true));
    } else {
        state.fe.SetStatus(ProcessStatus(n, ticked, false));
    }
    if (ticked < 1) {
        if (state.tmrPriorities && state.tmrPriorities->Running()) state.tmrPriorities->Stop();
    } else if (state.options.watchPriorities && state.tmrPriorities) {
        state.tmrPriorities->Start();
    }
}

ContextMenuRules ContextMenuFor(TableKind kind, int selectedCount) {
    ContextMenuRules rules;
    for (size_t i = 0; i < kMoveTargets.size(); ++i) rules.moveEnabled[i] = kMoveTargets[i] != kind;
    const bool single = selectedCount <= 1;
    rules.identifyEnabled = rules.copyEnabled = rules.editEnabled = rules.runEnabled = single;
    switch (kind) {
    case TableKind::Known:
        rules.moveVisible = rules.editVisible = rules.recordVisible = false;
        rules.priorityVisible = rules.endProcessVisible = false;
        break;
    case TableKind::Process:
        rules.deleteVisible = rules.editVisible = rules.recordVisible = rules.moveVisible = false;
        rules.priorityVisible = rules.endProcessVisible = true;
        break;
    default:
        break;
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
