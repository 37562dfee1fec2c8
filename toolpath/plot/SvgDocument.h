// An SVG document built element by element, with coordinates to a tenth of a pixel and text made
// safe for XML.
#pragma once

#include <string>

#include "toolpath/plot/PlotGeometry.h"

class SvgDocument {
  public:
    // A coordinate or length in pixels, to a tenth of a pixel.
    static std::string Coordinate(double pixels);
    // text with the characters XML reserves escaped, control bytes and bytes that are not
    // UTF-8 shown as '?'.
    static std::string Escaped(const std::string& text);

    // Adds an element written by the caller, on a line of its own.
    void Add(const std::string& element);
    void Text(double x, double y, const std::string& text, const std::string& attributes = "");
    // Text running upwards, centred on x, y.
    void VerticalText(double x, double y, const std::string& text);
    void Line(Point2 from, Point2 to, const std::string& attributes);
    void Rect(double left, double top, double width, double height, const std::string& attributes);
    void Circle(Point2 centre, double radius, const std::string& attributes);

    // The whole document, width by height pixels on a white ground.
    std::string Finish(double width, double height) const;

  private:
    std::string m_body;
};
