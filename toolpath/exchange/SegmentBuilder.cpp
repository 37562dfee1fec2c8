#include "toolpath/exchange/SegmentBuilder.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "base/SourcePlace.h"
#include "base/numbertext/Layout.h"
#include "host/CMC_Value.h"
#include "toolpath/element/PathError.h"
#include "toolpath/exchange/CountQuantiser.h"

namespace {

constexpr std::int64_t kLongestSegment = std::numeric_limits<std::int32_t>::max();
constexpr char kAxisLetters[] = {'X', 'Y', 'Z'};

std::string Number(double value) { return numbertext::Significant(value, 6).Str(); }

std::string WithUnit(double value, const std::string& unit) {
    return unit.empty() ? Number(value) : Number(value) + " " + unit;
}

// Why value (in unit, converted by scale) cannot be stored in a speed or acceleration column;
// nothing when it can.
std::optional<std::string> RateProblem(double value, const CountScale& scale,
                                       const std::string& unit) {
    const double internal = scale.ToInternal(value);
    const double most = CMC_Value::MaxOf(VT_FIXED);
    if (!(CMC_Value::RoundToStep(VT_FIXED, internal) <= most))
        return WithUnit(value, unit) + " is above the most the axes hold (" +
               WithUnit(scale.FromInternal(most), unit) + ")";
    if (CMC_Value::Represent(VT_FIXED, internal) == 0.0)
        return WithUnit(value, unit) + " is below the smallest step the axes hold (" +
               WithUnit(scale.FromInternal(CMC_Value::StepOf(VT_FIXED)), unit) + ")";
    return std::nullopt;
}

// A speed or acceleration waiting for the next segment that reaches another count.
struct PendingRate {
    double value = 0.0;
    std::uint32_t line = 0;
    void Take(double rate, std::uint32_t from) {
        if (rate == 0.0) return;
        value = rate;
        line = from;
    }
};

class Builder {
  public:
    Builder(const ImportedPath& path, const PathScales& scales, const std::string& fileName)
        : m_path(path), m_scales(scales), m_fileName(fileName), m_quantiser(scales.position) {}

    BuiltSegments Build() {
        // At most a segment a move: one allocation instead of regrowing a million segments.
        m_built.segments.reserve(m_path.moves.size());
        for (const PathMove& move : m_path.moves) Add(move);
        if (m_built.segments.empty()) {
            throw PathError(SourcePlace{m_fileName},
                            m_path.moves.empty() ? "there are no moves to import"
                                                 : "no move reaches a whole count of the axes");
        }
        return std::move(m_built);
    }

  private:
    SourcePlace Where(std::uint32_t line) const { return {m_fileName, line}; }

    void Add(const PathMove& move) {
        m_speed.Take(move.speed, move.line);
        m_acceleration.Take(move.acceleration, move.line);
        const std::optional<Counts> moved = m_quantiser.MoveTo(move.end);
        if (!moved) throw PathError(Where(move.line), "the position is beyond what the axes count");
        if ((*moved)[0] == 0 && (*moved)[1] == 0 && (*moved)[2] == 0) {
            ++m_built.merged;
            return;
        }
        PathSegment segment;
        for (size_t axis = 0; axis < 3; ++axis) {
            const std::int64_t counts = (*moved)[axis];
            if (std::abs(counts) > kLongestSegment)
                throw PathError(Where(move.line), "the move of " + std::to_string(counts) +
                                                      " counts on " + kAxisLetters[axis] +
                                                      " is longer than one segment can hold (" +
                                                      std::to_string(kLongestSegment) + " counts)");
            segment.counts[axis] = counts;
        }
        segment.speedLiteral = Store(m_speed, m_scales.speed, m_path.units.speed, "speed");
        segment.accelerationLiteral =
            Store(m_acceleration, m_scales.acceleration, m_path.units.acceleration, "acceleration");
        m_built.segments.push_back(segment);
    }

    double Store(PendingRate& rate, const CountScale& scale, const std::string& unit,
                 const char* what) const {
        if (rate.value == 0.0) return 0.0;
        // The message is made only for a refusal: most segments of a table carry a rate.
        if (std::optional<std::string> problem = RateProblem(rate.value, scale, unit))
            throw PathError(Where(rate.line), "the " + std::string(what) + " " + *problem);
        const double stored = CMC_Value::Represent(VT_FIXED, scale.ToInternal(rate.value));
        rate = PendingRate{};
        return stored;
    }

    const ImportedPath& m_path;
    const PathScales& m_scales;
    const std::string& m_fileName;
    CountQuantiser m_quantiser;
    PendingRate m_speed;
    PendingRate m_acceleration;
    BuiltSegments m_built;
};

}  // namespace

BuiltSegments BuildSegments(const ImportedPath& path, const PathScales& scales,
                            const std::string& fileName) {
    return Builder(path, scales, fileName).Build();
}

double StoredRate(double value, const CountScale& scale, const std::string& unit,
                  const std::string& where) {
    if (std::optional<std::string> problem = RateProblem(value, scale, unit))
        throw PathError(where + " " + *problem);
    return CMC_Value::Represent(VT_FIXED, scale.ToInternal(value));
}
