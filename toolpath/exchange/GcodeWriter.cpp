#include "toolpath/exchange/GcodeWriter.h"

#include <array>
#include <vector>

#include "base/EscapedText.h"
#include "toolpath/element/ElementPath.h"
#include "toolpath/element/PathError.h"
#include "toolpath/element/UnitConversion.h"
#include "toolpath/exchange/ExactText.h"

namespace {

bool InInches(const ElementPath& path) {
    const CMC_Unit* base = path.units.FindBaseUnit(path.columnUnits.position[0].c_str());
    return base && base->GetUnitName() == "in";
}

// Parentheses end a comment, so they cannot stand inside one.
std::string CommentText(const std::string& text) {
    std::string comment = QuoteForMessage(text);
    for (char& c : comment)
        if (c == '(' || c == ')') c = '_';
    return comment;
}

}  // namespace

std::string WriteGcode(const ElementPath& path, const std::string& title) {
    if (path.unitKind != UnitKind::Linear)
        throw PathError(SourcePlace{title},
                        "only an element on linear axes has a G-code form; export it as CSV");
    const bool inches = InInches(path);
    const double unitScale = inches ? kMillimetresPerInch : 1.0;
    // The import reads every length as millimetres and every feed as millimetres per second.
    const CountScale length = ScaleToInternal(path.units, "mm");
    const CountScale feed = ScaleToInternal(path.units, "mm/s");
    std::vector<CountTexts> positions;
    for (int axis = 0; axis < path.axisCount; ++axis)
        positions.emplace_back(length, ReadAs{unitScale, 1.0}, false);

    std::string out = "(";
    out += CommentText(title);
    out += inches ? ")\nG20 G90\n" : ")\nG21 G90\n";
    // "G1", and each axis's letter and position of up to eight characters.
    out.reserve(out.size() + path.segments.size() * (3 + positions.size() * 11));
    Counts position{};
    double speed = 0.0;
    RateTexts feeds(feed, ReadAs{unitScale, 60.0});
    for (const PathSegment& segment : path.segments) {
        out += "G1";
        for (size_t axis = 0; axis < positions.size(); ++axis) {
            if (segment.counts[axis] == 0) continue;
            position[axis] += segment.counts[axis];
            out += ' ';
            out += AxisLetter(static_cast<int>(axis));
            out += positions[axis].Next(position[axis]).View();
        }
        if (segment.speedLiteral != 0.0 && segment.speedLiteral != speed) {
            speed = segment.speedLiteral;
            out += " F";
            out += feeds.Of(speed);
        }
        out += '\n';
    }
    return out;
}
