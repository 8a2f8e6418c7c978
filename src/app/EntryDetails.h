#pragma once
// What a row knows of its entry beyond its column texts: what the place held (a value's type
// and exact bytes, every field of a shortcut file), so that an entry taken out goes back just
// as it was; and for a Deleted row, the table it came from and what it was there. A row read
// from a document written before these existed has none of it and is put back from its texts.

#include <optional>
#include <string>
#include <vector>

#include "app/Impact.h"
#include "app/RowPlace.h"
#include "app/TableKind.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

namespace kestrune {

// A registry value as its place held it; `data` is the exact bytes (platform::RegistryValue).
struct StoredValue {
    platform::ValueType type = platform::ValueType::String;
    std::string data;
    bool operator==(const StoredValue&) const = default;
};

// Where a Deleted row lived: its table, the tick it had there and all of its columns there
// (name and path included; the Deleted row's own name and path win, since they may be edited).
struct DeletedFrom {
    TableKind table = TableKind::UserStartup;
    bool ticked = false;
    std::vector<std::string> texts;
    bool operator==(const DeletedFrom&) const = default;
};

// A file of a Startup folder that is not a shortcut (a script, an Internet shortcut): Windows
// opens the file itself, so taking it out moves the file, bytes and all, into a folder of the
// program's own until it goes back.
struct StartupFile {
    std::string keptAt;  // where the file waits while it is out of its folder; "" while in it
    bool operator==(const StartupFile&) const = default;
};

struct EntryDetails {
    // Registry rows. Whoever changes the row's path keeps this true to it (or drops it).
    std::optional<StoredValue> value;
    // Folder rows: every field of the shortcut; the row's path and arguments stand for its
    // target and arguments, which are kept here only as the file had them.
    std::optional<platform::ShortcutInfo> shortcut;
    // Folder rows of a file that is not a shortcut; the row's name is the file's whole name.
    std::optional<StartupFile> file;
    // Deleted rows.
    std::optional<DeletedFrom> origin;
    // Location rows: which of the table's keys holds the entry, and whether Windows' own
    // approval value keeps it off (see RowPlace.h).
    RowPlace place;
    // Delayed rows: what the program cost the last time Kestrune started it.
    std::optional<Impact> impact;
    bool operator==(const EntryDetails&) const = default;
};

// The string types keep their text in the row's path; the others only in their bytes.
inline bool IsTextValueType(platform::ValueType type) {
    return type == platform::ValueType::String || type == platform::ValueType::ExpandString;
}

}  // namespace kestrune
