#include "delayed/TimelinePicture.h"

#include <algorithm>
#include <cstdio>

namespace kestrune {

namespace {

constexpr double kWidth = 960;
constexpr double kMargin = 16;
constexpr double kLabelWidth = 250;
constexpr double kTitleHeight = 34;
constexpr double kLaneHeight = 40;
constexpr double kBarHeight = 16;
constexpr double kCpuHeight = 90;
constexpr double kAxisHeight = 30;
constexpr double kFont = 13;
constexpr double kSmallFont = 11;

constexpr std::uint32_t kInk = 0x202020;
constexpr std::uint32_t kFaint = 0x707070;
constexpr std::uint32_t kGrid = 0xd0d0d0;
constexpr std::uint32_t kCpuColor = 0x2f6db5;

std::uint32_t BandColor(ImpactBand band) {
    switch (band) {
        case ImpactBand::High: return 0xc0392b;
        case ImpactBand::Medium: return 0xd68910;
        case ImpactBand::Low: return 0x1e8449;
        case ImpactBand::NotMeasured: break;
    }
    return 0x808080;
}

// The step between labelled times: a round number of seconds giving at most about ten labels.
int AxisStepMs(int lengthMs) {
    for (const int step : {1000, 2000, 5000, 10000, 15000, 30000, 60000, 120000, 300000})
        if (lengthMs / step <= 10) return step;
    return 600000;
}

class Painter {
public:
    explicit Painter(double scale) : scale_(scale) {}
    TimelineShape& Add(TimelineShape::Kind kind, double x, double y, double width, double height) {
        TimelineShape shape;
        shape.kind = kind;
        shape.x = x * scale_;
        shape.y = y * scale_;
        shape.width = width * scale_;
        shape.height = height * scale_;
        shape.strokeWidth = scale_;
        shape.fontSize = kFont * scale_;
        shapes.push_back(std::move(shape));
        return shapes.back();
    }
    void Text(double x, double y, std::string text, double size, std::uint32_t color,
              TimelineShape::Anchor anchor = TimelineShape::Anchor::Start, bool bold = false) {
        TimelineShape& shape = Add(TimelineShape::Kind::Text, x, y, 0, 0);
        shape.text = std::move(text);
        shape.fontSize = size * scale_;
        shape.color = color;
        shape.anchor = anchor;
        shape.bold = bold;
    }
    void Line(double x1, double y1, double x2, double y2, std::uint32_t color) {
        Add(TimelineShape::Kind::Line, x1, y1, x2 - x1, y2 - y1).color = color;
    }
    void Rect(double x, double y, double width, double height, std::uint32_t color, double opacity = 1.0) {
        TimelineShape& shape = Add(TimelineShape::Kind::Rect, x, y, width, height);
        shape.color = color;
        shape.opacity = opacity;
    }
    double Scaled(double v) const { return v * scale_; }

    std::vector<TimelineShape> shapes;

private:
    double scale_;
};

std::string Seconds(int ms) {
    char text[32];
    if (ms % 1000 == 0) std::snprintf(text, sizeof text, "%d s", ms / 1000);
    else std::snprintf(text, sizeof text, "%.1f s", ms / 1000.0);
    return text;
}

std::string Escape(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default:
                // Control characters are not allowed in XML 1.0.
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') out += c;
        }
    }
    return out;
}

std::string Number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", v);
    return text;
}

std::string Color(std::uint32_t rgb) {
    char text[16];
    std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(rgb & 0xffffff));
    return text;
}

}  // namespace

TimelinePicture DrawTimeline(const RunTimeline& timeline, double scale) {
    Painter p(scale);
    const double chartLeft = kMargin + kLabelWidth;
    const double chartWidth = kWidth - chartLeft - kMargin;
    const int lengthMs = std::max({timeline.lengthMs, 1000});
    const auto xAt = [&](int ms) { return chartLeft + chartWidth * std::clamp(ms, 0, lengthMs) / lengthMs; };

    p.Text(kMargin, kMargin + kFont, kTimelineTitle, kFont + 2, kInk, TimelineShape::Anchor::Start, true);
    double y = kTitleHeight;
    if (timeline.Empty()) {
        p.Text(kMargin, y + kFont + 8, kTimelineEmpty, kFont, kFaint);
        return {p.Scaled(kWidth), p.Scaled(y + kLaneHeight), std::move(p.shapes)};
    }

    const int step = AxisStepMs(lengthMs);
    const double lanesTop = y;
    const double lanesHeight = kLaneHeight * static_cast<double>(timeline.programs.size());
    const double gridBottom = lanesTop + lanesHeight + kCpuHeight + 8;
    for (int ms = 0; ms <= lengthMs; ms += step) p.Line(xAt(ms), lanesTop, xAt(ms), gridBottom, kGrid);

    for (const TimelineProgram& program : timeline.programs) {
        const ImpactBand band = BandOf(program.impact);
        const std::uint32_t color = BandColor(band);
        p.Text(kMargin, y + 16, program.name, kFont, kInk, TimelineShape::Anchor::Start, true);
        std::string figures = BandText(band);
        if (program.impact) {
            char text[96];
            std::snprintf(
                text, sizeof text, " - %.2f s CPU, %.1f MB", program.impact->cpuMs / 1000.0,
                static_cast<double>(program.impact->bytesRead + program.impact->bytesWritten) / (1024.0 * 1024.0));
            figures += text;
        }
        if (program.following) figures += " (measuring)";
        p.Text(kMargin, y + 32, figures, kSmallFont, color);

        const double barTop = y + (kLaneHeight - kBarHeight) / 2;
        const double start = xAt(program.startedMs);
        const double end = std::max(xAt(program.followedUntilMs), start + 2);
        // The whole time it was followed, faint; each interval as dark as it was busy.
        p.Rect(start, barTop, end - start, kBarHeight, color, 0.15);
        for (size_t i = 0; i < program.busyPercent.size(); ++i) {
            const int from = program.startedMs + static_cast<int>(i) * timeline.intervalMs;
            const int busy = program.busyPercent[i];
            if (busy <= 0) continue;
            p.Rect(xAt(from), barTop, xAt(from + timeline.intervalMs) - xAt(from), kBarHeight, color,
                   0.25 + 0.75 * busy / 100.0);
        }
        p.Line(start, barTop - 4, start, barTop + kBarHeight + 4, kInk);
        y += kLaneHeight;
    }

    // The processor usage, 0 to 100 % over the chart's height.
    const double cpuTop = y + 8;
    p.Text(kMargin, cpuTop + 16, kTimelineCpuCaption, kSmallFont, kCpuColor);
    p.Text(kMargin, cpuTop + 16 + kSmallFont + 4, kTimelineCpuCaptionTail, kSmallFont, kCpuColor);
    p.Rect(chartLeft, cpuTop, chartWidth, kCpuHeight, 0xf4f6fa);
    p.Line(chartLeft, cpuTop + kCpuHeight, chartLeft + chartWidth, cpuTop + kCpuHeight, kGrid);
    p.Text(chartLeft - 4, cpuTop + kSmallFont, "100", kSmallFont, kFaint, TimelineShape::Anchor::End);
    p.Text(chartLeft - 4, cpuTop + kCpuHeight, "0", kSmallFont, kFaint, TimelineShape::Anchor::End);
    if (timeline.cpu.empty()) {
        p.Text(chartLeft + chartWidth / 2, cpuTop + kCpuHeight / 2 + 4, kTimelineNoCpu, kSmallFont, kFaint,
               TimelineShape::Anchor::Middle);
    } else {
        TimelineShape& line = p.Add(TimelineShape::Kind::Polyline, 0, 0, 0, 0);
        line.color = kCpuColor;
        line.strokeWidth = p.Scaled(2);
        for (const TimelineCpuReading& reading : timeline.cpu) {
            const double cy = cpuTop + kCpuHeight * (100 - std::clamp(reading.percent, 0, 100)) / 100.0;
            line.points.emplace_back(p.Scaled(xAt(reading.atMs)), p.Scaled(cy));
        }
    }
    y = cpuTop + kCpuHeight + 8;

    p.Line(chartLeft, y, chartLeft + chartWidth, y, kInk);
    for (int ms = 0; ms <= lengthMs; ms += step) {
        p.Line(xAt(ms), y, xAt(ms), y + 5, kInk);
        p.Text(xAt(ms), y + 8 + kSmallFont, Seconds(ms), kSmallFont, kInk, TimelineShape::Anchor::Middle);
    }
    y += kAxisHeight;
    return {p.Scaled(kWidth), p.Scaled(y + kMargin / 2), std::move(p.shapes)};
}

std::string TimelineToSvg(const TimelinePicture& picture) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      Number(picture.width) + "\" height=\"" + Number(picture.height) + "\" viewBox=\"0 0 " +
                      Number(picture.width) + " " + Number(picture.height) + "\">\n";
    out += "<rect x=\"0\" y=\"0\" width=\"" + Number(picture.width) + "\" height=\"" + Number(picture.height) +
           "\" fill=\"#ffffff\"/>\n";
    for (const TimelineShape& s : picture.shapes) {
        switch (s.kind) {
            case TimelineShape::Kind::Rect:
                out += "<rect x=\"" + Number(s.x) + "\" y=\"" + Number(s.y) + "\" width=\"" + Number(s.width) +
                       "\" height=\"" + Number(s.height) + "\" fill=\"" + Color(s.color) + "\" fill-opacity=\"" +
                       Number(s.opacity) + "\"/>\n";
                break;
            case TimelineShape::Kind::Line:
                out += "<line x1=\"" + Number(s.x) + "\" y1=\"" + Number(s.y) + "\" x2=\"" + Number(s.x + s.width) +
                       "\" y2=\"" + Number(s.y + s.height) + "\" stroke=\"" + Color(s.color) + "\" stroke-width=\"" +
                       Number(s.strokeWidth) + "\"/>\n";
                break;
            case TimelineShape::Kind::Polyline: {
                std::string points;
                for (const auto& [px, py] : s.points)
                    points += (points.empty() ? "" : " ") + Number(px) + "," + Number(py);
                out += "<polyline points=\"" + points + "\" fill=\"none\" stroke=\"" + Color(s.color) +
                       "\" stroke-width=\"" + Number(s.strokeWidth) + "\"/>\n";
                break;
            }
            case TimelineShape::Kind::Text: {
                const char* anchor = s.anchor == TimelineShape::Anchor::Middle ? "middle"
                                     : s.anchor == TimelineShape::Anchor::End  ? "end"
                                                                               : "start";
                out += "<text x=\"" + Number(s.x) + "\" y=\"" + Number(s.y) +
                       "\" font-family=\"sans-serif\" font-size=\"" + Number(s.fontSize) + "\" fill=\"" +
                       Color(s.color) + "\" text-anchor=\"" + anchor + "\"" + (s.bold ? " font-weight=\"bold\"" : "") +
                       ">" + Escape(s.text) + "</text>\n";
                break;
            }
        }
    }
    out += "</svg>\n";
    return out;
}

}  // namespace kestrune
