// What a plot is drawn on: the SVG writer and the PNG rasteriser take the same calls, so that
// both formats show one picture.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/Geometry.h"

// How a shape is painted; an empty colour or a zero width is left out, so the format's own holds.
// Colours are "#rgb", "#rrggbb", "white" or "none".
struct ShapeStyle {
    std::string fill{};
    std::string stroke{};
    double strokeWidth = 0.0;
    // A line drawn in many pieces: its joins and ends close the gaps between the pieces
    // (round in SVG; bevelled and squared in PNG, which looks the same at a path's width).
    bool closedJoins = false;
};

enum class TextAnchor { Start, Middle, End };

// How a text is set; what is left out takes the drawing's font size, normal weight and black.
struct TextStyle {
    double fontSize = 0.0;
    bool bold = false;
    std::string fill{};
    TextAnchor anchor = TextAnchor::Start;
};

// The size of a text that names none, in pixels.
constexpr double kCanvasFontSize = 11.0;

// One point of a polyline drawing; move starts a new line there.
struct PathPoint {
    Point2 at;
    bool move = false;
};
using PathPoints = std::vector<PathPoint>;

class Canvas {
  public:
    virtual ~Canvas() = default;
    virtual void Text(Point2 at, std::string_view text, const TextStyle& style = {}) = 0;
    // Text running upwards, centred on at.
    virtual void VerticalText(Point2 at, std::string_view text) = 0;
    virtual void Line(Point2 from, Point2 to, const ShapeStyle& style) = 0;
    virtual void Rect(double left, double top, double width, double height,
                      const ShapeStyle& style) = 0;
    virtual void Circle(Point2 centre, double radius, const ShapeStyle& style) = 0;
    // Lines through points, each starting at a point marked move (the first always is).
    virtual void Polyline(const PathPoints& points, const ShapeStyle& style) = 0;
};
