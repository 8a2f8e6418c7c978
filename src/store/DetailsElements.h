#pragma once
// The elements after an item's fixed fields that keep what a row knows of its entry (a value's
// type and bytes, a shortcut's fields, a Deleted row's origin). Documents written before them
// simply lack them, so they are always found by name, never by position, and each group is
// written only when the row has it.

#include <optional>
#include <string_view>

#include <pugixml.hpp>

#include "app/EntryDetails.h"

namespace kestrune {

// `name` and `path` are the item's own fields: a text value's data is its path, and a Deleted
// row's columns in its origin start with them.
void WriteEntryDetails(pugi::xml_node item, const EntryDetails& details, std::string_view path);
EntryDetails ReadEntryDetails(pugi::xml_node item, std::string_view name, std::string_view path);

// A Delayed row's last measured impact: an "impact" element after the item's fields, with
// "cpu" (milliseconds), "read" and "written" (bytes) and "seconds" (how long it was followed).
void WriteImpact(pugi::xml_node item, const std::optional<Impact>& impact);
// Nullopt for an item without one, or with one that does not read as whole numbers.
std::optional<Impact> ReadImpact(pugi::xml_node item);

}  // namespace kestrune
