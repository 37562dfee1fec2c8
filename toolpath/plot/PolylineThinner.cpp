#include "toolpath/plot/PolylineThinner.h"

#include <algorithm>
#include <cmath>

#include "base/ClampedInt.h"

namespace {

// Points closer than this, in pixels, to the line drawn cannot be told apart from it.
constexpr double kTolerance = 0.25;
// Cells are sampled along a stretch at this spacing, in pixels.
constexpr double kSampleSpacing = 0.5;

// Coordinates are held to this many pixels either way, so that their tenths and the differences
// of two of them stay far inside a long long; a drawing never comes near it.
constexpr double kFarthestPixel = 1e12;

long long Tenths(double pixels) {
    const double held =
        std::isnan(pixels) ? 0.0 : std::clamp(pixels, -kFarthestPixel, kFarthestPixel);
    return std::llround(held * 10.0);
}

// A number of tenths as the shortest decimal text: 12 -> "1.2", -3 -> "-.3", 40 -> "4".
void AppendTenths(std::string& out, long long tenths) {
    if (tenths < 0) out += '-';
    const unsigned long long magnitude = tenths < 0 ? 0ULL - static_cast<unsigned long long>(tenths)
                                                    : static_cast<unsigned long long>(tenths);
    const unsigned long long whole = magnitude / 10;
    const unsigned long long fraction = magnitude % 10;
    if (whole != 0 || fraction == 0) out += std::to_string(whole);
    if (fraction != 0) {
        out += '.';
        out += static_cast<char>('0' + fraction);
    }
}

// Appends a coordinate pair; a blank separates numbers unless a minus sign does.
void AppendPair(std::string& out, long long x, long long y, bool afterCommand) {
    if (!afterCommand && x >= 0) out += ' ';
    AppendTenths(out, x);
    if (y >= 0) out += ' ';
    AppendTenths(out, y);
}

}  // namespace

PolylineThinner::PolylineThinner(int width, int height, int colours)
    : m_width(std::max(width, 1)),
      m_height(std::max(height, 1)),
      m_inked(static_cast<size_t>(m_width) * static_cast<size_t>(m_height), 0),
      m_paths(static_cast<size_t>(std::max(colours, 1))) {}

void PolylineThinner::MoveTo(Point2 point) {
    FixCandidate();
    m_started = true;
    m_anchor = point;
    m_hasCandidate = false;
}

void PolylineThinner::LineTo(Point2 point, int colour) {
    if (!m_started) MoveTo(point);
    if (colour != m_colour) {
        FixCandidate();
        m_colour = colour;
    }
    Consider(point);
}

void PolylineThinner::Finish() { FixCandidate(); }

// The line from the anchor may be drawn on to point while point lies in the cone of directions
// that pass within the tolerance of every point merged so far, and the line does not turn back.
void PolylineThinner::Consider(Point2 point) {
    const double dx = point.x - m_anchor.x;
    const double dy = point.y - m_anchor.y;
    const double distance = std::sqrt(dx * dx + dy * dy);
    if (!m_hasCandidate) {
        if (distance > kTolerance) StartCandidate(point, distance);
        return;
    }
    const double angle =
        std::atan2(m_directionX * dy - m_directionY * dx, m_directionX * dx + m_directionY * dy);
    if (distance >= m_candidateDistance - kTolerance && angle >= m_coneLow && angle <= m_coneHigh) {
        if (distance > kTolerance) {
            const double half = std::asin(kTolerance / distance);
            m_coneLow = std::max(m_coneLow, angle - half);
            m_coneHigh = std::min(m_coneHigh, angle + half);
        }
        m_candidate = point;
        m_candidateDistance = std::max(m_candidateDistance, distance);
        return;
    }
    FixCandidate();
    Consider(point);
}

void PolylineThinner::StartCandidate(Point2 point, double distance) {
    m_hasCandidate = true;
    m_candidate = point;
    m_candidateDistance = distance;
    m_directionX = (point.x - m_anchor.x) / distance;
    m_directionY = (point.y - m_anchor.y) / distance;
    const double half = std::asin(kTolerance / distance);
    m_coneLow = -half;
    m_coneHigh = half;
}

void PolylineThinner::FixCandidate() {
    if (!m_hasCandidate) return;
    Draw(m_anchor, m_candidate);
    m_anchor = m_candidate;
    m_hasCandidate = false;
}

// The first move of a path is absolute; later ones are relative, and the pairs after a
// relative move are relative lines without a command of their own.
void PolylineThinner::MoveTo(PathText& path, Point2 point) {
    const long long x = Tenths(point.x);
    const long long y = Tenths(point.y);
    if (path.data.empty()) {
        path.data += 'M';
        AppendPair(path.data, x, y, true);
        path.relative = false;
    } else {
        path.data += 'm';
        AppendPair(path.data, x - path.x, y - path.y, true);
        path.relative = true;
    }
    path.x = x;
    path.y = y;
}

void PolylineThinner::Draw(Point2 from, Point2 to) {
    if (!CoverCells(from, to)) {
        m_penDown = false;
        return;
    }
    PathText& path = m_paths[static_cast<size_t>(m_colour)];
    const bool continues =
        m_penDown && m_lastColour == m_colour && m_lastEnd.x == from.x && m_lastEnd.y == from.y;
    if (!continues) MoveTo(path, from);
    const long long x = Tenths(to.x);
    const long long y = Tenths(to.y);
    const bool afterCommand = !path.relative;
    if (afterCommand) path.data += 'l';
    AppendPair(path.data, x - path.x, y - path.y, afterCommand);
    path.x = x;
    path.y = y;
    path.relative = true;
    m_penDown = true;
    m_lastColour = m_colour;
    m_lastEnd = to;
}

bool PolylineThinner::IsInked(int column, int row) const {
    if (column < 0 || row < 0 || column >= m_width || row >= m_height) return false;
    return m_inked[static_cast<size_t>(row) * static_cast<size_t>(m_width) +
                   static_cast<size_t>(column)] != 0;
}

// Marks the cells along from..to as drawn; false when every one of them was drawn already, so
// that drawing the stretch would add nothing that can be seen at this resolution. Where the path
// passes again over its own pixels, the colour of the first pass stays.
bool PolylineThinner::CoverCells(Point2 from, Point2 to) {
    const double length =
        std::sqrt((to.x - from.x) * (to.x - from.x) + (to.y - from.y) * (to.y - from.y));
    // A stretch longer than the grid's edges together mostly lies outside it; it is sampled
    // no finer than one of that length.
    const int mostSamples = 2 * (m_width + m_height) + 1;
    const int samples = ClampedInt(std::ceil(length / kSampleSpacing), 0, mostSamples) + 1;
    bool changed = false;
    for (int i = 0; i <= samples; ++i) {
        const double t = static_cast<double>(i) / samples;
        const int column = ClampedInt(std::floor(from.x + (to.x - from.x) * t), -1, m_width);
        const int row = ClampedInt(std::floor(from.y + (to.y - from.y) * t), -1, m_height);
        if (column < 0 || row < 0 || column >= m_width || row >= m_height) {
            changed = true;
            continue;
        }
        std::uint8_t& cell = m_inked[static_cast<size_t>(row) * static_cast<size_t>(m_width) +
                                     static_cast<size_t>(column)];
        if (cell == 0) {
            cell = 1;
            changed = true;
        }
    }
    return changed;
}
