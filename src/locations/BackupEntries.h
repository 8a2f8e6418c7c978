#pragma once
// After "Load a backup file": the backup's ticked rows stand in the location tables, but their
// entries are not in the places. Putting them there is a separate step the user chooses, and
// each entry goes in as a tick puts it, with the same refusals.

#include <optional>

#include "app/Outcome.h"
#include "app/RowFiles.h"
#include "locations/PlaceParts.h"

namespace kestrune {

struct MainState;
class Prompts;

inline constexpr const char* kBackupPlacesUnchangedLine = "The start-up places were not changed.";
inline constexpr const char* kApplyBackupQuestion = "Put the backup's ticked entries into their places now?";
inline constexpr const char* kApplyBackupHint = "load-backup --apply puts them there.";

// The ticked location rows whose entries their places do not hold as the rows say.
int CountBackupEntriesNotInPlace(RowParts parts);
// Puts each of them into its place; what a place refuses is said, and its row is unticked.
Outcome PutBackupEntriesInPlaces(PlaceParts parts);
// "Load a backup file" with what follows it: `apply` set puts the entries into their places,
// clear leaves them, and unset asks the user (when there is anything to put in). It takes the
// whole state: it loads the settings document as well as changing the places.
Outcome LoadBackupAndOffer(MainState& state, Prompts& prompts, std::optional<bool> apply);

}  // namespace kestrune
