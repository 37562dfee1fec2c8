// Draws a long polyline at a drawing's resolution: points that cannot be seen are merged, every
// corner that can be seen is kept, and stretches over pixels already drawn are left out. The
// result is SVG path data, one text per colour.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/Geometry.h"

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

    // SVG path data of everything drawn in colour.
    const std::string& PathData(int colour) const {
        return m_paths[static_cast<size_t>(colour)].data;
    }

  private:
    // One colour's path data and where its last command left the pen, in tenths of a pixel.
    struct PathText {
        std::string data;
        long long x = 0;
        long long y = 0;
        bool relative = false;  // the last command was a relative line
    };

    void Consider(Point2 point);
    void StartCandidate(Point2 point, double distance);
    void FixCandidate();
    void MoveTo(PathText& path, Point2 point);
    void Draw(Point2 from, Point2 to);
    bool CoverCells(Point2 from, Point2 to);

    int m_width;
    int m_height;
    std::vector<std::uint8_t> m_inked;  // per pixel, 1 when drawn over
    std::vector<PathText> m_paths;

    bool m_started = false;
    int m_colour = 0;
    Point2 m_anchor;  // the last fixed corner
    bool m_hasCandidate = false;
    Point2 m_candidate;  // the farthest point the line from the anchor may end at so far
    double m_candidateDistance = 0.0;
    double m_directionX = 0.0;  // unit vector from the anchor to the first candidate
    double m_directionY = 0.0;
    double m_coneLow = 0.0;  // angles from that direction within which the line may end
    double m_coneHigh = 0.0;

    bool m_penDown = false;  // the last stretch was drawn, in m_lastColour, ending at m_lastEnd
    int m_lastColour = -1;
    Point2 m_lastEnd;
};
