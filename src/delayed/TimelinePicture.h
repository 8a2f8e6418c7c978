#pragma once
// The picture of a run's timeline as a list of shapes in one coordinate space, so that the
// desktop paints and the console writes as SVG exactly the same thing: a lane per program with
// its name, band and figures and a bar from its start shaded by how busy it kept the
// processor, then the processor usage the run read while it waited, then the time axis.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "delayed/RunTimeline.h"

namespace kestrune {

inline constexpr const char* kTimelineTitle = "Last delayed run";
// The processor chart's caption, on two lines beside it.
inline constexpr const char* kTimelineCpuCaption = "Processor usage the run read";
inline constexpr const char* kTimelineCpuCaptionTail = "while it waited (%)";
inline constexpr const char* kTimelineNoCpu = "No processor readings: no program waited for an idle processor";
inline constexpr const char* kTimelineEmpty = "No delayed run yet";

struct TimelineShape {
    enum class Kind { Rect, Line, Text, Polyline };
    enum class Anchor { Start, Middle, End };
    Kind kind = Kind::Rect;
    double x = 0, y = 0, width = 0, height = 0;  // a line goes from (x, y) to (x + width, y + height)
    std::vector<std::pair<double, double>> points;
    std::string text;
    std::uint32_t color = 0x000000;  // 0xRRGGBB: the fill, or the stroke of lines
    double opacity = 1.0;
    double fontSize = 12;  // the text's baseline is at y
    bool bold = false;
    Anchor anchor = Anchor::Start;
    double strokeWidth = 1;
};

struct TimelinePicture {
    double width = 0, height = 0;
    std::vector<TimelineShape> shapes;
};

// The shapes at 96 dpi; `scale` multiplies every length and font size.
TimelinePicture DrawTimeline(const RunTimeline& timeline, double scale = 1.0);
std::string TimelineToSvg(const TimelinePicture& picture);

}  // namespace kestrune
