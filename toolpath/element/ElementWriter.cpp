#include "toolpath/element/ElementWriter.h"

#include <array>
#include <utility>
#include <vector>

#include "base/TextLines.h"
#include "host/CMC_ArrayParameter.h"
#include "host/CMC_Setup.h"
#include "host/CMC_Value.h"
#include "host/ControllerParameters.h"
#include "host/ParameterText.h"
#include "toolpath/element/PathError.h"

namespace {

constexpr size_t kColumnCount = kElementColumnCount;

// The host's entry name and variable type of each column.
const char* EntryOf(size_t column) { return ElementColumnNameOf(static_cast<int>(column)).entry; }
int TypeOf(size_t column) { return ElementColumnNameOf(static_cast<int>(column)).parameter->type; }

std::vector<std::string_view> ColumnNames() {
    std::vector<std::string_view> names;
    for (size_t column = 0; column < kColumnCount; ++column) names.emplace_back(EntryOf(column));
    return names;
}

double ValueAt(const PathSegment& segment, size_t column) {
    if (column == kColumnAcceleration) return segment.accelerationLiteral;
    if (column == kColumnSpeed) return segment.speedLiteral;
    return static_cast<double>(segment.counts[column]);
}

// Appends the column's values in unit to out, as the host's own column writes them: text that
// reads back to exactly the same internal values. The text is written in place: a column of a
// million values is megabytes, each copy of it costs.
void AppendValuesText(const CMC_Units& units, const std::vector<PathSegment>& segments,
                      size_t column, std::string_view unit, std::string& out) {
    CMC_Setup drive("columns");
    drive.SetUnits(units);
    CMC_ArrayParameter values(&drive);
    CString error;
    if (!values.InitializeMotionParam(TypeOf(column), EntryOf(column), std::string(unit).c_str(),
                                      "", MC_UNSET_LIMIT, MC_UNSET_LIMIT, error))
        throw PathError(error.str());
    values.AssignValuesInInternalUnit(segments.size(),
                                      [&](size_t i) { return ValueAt(segments[i], column); });
    CString text(std::move(out));
    values.AppendData(text);
    out = std::move(text.str());
}

// Copies text line by line, handing the first entry line of each name to edit(index, line,
// entry, out), which appends what replaces it; the names found are marked in seen.
// extra is room for what the edits add.
template <class Edit>
std::string RewriteEntries(std::string_view text, const std::vector<std::string_view>& names,
                           std::vector<bool>& seen, Edit edit, size_t extra = 0) {
    seen.assign(names.size(), false);
    std::string out;
    out.reserve(text.size() + 1 + extra);
    ForEachLine(text, [&](std::string_view line, std::uint32_t) {
        for (size_t i = 0; i < names.size(); ++i) {
            if (seen[i]) continue;
            if (const auto entry = parametertext::FindEntry(line, names[i])) {
                seen[i] = true;
                return edit(i, line, *entry, out);
            }
        }
        out.append(line).push_back('\n');
    });
    return out;
}

// Room for the values' texts: most take up to eight bytes with their blank. Room beyond the
// text is never touched, so a generous estimate costs no memory, and it spares copying the
// text as it grows.
size_t RoomForValues(const std::vector<PathSegment>& segments) {
    constexpr size_t kBytesPerValue = 8;
    return segments.size() * kColumnCount * kBytesPerValue;
}

bool IsWritten(size_t column, bool threeAxes) { return column != kColumnZ || threeAxes; }

std::string_view WithoutTrailingBlanks(std::string_view line) {
    const size_t last = line.find_last_not_of(" \t\r");
    return last == std::string_view::npos ? std::string_view() : line.substr(0, last + 1);
}

}  // namespace

std::string WithProfile(std::string_view text, bool threeAxes, const std::string& sourceName) {
    const std::vector<std::string_view> names = {"ProfileType", "SlaveZ", "Z_TPOS"};
    std::vector<bool> seen;
    std::string out = RewriteEntries(
        text, names, seen,
        [&](size_t index, std::string_view line, const parametertext::Entry&, std::string& to) {
            if (index == 0)
                to += threeAxes ? "ProfileType=1\n" : "ProfileType=0\n";
            else if (threeAxes)
                to.append(line).push_back('\n');
        });
    if (threeAxes && !seen[1])
        throw PathError(SourcePlace{sourceName},
                        "a 3D element needs a Z axis, and the element chooses none (SlaveZ)");
    if (!seen[0]) out += threeAxes ? "ProfileType=1\n" : "ProfileType=0\n";
    return out;
}

std::string WithColumns(std::string_view text, const std::vector<PathSegment>& segments,
                        const CMC_Units& units, const ColumnUnits& names, bool threeAxes) {
    const auto appendEntryLine = [&](size_t column, std::string& to) {
        const std::string& unit = UnitOf(names, column);
        to.append(EntryOf(column)).append("[").append(unit).append("]=");
        AppendValuesText(units, segments, column, unit, to);
        to += '\n';
    };
    std::vector<bool> seen;
    std::string out = RewriteEntries(
        text, ColumnNames(), seen,
        [&](size_t column, std::string_view, const parametertext::Entry&, std::string& to) {
            if (IsWritten(column, threeAxes)) appendEntryLine(column, to);
        },
        RoomForValues(segments));
    for (size_t column = 0; column < kElementColumnCount; ++column) {
        if (!seen[column] && IsWritten(column, threeAxes)) appendEntryLine(column, out);
    }
    return out;
}

std::string WithAppendedColumns(std::string_view text, const std::vector<PathSegment>& segments,
                                const CMC_Units& units, bool threeAxes) {
    std::vector<bool> seen;
    std::string out = RewriteEntries(
        text, ColumnNames(), seen,
        [&](size_t column, std::string_view line, const parametertext::Entry& entry,
            std::string& to) {
            to += WithoutTrailingBlanks(line);
            if (!IsWritten(column, threeAxes)) {
                to += '\n';
                return;
            }
            if (!entry.value.empty()) to += ' ';
            AppendValuesText(units, segments, column, entry.unit, to);
            to += '\n';
        },
        RoomForValues(segments));
    for (size_t column = 0; column < kElementColumnCount; ++column) {
        if (!seen[column] && IsWritten(column, threeAxes))
            throw PathError(std::string("the element has no ") + EntryOf(column) +
                            " entry to append to");
    }
    return out;
}
