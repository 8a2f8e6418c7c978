#pragma once
// A measured impact and a run's timeline as JSON, shared by `list` and `run-delayed`.

#include <nlohmann/json.hpp>
#include <optional>

#include "app/Impact.h"
#include "delayed/RunTimeline.h"

namespace kestrune::cli {

// {"band":..,"cpuMs":..,"bytesRead":..,"bytesWritten":..,"seconds":..}; the figures are null
// for a row not measured, so that a script tells "none" from zero.
nlohmann::ordered_json ImpactJson(const std::optional<Impact>& impact);

// {"lengthMs":..,"intervalMs":..,"programs":[{"name","command","startedMs","followedUntilMs",
// "ended","impact":{..},"busyPercent":[..]}],"cpu":[{"atMs","percent"}]}
nlohmann::ordered_json TimelineJson(const RunTimeline& timeline);

}  // namespace kestrune::cli
