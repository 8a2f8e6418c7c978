#include "cli/ImpactJson.h"

namespace kestrune::cli {

using Json = nlohmann::ordered_json;

Json ImpactJson(const std::optional<Impact>& impact) {
    Json out{{"band", BandText(BandOf(impact))}};
    out["cpuMs"] = impact ? Json(impact->cpuMs) : Json();
    out["bytesRead"] = impact ? Json(impact->bytesRead) : Json();
    out["bytesWritten"] = impact ? Json(impact->bytesWritten) : Json();
    out["seconds"] = impact ? Json(impact->followedSeconds) : Json();
    return out;
}

Json TimelineJson(const RunTimeline& timeline) {
    Json programs = Json::array();
    for (const TimelineProgram& program : timeline.programs) {
        programs.push_back(Json{{"name", program.name},
                                {"command", program.command},
                                {"startedMs", program.startedMs},
                                {"followedUntilMs", program.followedUntilMs},
                                {"ended", program.ended},
                                {"impact", ImpactJson(program.impact)},
                                {"busyPercent", program.busyPercent}});
    }
    Json cpu = Json::array();
    for (const TimelineCpuReading& reading : timeline.cpu)
        cpu.push_back(Json{{"atMs", reading.atMs}, {"percent", reading.percent}});
    return Json{{"lengthMs", timeline.lengthMs},
                {"intervalMs", timeline.intervalMs},
                {"programs", std::move(programs)},
                {"cpu", std::move(cpu)}};
}

}  // namespace kestrune::cli
