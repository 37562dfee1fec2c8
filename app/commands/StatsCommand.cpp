#include "app/commands/StatsCommand.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/commands/LimitSupport.h"
#include "app/commands/PathCommandSupport.h"
#include "app/io/FileAccess.h"
#include "base/numbertext/Layout.h"
#include "toolpath/motion/PathStats.h"

namespace {

using Json = nlohmann::ordered_json;

struct StatsOptions {
    std::string element;
    bool json = false;
    bool segments = false;
    DynamicsOptions before;
    std::vector<double> from;  // in the drives' position units
};

// Long reports go out in pieces of about this size rather than as one string.
constexpr std::size_t kOutputChunk = 1 << 20;
constexpr int kShownDigits = 6;
constexpr int kCellWidth = 14;

class ChunkedOutput {
  public:
    ChunkedOutput& operator<<(const std::string& text) {
        m_text += text;
        if (m_text.size() >= kOutputChunk) Flush();
        return *this;
    }
    void Flush() {
        WriteStandardOutput(m_text);
        m_text.clear();
    }

  private:
    std::string m_text;
};

std::string Number(double value) {
    return numbertext::Significant(value == 0.0 ? 0.0 : value, kShownDigits).Str();
}

std::string Cell(const std::string& text, int width = kCellWidth) {
    return text.size() >= static_cast<size_t>(width) ? text + " "
                                                     : text + std::string(width - text.size(), ' ');
}

const char* UnitKindName(UnitKind kind) {
    switch (kind) {
        case UnitKind::Linear:
            return "linear";
        case UnitKind::Rotary:
            return "rotary";
        default:
            return "none";
    }
}

std::string WithUnit(double value, const std::string& unit) {
    return unit.empty() ? Number(value) : Number(value) + " " + unit;
}

// "1:02:03.4": hours, minutes and seconds to a tenth, as a clock reads a long run.
std::string ClockText(double seconds) {
    const long long tenths = std::llround(seconds * 10.0);
    char text[48];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%lld", tenths / 36000, tenths / 600 % 60,
                  tenths / 10 % 60, tenths % 10);
    return text;
}

bool IsInchUnit(const std::string& unit) {
    return unit == "in" || unit == "mil" || unit.rfind("in/", 0) == 0;
}

// The unit per minute a machinist reads speeds in: mm/min, in/min on inch columns, rpm on
// rotary ones; empty for an element without units.
std::string PerMinuteUnit(const ElementPath& path) {
    if (path.unitKind == UnitKind::Rotary) return "rpm";
    if (path.unitKind != UnitKind::Linear) return "";
    const bool inch =
        IsInchUnit(path.columnUnits.speed) || IsInchUnit(path.columnUnits.position[0]);
    return inch ? "in/min" : "mm/min";
}

// A speed of the speed column's unit in PerMinuteUnit; nothing when it does not convert.
std::optional<double> PerMinute(const ElementPath& path, double speed) {
    const std::string unit = PerMinuteUnit(path);
    if (unit.empty()) return std::nullopt;
    if (unit == "rpm")
        return path.units.Convert(speed, path.columnUnits.speed.c_str(), "rpm")
                   ? std::optional<double>(speed)
                   : std::nullopt;
    const char* perSecond = unit == "in/min" ? "in/s" : "mm/s";
    if (!path.units.Convert(speed, path.columnUnits.speed.c_str(), perSecond)) return std::nullopt;
    return speed * 60.0;
}

std::string DurationText(const MotionSummary& motion) {
    if (!motion.estimable) return "not estimable";
    return Number(motion.duration) + " s (" + ClockText(motion.duration) + ", estimated)";
}

std::string PeakSpeedText(const ElementPath& path, const MotionSummary& motion) {
    if (!motion.estimable) return "not estimable";
    std::string text = WithUnit(motion.peakSpeed, path.columnUnits.speed);
    const std::optional<double> perMinute = PerMinute(path, motion.peakSpeed);
    if (perMinute) text += " (" + Number(*perMinute) + " " + PerMinuteUnit(path) + ")";
    return text;
}

void WriteSummaryText(const ElementPath& path, const PathStats& stats, ChunkedOutput& out) {
    const MotionSummary& motion = stats.motion;
    out << "segments:     " << std::to_string(path.segments.size()) << "\n"
        << "profile:      " << std::to_string(path.axisCount) << "D\n"
        << "unit kind:    " << UnitKindName(path.unitKind) << "\n"
        << "path length:  " << WithUnit(stats.pathLength, PositionUnitName(path, 0)) << "\n"
        << "duration:     " << DurationText(motion) << "\n"
        << "peak speed:   " << PeakSpeedText(path, motion) << "\n\n"
        << Cell("axis", 6) << Cell("unit", 8) << Cell("travel") << Cell("lowest") << Cell("highest")
        << Cell("end") << "end [counts]\n";
    for (int a = 0; a < path.axisCount; ++a) {
        const AxisTravel& axis = stats.axes[static_cast<size_t>(a)];
        out << Cell(std::string(1, AxisLetter(a)), 6) << Cell(PositionUnitName(path, a), 8)
            << Cell(Number(axis.travel)) << Cell(Number(axis.lowest)) << Cell(Number(axis.highest))
            << Cell(Number(axis.end)) << std::to_string(axis.endCounts) << "\n";
    }
    if (stats.warnings.empty()) return;
    out << "\nwarnings:\n";
    for (const std::string& warning : stats.warnings) out << "  " << warning << "\n";
}

// Speeds are proportional across units: the factor that takes one of the speed column's to
// PerMinuteUnit, or nothing.
std::optional<double> PerMinuteFactor(const ElementPath& path) { return PerMinute(path, 1.0); }

void WriteSegmentsText(const ElementPath& path, const PathStats& stats, ChunkedOutput& out) {
    const std::string speed = "[" + path.columnUnits.speed + "]";
    const std::optional<double> perMinute = PerMinuteFactor(path);
    out << "\n"
        << Cell("segment", 9) << Cell("length [" + PositionUnitName(path, 0) + "]")
        << Cell("entry " + speed) << Cell("exit " + speed) << Cell("peak " + speed);
    if (perMinute) out << Cell("peak [" + PerMinuteUnit(path) + "]");
    out << "time [s]\n";
    const bool estimable = stats.motion.estimable;
    for (std::size_t i = 0; i < path.segments.size(); ++i) {
        out << Cell(std::to_string(i), 9) << Cell(Number(stats.segmentLengths[i]));
        if (!estimable) {
            out << Cell("-") << Cell("-") << Cell("-") << (perMinute ? Cell("-") : "") << "-\n";
            continue;
        }
        const SegmentMotion& motion = stats.motion.segments[i];
        out << Cell(Number(motion.entrySpeed)) << Cell(Number(motion.exitSpeed))
            << Cell(Number(motion.peakSpeed));
        if (perMinute) out << Cell(Number(motion.peakSpeed * *perMinute));
        out << Number(motion.time) << "\n";
    }
}

Json NumberOrNull(bool known, double value) { return known ? Json(value) : Json(nullptr); }

Json SummaryJson(const ElementPath& path, const PathStats& stats) {
    const MotionSummary& motion = stats.motion;
    Json axes = Json::object();
    for (int a = 0; a < path.axisCount; ++a) {
        const AxisTravel& axis = stats.axes[static_cast<size_t>(a)];
        axes[std::string(1, AxisLetter(a))] = {{"travel", axis.travel},
                                               {"min", axis.lowest},
                                               {"max", axis.highest},
                                               {"end", axis.end},
                                               {"end_counts", axis.endCounts}};
    }
    const std::optional<double> perMinute =
        motion.estimable ? PerMinute(path, motion.peakSpeed) : std::nullopt;
    const std::string perMinuteUnit = PerMinuteUnit(path);
    return {{"segments", path.segments.size()},
            {"profile", path.axisCount},
            {"unit_kind", UnitKindName(path.unitKind)},
            {"length_unit", PositionUnitName(path, 0)},
            {"speed_unit", path.columnUnits.speed},
            {"acceleration_unit", path.columnUnits.acceleration},
            {"path_length", stats.pathLength},
            {"duration_s", NumberOrNull(motion.estimable, motion.duration)},
            {"peak_speed", NumberOrNull(motion.estimable, motion.peakSpeed)},
            {"axes", axes},
            {"warnings", stats.warnings},
            {"duration_hms", motion.estimable ? Json(ClockText(motion.duration)) : Json(nullptr)},
            {"per_minute_unit", perMinuteUnit.empty() ? Json(nullptr) : Json(perMinuteUnit)},
            {"peak_speed_per_minute", NumberOrNull(perMinute.has_value(), perMinute.value_or(0))}};
}

Json SegmentJson(const PathStats& stats, std::size_t index, std::optional<double> perMinute) {
    const bool known = stats.motion.estimable;
    const SegmentMotion motion = known ? stats.motion.segments[index] : SegmentMotion();
    return {{"index", index},
            {"length", stats.segmentLengths[index]},
            {"entry_speed", NumberOrNull(known, motion.entrySpeed)},
            {"exit_speed", NumberOrNull(known, motion.exitSpeed)},
            {"peak_speed", NumberOrNull(known, motion.peakSpeed)},
            {"peak_speed_per_minute",
             NumberOrNull(known && perMinute, motion.peakSpeed * perMinute.value_or(0))},
            {"time_s", NumberOrNull(known, motion.time)}};
}

// The segments are written one by one into the object's text, so that a long element never
// stands in memory as one JSON tree.
void WriteJson(const ElementPath& path, const PathStats& stats, bool segments, ChunkedOutput& out) {
    std::string summary = SummaryJson(path, stats).dump();
    if (!segments) {
        out << summary << "\n";
        return;
    }
    summary.pop_back();  // the closing brace
    out << summary << ",\"per_segment\":[";
    const std::optional<double> perMinute = PerMinuteFactor(path);
    for (std::size_t i = 0; i < path.segments.size(); ++i)
        out << (i > 0 ? "," : "") << SegmentJson(stats, i, perMinute).dump();
    out << "]}\n";
}

ExitStatus RunStats(const CommonOptions& common, const StatsOptions& options) {
    const std::optional<ElementPath> path = ReadAcceptedPath(common, options.element);
    if (!path) return ExitStatus::Refused;
    PathMotion motion = MotionOfPath(*path, DynamicsOf(options.before, *path));
    PathStats& stats = motion.stats;
    const PathLimits limits = LimitsOfProject(*LoadProject(common), *path, options.from);
    for (std::string& warning : LimitWarnings(*path, CheckLimits(*path, motion.model, limits)))
        stats.warnings.push_back(std::move(warning));
    ChunkedOutput out;
    if (options.json) {
        WriteJson(*path, stats, options.segments, out);
    } else {
        WriteSummaryText(*path, stats, out);
        if (options.segments) WriteSegmentsText(*path, stats, out);
    }
    out.Flush();
    return ExitStatus::Success;
}

}  // namespace

Command AddStatsCommand(CLI::App& app, CommonOptions& common) {
    auto options = std::make_shared<StatsOptions>();
    CLI::App* parser =
        AddCommand(app, common, "stats",
                   "Print what an element does: travel, extents, path length and estimated "
                   "duration");
    AddElementArgument(*parser, options->element, "Element file, or - for standard input");
    parser->add_flag("--json", options->json, "Print one JSON object");
    parser->add_flag("--segments", options->segments,
                     "Also each segment's length, speeds and time");
    AddDynamicsOptions(*parser, options->before);
    AddStartOption(*parser, options->from);
    return {parser, [&common, options] { return RunStats(common, *options); }};
}
