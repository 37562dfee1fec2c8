// How a linear-interpolation controller moves the vector along a path, and how long it takes:
// the model of docs/motion-model.md. Lengths, speeds and accelerations are in one base unit
// (m, in or rad, per second, per second squared); times in seconds.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

struct MotionSegment {
    double length = 0.0;        // vector length
    double speed = 0.0;         // its own speed; 0 = none of its own
    double acceleration = 0.0;  // its own acceleration; 0 = none of its own
};

// The speed and acceleration in force before the first segment; 0 = none.
struct DynamicsInForce {
    double speed = 0.0;
    double acceleration = 0.0;
};

// A stretch of the path over which the speed changes at one constant rate, or holds: the square
// of the speed is linear in the distance, so the time is 2 * length / (start + end speed).
struct MotionPiece {
    std::size_t segment = 0;
    double startDistance = 0.0;  // along the path from its start
    double endDistance = 0.0;
    double startSpeed = 0.0;
    double endSpeed = 0.0;
    double startTime = 0.0;
    double endTime = 0.0;
};

// The speed at distance along the piece, for distance within it.
double SpeedWithin(const MotionPiece& piece, double distance);

struct SegmentMotion {
    double entrySpeed = 0.0;
    double exitSpeed = 0.0;
    double peakSpeed = 0.0;
    double time = 0.0;
    bool reachesSpeed = false;  // runs at its speed in force at some point
};

struct MotionSummary {
    bool estimable = false;
    double duration = 0.0;
    double peakSpeed = 0.0;
    std::vector<SegmentMotion> segments;  // empty when not estimable
};

class MotionModel {
  public:
    MotionModel(std::vector<MotionSegment> segments, DynamicsInForce before);

    // How many segments at the start have no speed, and no acceleration, in force.
    std::size_t SegmentsWithoutSpeed() const { return m_withoutSpeed; }
    std::size_t SegmentsWithoutAcceleration() const { return m_withoutAcceleration; }
    // Whether every segment has a speed and an acceleration in force.
    bool Estimable() const;
    double Length() const { return m_length; }
    // The speed in force at a segment: its own, or the one it keeps; 0 = none.
    double SpeedInForce(std::size_t segment) const { return m_segments[segment].speed; }

    // Calls visit for each piece in path order; a segment of zero length gives one piece of
    // zero length. Nothing when the motion is not estimable.
    void Trace(const std::function<void(const MotionPiece&)>& visit) const;
    MotionSummary Summarize() const;

  private:
    struct Resolved {
        double length;
        double speed;
        double acceleration;
    };
    void TraceSegment(std::size_t index, double& distance, double& speed, double& time,
                      const std::function<void(const MotionPiece&)>& visit) const;
    double EmitUnderStoppingCurve(std::size_t index, double from, double to, double fromSquare,
                                  double toSquare, double& time,
                                  const std::function<void(const MotionPiece&)>& visit) const;

    std::vector<Resolved> m_segments;  // with the values in force
    std::size_t m_withoutSpeed = 0;
    std::size_t m_withoutAcceleration = 0;
    double m_length = 0.0;
    double m_stoppingAcceleration = 0.0;  // in force at the last segment
};
