#include "toolpath/motion/MotionModel.h"

#include <algorithm>
#include <cmath>

namespace {

// How near a speed must come to the speed in force to count as reaching it.
constexpr double kReachTolerance = 1e-9;

double SpeedOfSquare(double square) { return std::sqrt(std::max(square, 0.0)); }

}  // namespace

double SpeedWithin(const MotionPiece& piece, double distance) {
    const double length = piece.endDistance - piece.startDistance;
    if (length <= 0.0) return piece.startSpeed;
    const double fraction = std::clamp((distance - piece.startDistance) / length, 0.0, 1.0);
    const double startSquare = piece.startSpeed * piece.startSpeed;
    const double endSquare = piece.endSpeed * piece.endSpeed;
    return SpeedOfSquare(startSquare + (endSquare - startSquare) * fraction);
}

MotionModel::MotionModel(std::vector<MotionSegment> segments, DynamicsInForce before) {
    m_segments.reserve(segments.size());
    double speed = before.speed;
    double acceleration = before.acceleration;
    for (const MotionSegment& segment : segments) {
        if (segment.speed != 0.0) speed = segment.speed;
        if (segment.acceleration != 0.0) acceleration = segment.acceleration;
        if (speed <= 0.0) ++m_withoutSpeed;
        if (acceleration <= 0.0) ++m_withoutAcceleration;
        m_segments.push_back({segment.length, speed, acceleration});
        m_length += segment.length;
    }
    if (!m_segments.empty()) m_stoppingAcceleration = m_segments.back().acceleration;
}

bool MotionModel::Estimable() const { return m_withoutSpeed == 0 && m_withoutAcceleration == 0; }

void MotionModel::Trace(const std::function<void(const MotionPiece&)>& visit) const {
    if (!Estimable()) return;
    double distance = 0.0;
    double speed = 0.0;  // the vector starts at rest
    double time = 0.0;
    for (std::size_t i = 0; i < m_segments.size(); ++i)
        TraceSegment(i, distance, speed, time, visit);
}

// Within the segment the speed moves from its entry speed toward the segment's speed at the
// segment's acceleration, then holds it; both stretches are then held under the stopping curve.
// distance, speed and time advance to the segment's end.
void MotionModel::TraceSegment(std::size_t index, double& distance, double& speed, double& time,
                               const std::function<void(const MotionPiece&)>& visit) const {
    const Resolved& segment = m_segments[index];
    const double start = distance;
    const double end = start + segment.length;  // summed as m_length is, so the last ends on it
    distance = end;
    if (segment.length <= 0.0) {
        visit({index, start, start, speed, speed, time, time});
        return;
    }
    const double entrySquare = speed * speed;
    const double targetSquare = segment.speed * segment.speed;
    const double twiceAcceleration = 2.0 * segment.acceleration;
    double rampEnd = start;
    if (entrySquare != targetSquare) {
        const double rampLength = std::abs(targetSquare - entrySquare) / twiceAcceleration;
        double rampEndSquare = targetSquare;
        rampEnd = start + rampLength;
        if (rampLength >= segment.length) {
            rampEnd = end;
            const double change = twiceAcceleration * segment.length;
            rampEndSquare =
                entrySquare < targetSquare ? entrySquare + change : entrySquare - change;
        }
        speed =
            EmitUnderStoppingCurve(index, start, rampEnd, entrySquare, rampEndSquare, time, visit);
    }
    if (rampEnd < end)
        speed =
            EmitUnderStoppingCurve(index, rampEnd, end, targetSquare, targetSquare, time, visit);
}

// Emits the stretch from..to whose free speed squared runs linearly from fromSquare to toSquare,
// held under v = sqrt(2 a (L - s)); the two cross at most once. Returns the speed at to.
double MotionModel::EmitUnderStoppingCurve(
    std::size_t index, double from, double to, double fromSquare, double toSquare, double& time,
    const std::function<void(const MotionPiece&)>& visit) const {
    const auto stoppingSquare = [this](double at) {
        return 2.0 * m_stoppingAcceleration * std::max(m_length - at, 0.0);
    };
    const auto emit = [&](double a, double b, double aSquare, double bSquare) {
        const double startSpeed = SpeedOfSquare(aSquare);
        const double endSpeed = SpeedOfSquare(bSquare);
        const double sum = startSpeed + endSpeed;
        const double duration = b > a && sum > 0.0 ? 2.0 * (b - a) / sum : 0.0;
        visit({index, a, b, startSpeed, endSpeed, time, time + duration});
        time += duration;
        return endSpeed;
    };
    const double fromGap = fromSquare - stoppingSquare(from);
    const double toGap = toSquare - stoppingSquare(to);
    const double fromActual = std::min(fromSquare, stoppingSquare(from));
    const double toActual = std::min(toSquare, stoppingSquare(to));
    if ((fromGap < 0.0 && toGap > 0.0) || (fromGap > 0.0 && toGap < 0.0)) {
        const double cross = from + (to - from) * fromGap / (fromGap - toGap);
        const double crossSquare = stoppingSquare(cross);
        emit(from, cross, fromActual, crossSquare);
        return emit(cross, to, crossSquare, toActual);
    }
    return emit(from, to, fromActual, toActual);
}

MotionSummary MotionModel::Summarize() const {
    MotionSummary summary;
    summary.estimable = Estimable();
    if (!summary.estimable) return summary;
    summary.segments.resize(m_segments.size());
    std::size_t current = m_segments.size();  // the segment whose first piece is still to come
    Trace([&](const MotionPiece& piece) {
        SegmentMotion& motion = summary.segments[piece.segment];
        if (piece.segment != current) {
            current = piece.segment;
            motion.entrySpeed = piece.startSpeed;
        }
        motion.exitSpeed = piece.endSpeed;
        motion.peakSpeed = std::max({motion.peakSpeed, piece.startSpeed, piece.endSpeed});
        motion.time += piece.endTime - piece.startTime;
        // Pieces break where a ramp reaches the speed in force, so a segment that runs at its
        // speed has a piece that starts or ends on it; passing it while stopping does not count.
        const double target = m_segments[piece.segment].speed;
        const auto onTarget = [target](double speed) {
            return std::abs(speed - target) <= target * kReachTolerance;
        };
        if (onTarget(piece.startSpeed) || onTarget(piece.endSpeed)) motion.reachesSpeed = true;
        summary.duration = piece.endTime;
        summary.peakSpeed = std::max(summary.peakSpeed, motion.peakSpeed);
    });
    return summary;
}
