// A drawing rasterised with antialiasing and written as a PNG file: the calls the SVG writer
// takes, painted as an SVG renderer paints them (no fill given fills black, no stroke given
// draws none).
#pragma once

#include <string>
#include <string_view>

#include "toolpath/plot/Canvas.h"

struct _cairo;
struct _cairo_surface;

class PngCanvas : public Canvas {
  public:
    // width by height pixels on a white ground.
    PngCanvas(int width, int height);
    ~PngCanvas() override;
    PngCanvas(const PngCanvas&) = delete;
    PngCanvas& operator=(const PngCanvas&) = delete;

    void Text(Point2 at, std::string_view text, const TextStyle& style = {}) override;
    void VerticalText(Point2 at, std::string_view text) override;
    void Line(Point2 from, Point2 to, const ShapeStyle& style) override;
    void Rect(double left, double top, double width, double height,
              const ShapeStyle& style) override;
    void Circle(Point2 centre, double radius, const ShapeStyle& style) override;
    void Polyline(const PathPoints& points, const ShapeStyle& style) override;

    // The bytes of the PNG file.
    std::string Finish();

  private:
    void FillAndStroke(const ShapeStyle& style);
    bool SetColour(std::string_view colour);
    void SetStroke(const ShapeStyle& style);
    void ShowText(Point2 at, std::string_view text, const TextStyle& style);

    _cairo_surface* m_surface;
    _cairo* m_cairo;
};
