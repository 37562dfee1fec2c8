// Draws a long polyline at a drawing's resolution: points that cannot be seen are merged, every
// corner that can be seen is kept, and stretches over pixels already drawn are left out. The
// result is one polyline drawing per colour.
#pragma once

#include <cstdint>
#include <vector>

#include "base/Geometry.h"
#include "toolpath/plot/Canvas.h"

class PolylineThinner {
  public:
    // The drawing covers pixels 0..width and 0..height; colours are numbered from 0.
    PolylineThinner(int width, int height, int colours);

    // Starts a new line at point (pixels).
    void MoveTo(Point2 point);
    // Continues the line to point in colour.
    void LineTo(Point2 point, int colour);
    // Draws what is still pending; call before reading the path data.
    void Finish();

    // Whether anything was drawn over the pixel at column, row.
    bool IsInked(int column, int row) const;

    // Everything drawn in colour.
    const PathPoints& Points(int colour) const { return m_paths[static_cast<size_t>(colour)]; }

  private:
    void Consider(Point2 point);
    void StartCandidate(Point2 point, double square);
    void SetCandidateReach(double square);
    void FixCandidate();
    void Draw(Point2 from, Point2 to);
    bool CoverCells(Point2 from, Point2 to);
    size_t CellIndex(int column, int row) const;
    bool IsCellInked(size_t cell) const;

    int m_width;
    int m_height;
    int m_cellColumns;
    int m_cellRows;
    std::vector<std::uint64_t> m_inked;  // a bit per cell, set when drawn over
    std::vector<PathPoints> m_paths;

    bool m_started = false;
    int m_colour = 0;
    Point2 m_anchor;  // the last fixed corner
    bool m_hasCandidate = false;
    Point2 m_candidate;  // the farthest point the line from the anchor may end at so far
    double m_candidateSquare = 0.0;  // the squared distance of the farthest point merged so far
    double m_shortestSquare = 0.0;   // the squared distance a point must reach to be merged
    // Vectors (of any length) bounding the directions from the anchor in which the line may end,
    // clockwise edge first (y down, so "clockwise" as the numbers run); the cone is narrower
    // than a half turn, which lets cross products order directions without angles.
    Point2 m_coneLow;
    Point2 m_coneHigh;

    bool m_penDown = false;  // the last stretch was drawn, in m_lastColour, ending at m_lastEnd
    int m_lastColour = -1;
    Point2 m_lastEnd;
};
