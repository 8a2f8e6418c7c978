#include "store/SettingsDocument.h"

#include <array>
#include <cstdio>
#include <unordered_set>
#include <vector>

#include "app/MainState.h"
#include "app/Text.h"
#include "store/DetailsElements.h"
#include "store/ItemWriter.h"
#include "store/TreeDocument.h"

namespace kestrune {

namespace {

constexpr std::string_view kActive = "Active/";
constexpr std::string_view kRootPrefix = "Root/";
constexpr std::string_view kKeyElement = "key";

std::string Stamp(const LocalTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d%02d%04d_%02d%02d%02d", t.day, t.month, t.year, t.hour, t.minute, t.second);
    return text;
}

std::string StoredPath(TableKind kind) { return std::string(kRootPrefix) + std::string(KindName(kind)); }
std::string ActivePath(TableKind kind) {
    return std::string(kRootPrefix) + std::string(kActive) + std::string(KindName(kind));
}

// A row of another key than the table's main one says which, in an element older files lack.
void WritePlaceKey(pugi::xml_node item, PlaceKey key) {
    if (key != PlaceKey::Main) item.append_child(kKeyElement.data()).text().set(std::string(PlaceKeyMark(key)).c_str());
}

// Location rows: the unticked ones always, the ticked ones only in a backup and under "Active".
// A row Windows has switched off is still in its place, which holds it: it is not kept here.
void WriteLocationTable(const Table& table, bool backup, ItemWriter& writer) {
    const std::string stored(KindName(table.Kind()));
    const std::string active = std::string(kActive) + stored;
    for (int n = 1; n <= table.Count(); ++n) {
        const bool ticked = table.Ticked(n);
        if (ticked && !backup) continue;
        const RowPlace& place = table.Place(n);
        if (place.disabledInWindows) continue;
        const std::string& path = ticked ? active : stored;
        const std::string& command = table.Text(n, col::Path);
        pugi::xml_node item = IsFolderTable(table.Kind()) ? writer.WriteFolderItem(path, n, table.Name(n), command,
                                                                                   table.Text(n, col::Arguments))
                                                          : writer.WriteNamePathItem(path, n, table.Name(n), command);
        WriteEntryDetails(item, table.Details(n), command);
        WritePlaceKey(item, place.key);
    }
}

// The key a stored location row names; the main key when it names none (or one unknown here).
PlaceKey StoredPlaceKey(const pugi::xml_node& item) {
    const pugi::xml_node key = item.child(kKeyElement.data());
    if (!key) return PlaceKey::Main;
    return PlaceKeyFromMark(TextOf(key)).value_or(PlaceKey::Main);
}

// Only ticked process rows are kept, and each name and path only once.
void WriteProcessTable(const Table& table, ItemWriter& writer) {
    std::unordered_set<std::string> seen;
    const std::string tablePath(KindName(TableKind::Process));
    for (int n = 1; n <= table.Count(); ++n) {
        if (!table.Ticked(n)) continue;
        if (!seen.insert(ToLower(table.Name(n) + "-" + table.Text(n, col::Path))).second) continue;
        writer.WriteProcessItem(tablePath, n, table.Name(n), table.Text(n, col::Path),
                                table.Text(n, col::ProcessPriority));
    }
}

bool LoadDocument(Services& services, const std::string& path, TreeDocument& doc) {
    return services.FileExists(path) && doc.LoadFromFile(services.platform.files(), path);
}

// A document that is there but does not parse loads as nothing; saving over it would destroy
// whatever the user might still rescue from it, so it is first moved aside. False when it could
// not be moved (the save must then not go ahead).
bool KeepUnreadableDocument(RowParts parts, const std::string& target) {
    auto& files = parts.services.platform.files();
    if (!files.FileExists(target)) return true;
    TreeDocument existing;
    if (existing.LoadFromFile(files, target)) return true;
    const std::string base = target + ".unreadable_" + Stamp(parts.services.clock.Now());
    std::string aside = base;
    for (int attempt = 2; files.FileExists(aside) && attempt < 100; ++attempt)
        aside = base + "_" + std::to_string(attempt);
    if (!files.RenameFile(target, aside)) {
        parts.services.log.Write(kCannotKeepUnreadableLog + target, parts.paths.logPath);
        return false;
    }
    parts.services.log.Write(kKeptUnreadableLog + aside, parts.paths.logPath);
    return true;
}

}  // namespace

std::string BackupFileName(const LocalTime& time) { return "backup_" + Stamp(time) + ".xml"; }

void BuildSettingsDocument(const Tables& tables, bool backup, TreeDocument& doc) {
    doc.NewXMLDocument();
    ItemWriter writer(doc.Root());

    const Table& deleted = tables[TableKind::Deleted];
    const std::string deletedPath(KindName(TableKind::Deleted));
    for (int n = 1; n <= deleted.Count(); ++n) {
        const std::string& command = deleted.Text(n, col::Path);
        pugi::xml_node item = writer.WriteNamePathItem(deletedPath, n, deleted.Name(n), command);
        WriteEntryDetails(item, deleted.Details(n), command);
        // The key it lived in within its table's place, so that it goes back there.
        WritePlaceKey(item, deleted.Place(n).key);
    }

    for (TableKind kind : {TableKind::UserStartup, TableKind::CommonStartup, TableKind::HKCU_Run, TableKind::HKLM_Run,
                           TableKind::RunOnce})
        WriteLocationTable(tables[kind], backup, writer);

    const Table& delayed = tables[TableKind::Delayed];
    const std::string delayedPath(KindName(TableKind::Delayed));
    for (int n = 1; n <= delayed.Count(); ++n) {
        pugi::xml_node item = writer.WriteDelayedItem(
            delayedPath, n, delayed.Name(n), delayed.Text(n, col::Path), DelayText(delayed.Text(n, col::Delay)),
            delayed.Text(n, col::Previous), delayed.Ticked(n), delayed.Text(n, col::DelayedPriority));
        WriteImpact(item, delayed.Details(n).impact);
    }

    const Table& known = tables[TableKind::Known];
    const std::string knownPath(KindName(TableKind::Known));
    for (int n = 1; n <= known.Count(); ++n)
        writer.WriteKnownItem(knownPath, n, known.Text(n, col::KnownPath), known.Ticked(n));

    WriteProcessTable(tables[TableKind::Process], writer);
}

namespace {

// The file and, when the system gave one, the reason, each on a line of its own below `text`.
std::string WithFileAndReason(Services& services, const char* text, const std::string& file) {
    return std::string(text) + "\r\n" + file + WriteFailureLine(services);
}

// SaveSettingsDocument, the closing message added to `said`.
bool WriteSettingsDocument(RowParts parts, bool backup, Outcome& said) {
    std::string target;
    if (backup) {
        target = parts.paths.appFolder + BackupFileName(parts.services.clock.Now());
    } else {
        if (!parts.model.settingsChanged) return true;
        parts.model.settingsChanged = false;
        target = parts.paths.settingsDocumentPath;
    }

    TreeDocument doc;
    BuildSettingsDocument(parts.model.tables, backup, doc);

    const bool saved =
        KeepUnreadableDocument(parts, target) && doc.SaveXMLDocument(parts.services.platform.files(), target);
    if (!saved) {
        // The tables are not stored anywhere yet: the next save must try again, and the user
        // must not be told that it worked.
        if (!backup) parts.model.settingsChanged = true;
        parts.services.log.Write(kSaveFailedLog + target, parts.paths.logPath);
        said.status = OutcomeStatus::Refused;
        said.Say(WithFileAndReason(parts.services, backup ? kBackupNotSavedMessage : kSettingsNotSavedMessage, target),
                 MessageIcon::Exclamation);
        said.details.push_back("could not write " + target);
        return false;
    }
    said.status = OutcomeStatus::Done;
    if (backup) said.Say(std::string(kBackupSavedMessage) + "\r\n" + target, MessageIcon::Information);
    else said.Say(kSettingsSavedMessage, MessageIcon::Information);
    said.details.push_back((backup ? "saved a backup of every table to " : "saved the settings to ") + target);
    return true;
}

}  // namespace

std::string WriteFailureLine(Services& services) {
    const int code = services.platform.files().LastError();
    return code ? "\r\n" + services.platform.system().ErrorText(code) : std::string();
}

bool SaveSettingsDocument(MainState& state, bool quiet, bool backup) {
    Outcome said;
    const bool saved = WriteSettingsDocument(state, backup, said);
    if (!quiet) {
        for (const OutcomeMessage& message : said.messages)
            state.fe.ShowMessage(message.text, message.icon, message.caption);
    }
    return saved;
}

bool StoreSettingsNow(RowParts parts) {
    parts.model.settingsChanged = true;
    Outcome unsaid;
    return WriteSettingsDocument(parts, false, unsaid);
}

bool StoreEdits(MainState& state) {
    if (state.options.skipSave || !state.settingsChanged) return true;
    return SaveSettingsDocument(state, true, false);
}

bool StorePendingBeforeReload(MainState& state) {
    if (SaveSettingsDocument(state, true, false)) return true;
    state.fe.ShowMessage(
        std::string(kNotWrittenMessage) + "\r\n" + state.settingsDocumentPath + WriteFailureLine(state),
        MessageIcon::Exclamation);
    return false;
}

void ReadTableFromDocument(MainState& state, const TreeDocument& doc, TableKind kind, std::string_view path,
                           bool ticked) {
    const pugi::xml_node element = FindXMLPath(path, doc.Root());
    if (!element) return;
    Table& table = state.tables[kind];
    std::vector<std::string> fields;
    for (pugi::xml_node item = element.first_child(); item; item = item.next_sibling()) {
        if (item.type() != pugi::node_element) continue;
        // Fields go by their place among the item's children, not by their names; missing
        // ones read as empty, extra ones are ignored.
        fields.assign(6, std::string{});
        size_t at = 0;
        for (pugi::xml_node field = item.first_child(); field && at < fields.size(); field = field.next_sibling()) {
            if (field.type() == pugi::node_element) fields[at++] = TextOf(field);
        }
        std::vector<std::string> texts;
        bool tick = ticked;
        switch (kind) {
            case TableKind::UserStartup:
            case TableKind::CommonStartup: texts = {fields[0], fields[1], fields[2]}; break;
            case TableKind::HKLM_Run:
            case TableKind::HKCU_Run:
            case TableKind::RunOnce:
            case TableKind::Deleted: texts = {fields[0], fields[1]}; break;
            case TableKind::Delayed:
                texts = {fields[0], fields[1], fields[2], fields[3], fields[5]};
                tick = fields[4] == "1";
                break;
            case TableKind::Known:
                texts = {fields[0]};
                tick = fields[1] == "1";
                break;
            case TableKind::Process:
                texts = {fields[0], fields[1], fields[2], std::string{}};
                tick = true;
                break;
        }
        // What the row knows of its entry follows the fixed fields, by name.
        EntryDetails details;
        if (IsLocationTable(kind) || kind == TableKind::Deleted) details = ReadEntryDetails(item, fields[0], fields[1]);
        if (kind == TableKind::Delayed) details.impact = ReadImpact(item);
        if (kind == TableKind::Deleted && details.origin) texts.emplace_back(TabCaption(details.origin->table));
        // The icon comes from the row's path, which for Known is its only column.
        const int icon = state.rowFiles().ItemIcon(texts[static_cast<size_t>(PathColumn(kind))]);
        if (IsLocationTable(kind) || kind == TableKind::Deleted) details.place.key = StoredPlaceKey(item);
        table.Add(std::move(texts), tick, icon, std::move(details));
    }
}

void LoadSettingsDocument(MainState& state) {
    TreeDocument doc;
    if (!LoadDocument(state, state.settingsDocumentPath, doc)) return;
    for (TableKind kind : kAllTables) ReadTableFromDocument(state, doc, kind, StoredPath(kind), false);
}

void LoadStoredTable(MainState& state, TableKind kind) {
    TreeDocument doc;
    if (!LoadDocument(state, state.settingsDocumentPath, doc)) return;
    ReadTableFromDocument(state, doc, kind, StoredPath(kind), false);
}

namespace {

bool SameEntry(const Item& a, const Item& b) {
    return !a.ticked && !b.ticked && a.details.place.key == b.details.place.key &&
           EqualsIgnoreCase(a.texts[col::Name], b.texts[col::Name]) &&
           EqualsIgnoreCase(a.texts[col::Path], b.texts[col::Path]);
}

// The rows that hold entries taken out of their places (the disabled location rows and the
// Deleted rows) exist nowhere else; a backup older than them must not make them vanish, so
// those it lacks are kept behind its own rows.
void KeepTakenOutRows(Tables& tables, const std::array<std::vector<Item>, kTableCount>& before) {
    for (TableKind kind : kAllTables) {
        if (!IsLocationTable(kind) && kind != TableKind::Deleted) continue;
        Table& table = tables[kind];
        const std::vector<Item> loaded = table.Rows();
        for (const Item& row : before[static_cast<size_t>(Number(kind) - 1)]) {
            if (row.ticked) continue;
            bool found = false;
            for (const Item& other : loaded) found = found || SameEntry(row, other);
            if (!found) table.Add(row.texts, false, row.icon, row.details);
        }
    }
}

// The captions of the tables that the document holds rows for.
std::vector<std::string> TablesHeld(const TreeDocument& doc) {
    std::vector<std::string> held;
    for (TableKind kind : kAllTables) {
        const bool stored = FindXMLPath(StoredPath(kind), doc.Root());
        const bool active = IsLocationTable(kind) && FindXMLPath(ActivePath(kind), doc.Root());
        if (stored || active) held.emplace_back(TabCaption(kind));
    }
    return held;
}

bool ReadSettingsFile(MainState& state, const std::string& path, std::vector<std::string>* held = nullptr) {
    TreeDocument doc;
    if (!LoadDocument(state, path, doc)) return false;
    if (held) *held = TablesHeld(doc);
    std::array<std::vector<Item>, kTableCount> before;
    for (TableKind kind : kAllTables) before[static_cast<size_t>(Number(kind) - 1)] = state.tables[kind].Rows();
    state.tables.ClearAll();
    for (TableKind kind : kAllTables) {
        if (IsLocationTable(kind)) ReadTableFromDocument(state, doc, kind, ActivePath(kind), true);
    }
    for (TableKind kind : kAllTables) ReadTableFromDocument(state, doc, kind, StoredPath(kind), false);
    KeepTakenOutRows(state.tables, before);
    state.fe.SetStatus(kLoadedStatus);
    return true;
}

}  // namespace

void LoadSettingsFile(MainState& state, const std::string& path) { ReadSettingsFile(state, path); }

Outcome SaveSettingsCommand(MainState& state) {
    state.settingsChanged = true;
    Outcome outcome;
    WriteSettingsDocument(state, false, outcome);
    return outcome;
}

Outcome BackupSettingsCommand(MainState& state) {
    Outcome outcome;
    WriteSettingsDocument(state, true, outcome);
    return outcome;
}

Outcome LoadBackupCommand(MainState& state, Prompts& prompts) {
    const std::string file = prompts.ChooseFile(kXmlFileFilter, state.appFolder);
    if (file.empty()) return Outcome::Of(OutcomeStatus::Cancelled, "no backup file was chosen");
    if (!StorePendingBeforeReload(state))
        return Outcome::Of(OutcomeStatus::Refused,
                           "did not load " + file + ": the changes not yet saved could not be written first");
    bool loaded = false;
    std::vector<std::string> held;
    const BusyScope busy(state.events);
    try {
        loaded = ReadSettingsFile(state, file, &held);
        state.settingsChanged = true;
    } catch (...) {
        // A broken backup must not take the program down; whatever was read stays.
    }
    if (!loaded) return Outcome::Of(OutcomeStatus::Refused, "could not load " + file);
    // Every table was emptied; only these got rows back from the file.
    return Outcome::Of(OutcomeStatus::Done, "replaced the tables with the rows of " + file + " (rows for: " +
                                                (held.empty() ? std::string("none") : Join(held, ", ")) + ")");
}

}  // namespace kestrune
