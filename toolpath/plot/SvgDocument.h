// An SVG document built element by element. It writes every attribute itself: coordinates and
// lengths to a tenth of a pixel, all text made safe for XML.
#pragma once

#include <string>
#include <string_view>

#include "toolpath/plot/Canvas.h"

// SVG path data of points, to a tenth of a pixel, relative after the first move so that a long
// path stays short.
std::string SvgPathData(const PathPoints& points);

class SvgDocument : public Canvas {
  public:
    void Text(Point2 at, std::string_view text, const TextStyle& style = {}) override;
    void VerticalText(Point2 at, std::string_view text) override;
    void Line(Point2 from, Point2 to, const ShapeStyle& style) override;
    void Rect(double left, double top, double width, double height,
              const ShapeStyle& style) override;
    void Circle(Point2 centre, double radius, const ShapeStyle& style) override;
    void Polyline(const PathPoints& points, const ShapeStyle& style) override;
    // A path of SVG path data (moves and lines).
    void Path(std::string_view data, const ShapeStyle& style);

    // The whole document, width by height pixels on a white ground.
    std::string Finish(double width, double height) const;

  private:
    void Add(const std::string& element);

    std::string m_body;
};
