// An SVG document built element by element. It writes every attribute itself: coordinates and
// lengths to a tenth of a pixel, all text made safe for XML.
#pragma once

#include <string>
#include <string_view>

#include "base/Geometry.h"

// How a shape is painted; an empty colour or a zero width is left out, so SVG's own holds.
struct ShapeStyle {
    std::string fill{};
    std::string stroke{};
    double strokeWidth = 0.0;
    bool roundJoins = false;  // round joins and caps, for a line drawn in many pieces
};

enum class TextAnchor { Start, Middle, End };

// How a text is set; what is left out takes the document's font size, normal weight and black.
struct TextStyle {
    double fontSize = 0.0;
    bool bold = false;
    std::string fill{};
    TextAnchor anchor = TextAnchor::Start;
};

class SvgDocument {
  public:
    void Text(Point2 at, std::string_view text, const TextStyle& style = {});
    // Text running upwards, centred on at.
    void VerticalText(Point2 at, std::string_view text);
    void Line(Point2 from, Point2 to, const ShapeStyle& style);
    void Rect(double left, double top, double width, double height, const ShapeStyle& style);
    void Circle(Point2 centre, double radius, const ShapeStyle& style);
    // A path of SVG path data (moves and lines).
    void Path(std::string_view data, const ShapeStyle& style);

    // The whole document, width by height pixels on a white ground.
    std::string Finish(double width, double height) const;

  private:
    void Add(const std::string& element);

    std::string m_body;
};
