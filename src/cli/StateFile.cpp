#include "cli/StateFile.h"

#include <stdexcept>

#include "app/Text.h"

namespace kestrune::cli {

namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

constexpr int kMaxDepth = 6;  // root, places, a place, its entries, an entry, a field

constexpr const char* kNotJson = "the state file is not JSON: ";
constexpr const char* kTooDeep = "the state file is nested deeper than a state file is";
constexpr const char* kNotObject = "the state file is not a JSON object";
constexpr const char* kNoVersion = "the state file has no \"kestrune-state\" version";
constexpr const char* kUnknownVersion = "the state file has version ";
constexpr const char* kReadsVersion = ", this program reads version 1";
constexpr const char* kUnknownKey = " has an unknown key ";
constexpr const char* kUnknownPlace = " is not a place (UserStartup, CommonStartup, HKLM_Run, HKCU_Run, RunOnce)";
constexpr const char* kUnknownMode = " must be \"listed\" or \"exact\"";

class StateFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

[[noreturn]] void Fail(const std::string& text) { throw StateFileError(text); }

void OnlyKeys(const Json& object, const std::string& where, std::initializer_list<std::string_view> keys) {
    if (!object.is_object()) Fail(where + " must be an object");
    for (const auto& [key, value] : object.items()) {
        bool known = false;
        for (std::string_view allowed : keys) known = known || key == allowed;
        if (!known) Fail(where + kUnknownKey + "\"" + key + "\"");
    }
}

const Json* Field(const Json& object, const char* key) {
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

std::string Text(const Json& object, const std::string& where, const char* key, bool required) {
    const Json* value = Field(object, key);
    if (!value) {
        if (required) Fail(where + " has no \"" + key + "\"");
        return {};
    }
    if (!value->is_string()) Fail(where + "." + key + " must be a string");
    return value->get<std::string>();
}

std::optional<std::string> OptionalText(const Json& object, const std::string& where, const char* key) {
    if (!Field(object, key)) return std::nullopt;
    return Text(object, where, key, true);
}

bool Flag(const Json& object, const std::string& where, const char* key, bool fallback) {
    const Json* value = Field(object, key);
    if (!value) return fallback;
    if (!value->is_boolean()) Fail(where + "." + key + " must be true or false");
    return value->get<bool>();
}

const Json& List(const Json& object, const std::string& where, const char* key) {
    const Json* value = Field(object, key);
    if (!value || !value->is_array()) Fail(where + "." + key + " must be a list");
    return *value;
}

std::string Item(const std::string& where, size_t index) { return where + "[" + std::to_string(index) + "]"; }

std::optional<TableKind> PlaceKind(std::string_view key) {
    for (TableKind kind : kAllTables)
        if (IsLocationTable(kind) && EqualsIgnoreCase(KindName(kind), key)) return kind;
    return std::nullopt;
}

WantedPlace ReadPlace(const Json& json, const std::string& where, TableKind kind) {
    OnlyKeys(json, where, {"mode", "entries"});
    WantedPlace place;
    const std::string mode = Text(json, where, "mode", false);
    if (mode == "exact") place.mode = PlaceMode::Exact;
    else if (!mode.empty() && mode != "listed") Fail(where + ".mode" + kUnknownMode);
    const std::string listWhere = where + ".entries";
    const Json& entries = List(json, where, "entries");
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string at = Item(listWhere, i);
        if (IsFolderTable(kind)) OnlyKeys(entries[i], at, {"name", "target", "arguments", "enabled"});
        else OnlyKeys(entries[i], at, {"name", "command", "enabled"});
        WantedEntry entry;
        entry.name = Text(entries[i], at, "name", true);
        entry.path = OptionalText(entries[i], at, IsFolderTable(kind) ? "target" : "command");
        if (IsFolderTable(kind)) entry.arguments = OptionalText(entries[i], at, "arguments");
        entry.enabled = Flag(entries[i], at, "enabled", true);
        place.entries.push_back(std::move(entry));
    }
    return place;
}

std::vector<WantedDelayed> ReadDelayed(const Json& list) {
    std::vector<WantedDelayed> rows;
    for (size_t i = 0; i < list.size(); ++i) {
        const std::string at = Item("delayed", i);
        OnlyKeys(list[i], at, {"name", "command", "delay", "priority", "enabled"});
        WantedDelayed row;
        row.name = Text(list[i], at, "name", true);
        row.path = Text(list[i], at, "command", true);
        if (const Json* delay = Field(list[i], "delay")) {
            if (!delay->is_number_integer()) Fail(at + ".delay must be whole seconds");
            row.delay = delay->get<long long>();
        }
        row.priority = Text(list[i], at, "priority", false);
        row.enabled = Flag(list[i], at, "enabled", true);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<WantedKnown> ReadKnown(const Json& list) {
    std::vector<WantedKnown> rows;
    for (size_t i = 0; i < list.size(); ++i) {
        const std::string at = Item("known", i);
        OnlyKeys(list[i], at, {"path", "allowed"});
        rows.push_back({Text(list[i], at, "path", true), Flag(list[i], at, "allowed", true)});
    }
    return rows;
}

std::vector<WantedProcess> ReadProcesses(const Json& list) {
    std::vector<WantedProcess> rows;
    for (size_t i = 0; i < list.size(); ++i) {
        const std::string at = Item("processes", i);
        OnlyKeys(list[i], at, {"name", "path", "priority"});
        rows.push_back(
            {Text(list[i], at, "name", true), Text(list[i], at, "path", false), Text(list[i], at, "priority", true)});
    }
    return rows;
}

const Json* OptionalList(const Json& root, const char* key) {
    const Json* value = Field(root, key);
    if (value && !value->is_array()) Fail(std::string(key) + " must be a list");
    return value;
}

DesiredState ReadState(const Json& root) {
    if (!root.is_object()) Fail(kNotObject);
    const Json* version = Field(root, kStateVersionKey);
    if (!version) Fail(kNoVersion);
    if (!version->is_number_integer() || version->get<long long>() != kStateVersion)
        Fail(kUnknownVersion + version->dump() + kReadsVersion);
    OnlyKeys(root, "the state file", {kStateVersionKey, "places", "delayed", "known", "processes"});

    DesiredState state;
    if (const Json* places = Field(root, "places")) {
        if (!places->is_object()) Fail("places must be an object");
        for (const auto& [key, value] : places->items()) {
            const auto kind = PlaceKind(key);
            if (!kind) Fail("places.\"" + key + "\"" + kUnknownPlace);
            if (state.places.contains(*kind)) Fail("places names " + std::string(KindName(*kind)) + " twice");
            state.places[*kind] = ReadPlace(value, "places." + std::string(KindName(*kind)), *kind);
        }
    }
    if (const Json* list = OptionalList(root, "delayed")) state.delayed = ReadDelayed(*list);
    if (const Json* list = OptionalList(root, "known")) state.known = ReadKnown(*list);
    if (const Json* list = OptionalList(root, "processes")) state.processes = ReadProcesses(*list);
    return state;
}

OrderedJson FieldsJson(TableKind kind, const EntryFields& fields) {
    if (!fields.present) return nullptr;
    OrderedJson json;
    json["enabled"] = fields.enabled;
    if (IsFolderTable(kind)) {
        json["target"] = fields.path;
        json["arguments"] = fields.arguments;
    } else if (kind == TableKind::Known) {
        json["path"] = fields.path;
    } else {
        json[kind == TableKind::Process ? "path" : "command"] = fields.path;
    }
    if (kind == TableKind::Delayed) json["delay"] = fields.delay;
    if (kind == TableKind::Delayed || kind == TableKind::Process) json["priority"] = fields.priority;
    return json;
}

}  // namespace

ParsedState ParseStateFile(std::string_view text) {
    ParsedState parsed;
    if (text.size() > kMaxStateFileBytes) {
        parsed.error = kStateFileTooLarge;
        return parsed;
    }
    try {
        const Json root = Json::parse(text, [](int depth, Json::parse_event_t, Json&) {
            if (depth > kMaxDepth) Fail(kTooDeep);
            return true;
        });
        parsed.state = ReadState(root);
        if (const auto invalid = ValidateDesiredState(parsed.state)) parsed.error = *invalid;
    } catch (const StateFileError& e) {
        parsed.error = e.what();
    } catch (const Json::exception& e) {
        parsed.error = kNotJson + std::string(e.what());
    }
    return parsed;
}

ParsedState ReadStateFile(platform::FileSystem& files, const std::string& path) {
    ParsedState parsed;
    const auto stamp = files.Stamp(path);
    if (stamp && stamp->size > kMaxStateFileBytes) {
        parsed.error = kStateFileTooLarge;
        return parsed;
    }
    const auto text = stamp ? files.ReadFile(path) : std::nullopt;
    if (!text) {
        parsed.error = kCannotReadState;
        return parsed;
    }
    return ParseStateFile(*text);
}

std::string StateFileText(const DesiredState& state) {
    OrderedJson root;
    root[kStateVersionKey] = kStateVersion;
    OrderedJson places = OrderedJson::object();
    for (const auto& [kind, place] : state.places) {
        OrderedJson entries = OrderedJson::array();
        for (const WantedEntry& entry : place.entries) {
            OrderedJson json;
            json["name"] = entry.name;
            if (entry.path) json[IsFolderTable(kind) ? "target" : "command"] = *entry.path;
            if (entry.arguments) json["arguments"] = *entry.arguments;
            json["enabled"] = entry.enabled;
            entries.push_back(std::move(json));
        }
        places[std::string(KindName(kind))] = {{"mode", place.mode == PlaceMode::Exact ? "exact" : "listed"},
                                               {"entries", std::move(entries)}};
    }
    root["places"] = std::move(places);
    if (state.delayed) {
        OrderedJson rows = OrderedJson::array();
        for (const WantedDelayed& row : *state.delayed) {
            rows.push_back({{"name", row.name},
                            {"command", row.path},
                            {"delay", row.delay},
                            {"priority", row.priority},
                            {"enabled", row.enabled}});
        }
        root["delayed"] = std::move(rows);
    }
    if (state.known) {
        OrderedJson rows = OrderedJson::array();
        for (const WantedKnown& row : *state.known) rows.push_back({{"path", row.path}, {"allowed", row.allowed}});
        root["known"] = std::move(rows);
    }
    if (state.processes) {
        OrderedJson rows = OrderedJson::array();
        for (const WantedProcess& row : *state.processes)
            rows.push_back({{"name", row.name}, {"path", row.path}, {"priority", row.priority}});
        root["processes"] = std::move(rows);
    }
    // Names from the machine may hold any bytes; a broken UTF-8 sequence is replaced, not fatal.
    return root.dump(2, ' ', false, OrderedJson::error_handler_t::replace) + "\n";
}

nlohmann::ordered_json DifferenceJson(const StateDifference& d) {
    OrderedJson json;
    json["place"] = std::string(KindName(d.kind));
    json["name"] = d.name;
    json["change"] = std::string(ChangeWord(d.change));
    if (d.unlisted) json["unlisted"] = true;
    json["description"] = DescribeDifference(d);
    json["before"] = FieldsJson(d.kind, d.before);
    json["after"] = FieldsJson(d.kind, d.after);
    return json;
}

std::string_view ResultWord(const Outcome& outcome) {
    switch (outcome.status) {
        case OutcomeStatus::Done: return "done";
        case OutcomeStatus::NothingToDo: return "unchanged";
        case OutcomeStatus::Cancelled: return "cancelled";
        case OutcomeStatus::Refused: return "refused";
    }
    return "";
}

}  // namespace kestrune::cli
