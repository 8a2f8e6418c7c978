// Any bytes as the settings document and as a backup: loading must never crash, the normal
// document never ticks a location row, and what was loaded, saved and loaded again reads the
// same (up to what a save settles on purpose: the Delay column as a whole number, each process
// once).
#include <cstddef>
#include <cstdint>
#include <unordered_set>

#include "FuzzSupport.h"
#include "app/Text.h"
#include "store/ItemWriter.h"
#include "store/SettingsDocument.h"
#include "store/TreeDocument.h"

namespace {

using namespace kestrune;
using fuzz::Require;

// The tables as a save keeps them.
Tables AsSaved(const Tables& loaded, bool backup) {
    Tables saved;
    for (TableKind kind : kAllTables) {
        const Table& from = loaded[kind];
        Table& to = saved[kind];
        std::unordered_set<std::string> processes;
        for (int n = 1; n <= from.Count(); ++n) {
            Item row = from.Row(n);
            if (IsLocationTable(kind) && row.ticked && !backup) continue;
            if (kind == TableKind::Delayed) row.texts[col::Delay] = DelayText(row.texts[col::Delay]);
            if (kind == TableKind::Process) {
                if (!row.ticked || !processes.insert(ToLower(row.texts[0] + "-" + row.texts[1])).second) continue;
                row.texts[col::Handle].clear();
            }
            to.Add(row.texts, row.ticked, row.icon);
        }
    }
    return saved;
}

bool SameTables(const Tables& a, const Tables& b) {
    for (TableKind kind : kAllTables) {
        if (a[kind].Count() != b[kind].Count()) return false;
        for (int n = 1; n <= a[kind].Count(); ++n) {
            if (a[kind].Row(n).texts != b[kind].Row(n).texts || a[kind].Ticked(n) != b[kind].Ticked(n)) return false;
        }
    }
    return true;
}

// Saves the state's tables as the document (or a backup), loads that again into a new state,
// and answers the new state's tables.
Tables SaveAndLoad(MainState& state, bool backup) {
    TreeDocument doc;
    BuildSettingsDocument(state.model.tables, backup, doc);
    const std::string text = doc.ToText();
    auto again = fuzz::FuzzMachine::Instance().NewState();
    auto& files = fuzz::FuzzMachine::Instance().Platform().files();
    Require(files.WriteFileAtomic(again->paths.settingsDocumentPath, text), "the document can be written");
    if (backup) LoadSettingsFile(*again, again->paths.settingsDocumentPath);
    else LoadSettingsDocument(*again);
    return std::move(again->model.tables);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& machine = fuzz::FuzzMachine::Instance();
    auto& files = machine.Platform().files();
    const std::string input(fuzz::AsText(data, size));

    auto state = machine.NewState();
    Require(files.WriteFileAtomic(state->paths.settingsDocumentPath, input), "the document can be written");
    LoadSettingsDocument(*state);
    for (TableKind kind : kAllTables) {
        const Table& table = state->model.tables[kind];
        for (int n = 1; n <= table.Count(); ++n) {
            Require(static_cast<int>(table.Row(n).texts.size()) == table.ColumnCount(), "every row has every column");
            if (IsLocationTable(kind)) Require(!table.Ticked(n), "the document never ticks a location row");
            if (kind == TableKind::Process) Require(table.Ticked(n), "a stored process row is ticked");
        }
    }
    Require(SameTables(SaveAndLoad(*state, false), AsSaved(state->model.tables, false)),
            "saved and loaded again reads the same");

    auto backup = machine.NewState();
    Require(files.WriteFileAtomic(backup->paths.settingsDocumentPath, input), "the document can be written");
    LoadSettingsFile(*backup, backup->paths.settingsDocumentPath);
    Require(SameTables(SaveAndLoad(*backup, true), AsSaved(backup->model.tables, true)),
            "a backup saved and loaded again reads the same");
    return 0;
}
