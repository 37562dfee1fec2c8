#include "toolpath/plot/PolylineThinner.h"

#include <algorithm>
#include <cmath>

#include "base/ClampedInt.h"

namespace {

// Points closer than this, in pixels, to the line drawn cannot be told apart from it.
constexpr double kTolerance = 0.25;
constexpr double kToleranceSquare = kTolerance * kTolerance;
// Coverage is kept in square cells of this side, in pixels: half the width of the lines a plot
// draws (1.4 pixels). A pass is left out only when every cell along it is drawn, so the passes
// drawn either side of it lie within a line's width of each other and their strokes join: dense
// parallel passes show as a solid area, not as light lines where passes were left out.
constexpr double kCell = 0.7;

// A pixel's cell, and the sampling of a stretch at most a cell apart, multiply by this.
constexpr double kCellsPerPixel = 1.0 / kCell;

int CellsOver(int pixels) { return static_cast<int>(std::ceil(pixels / kCell)); }

// -1 before the grid (and for NaN), cells beyond it: a cell's index rounds down, and from 0 on
// the truncation does, without a library call for every sample of a dense path.
int CellOf(double pixel, int cells) {
    const double cell = pixel * kCellsPerPixel;
    if (!(cell >= 0.0)) return -1;
    return ClampedInt(cell, 0, cells);
}

double Cross(Point2 a, Point2 b) { return a.x * b.y - a.y * b.x; }

// The two edges of the directions from the anchor that pass within the tolerance of the point
// at offset, whose squared distance is square (beyond the tolerance's): offset turned either way by
// the angle whose sine is tolerance / distance. The cone's edges are compared only by the signs of
// cross products, so they are left unnormalised, which spares the divisions of the hot loop.
struct ConeEdges {
    Point2 low;
    Point2 high;
};

ConeEdges ConeAround(Point2 offset, double square) {
    const double along = std::sqrt(square - kToleranceSquare);
    const Point2 across{-offset.y * kTolerance, offset.x * kTolerance};
    return {{offset.x * along - across.x, offset.y * along - across.y},
            {offset.x * along + across.x, offset.y * along + across.y}};
}

}  // namespace

PolylineThinner::PolylineThinner(int width, int height, int colours)
    : m_width(std::max(width, 1)),
      m_height(std::max(height, 1)),
      m_cellColumns(CellsOver(m_width)),
      m_cellRows(CellsOver(m_height)),
      m_inked((static_cast<size_t>(m_cellColumns) * static_cast<size_t>(m_cellRows) + 63) / 64, 0),
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
    const Point2 offset{point.x - m_anchor.x, point.y - m_anchor.y};
    // Squared distances, so that no decision waits for a square root.
    const double square = offset.x * offset.x + offset.y * offset.y;
    if (!m_hasCandidate) {
        if (square > kToleranceSquare) StartCandidate(point, square);
        return;
    }
    const bool inCone = Cross(m_coneLow, offset) >= 0.0 && Cross(offset, m_coneHigh) >= 0.0;
    if (square >= m_shortestSquare && inCone) {
        if (square > kToleranceSquare) {
            const ConeEdges edges = ConeAround(offset, square);
            if (Cross(m_coneLow, edges.low) > 0.0) m_coneLow = edges.low;
            if (Cross(edges.high, m_coneHigh) > 0.0) m_coneHigh = edges.high;
        }
        m_candidate = point;
        if (square > m_candidateSquare) SetCandidateReach(square);
        return;
    }
    FixCandidate();
    Consider(point);
}

void PolylineThinner::StartCandidate(Point2 point, double square) {
    m_hasCandidate = true;
    m_candidate = point;
    SetCandidateReach(square);
    const ConeEdges edges = ConeAround({point.x - m_anchor.x, point.y - m_anchor.y}, square);
    m_coneLow = edges.low;
    m_coneHigh = edges.high;
}

// The line may end no nearer to the anchor than the tolerance short of the farthest point.
void PolylineThinner::SetCandidateReach(double square) {
    m_candidateSquare = square;
    const double shortest = std::sqrt(square) - kTolerance;
    m_shortestSquare = shortest > 0.0 ? shortest * shortest : 0.0;
}

void PolylineThinner::FixCandidate() {
    if (!m_hasCandidate) return;
    Draw(m_anchor, m_candidate);
    m_anchor = m_candidate;
    m_hasCandidate = false;
}

void PolylineThinner::Draw(Point2 from, Point2 to) {
    if (!CoverCells(from, to)) {
        m_penDown = false;
        return;
    }
    PathPoints& path = m_paths[static_cast<size_t>(m_colour)];
    const bool continues =
        m_penDown && m_lastColour == m_colour && m_lastEnd.x == from.x && m_lastEnd.y == from.y;
    if (!continues) path.push_back({from, true});
    path.push_back({to, false});
    m_penDown = true;
    m_lastColour = m_colour;
    m_lastEnd = to;
}

bool PolylineThinner::IsInked(int column, int row) const {
    if (column < 0 || row < 0 || column >= m_width || row >= m_height) return false;
    // The cells that overlap the pixel.
    const int lastRow = std::min(CellsOver(row + 1), m_cellRows) - 1;
    const int lastColumn = std::min(CellsOver(column + 1), m_cellColumns) - 1;
    for (int cellRow = CellOf(row, m_cellRows); cellRow <= lastRow; ++cellRow) {
        for (int cellColumn = CellOf(column, m_cellColumns); cellColumn <= lastColumn;
             ++cellColumn) {
            if (IsCellInked(CellIndex(cellColumn, cellRow))) return true;
        }
    }
    return false;
}

size_t PolylineThinner::CellIndex(int column, int row) const {
    return static_cast<size_t>(row) * static_cast<size_t>(m_cellColumns) +
           static_cast<size_t>(column);
}

bool PolylineThinner::IsCellInked(size_t cell) const {
    return (m_inked[cell / 64] >> (cell % 64) & 1U) != 0;
}

// Marks the cells along from..to as drawn; false when every one of them was drawn already, so
// that drawing the stretch would add nothing that can be seen at this resolution. Where the path
// passes again over its own pixels, the colour of the first pass stays.
bool PolylineThinner::CoverCells(Point2 from, Point2 to) {
    const double length =
        std::sqrt((to.x - from.x) * (to.x - from.x) + (to.y - from.y) * (to.y - from.y));
    // A stretch longer than the grid's edges together mostly lies outside it; it is sampled
    // no finer than one of that length.
    const int mostSamples = 2 * (m_cellColumns + m_cellRows) + 1;
    const int samples = ClampedInt(std::ceil(length * kCellsPerPixel), 0, mostSamples) + 1;
    const double perSample = 1.0 / samples;
    const Point2 step{(to.x - from.x) * perSample, (to.y - from.y) * perSample};
    bool changed = false;
    for (int i = 0; i <= samples; ++i) {
        const int column = CellOf(from.x + step.x * i, m_cellColumns);
        const int row = CellOf(from.y + step.y * i, m_cellRows);
        if (column < 0 || row < 0 || column >= m_cellColumns || row >= m_cellRows) {
            changed = true;
            continue;
        }
        const size_t cell = CellIndex(column, row);
        if (!IsCellInked(cell)) {
            m_inked[cell / 64] |= std::uint64_t{1} << (cell % 64);
            changed = true;
        }
    }
    return changed;
}
