#include "toolpath/plot/PngCanvas.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>

#include "base/Utf8.h"
#include "toolpath/plot/PngEncoding.h"

namespace {

constexpr double kHalfTurn = 3.14159265358979323846;

struct Rgb {
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "#rgb", "#rrggbb" or "white"; nothing for "none" or what is not a colour.
std::optional<Rgb> ColourOf(std::string_view text) {
    if (text == "white") return Rgb{1.0, 1.0, 1.0};
    if (text.empty() || text[0] != '#' || (text.size() != 4 && text.size() != 7))
        return std::nullopt;
    const std::size_t digits = text.size() == 4 ? 1 : 2;
    double channels[3];
    for (std::size_t c = 0; c < 3; ++c) {
        int value = 0;
        for (std::size_t d = 0; d < digits; ++d) {
            const int digit = HexDigit(text[1 + c * digits + d]);
            if (digit < 0) return std::nullopt;
            value = value * 16 + digit;
        }
        channels[c] = value / (digits == 1 ? 15.0 : 255.0);
    }
    return Rgb{channels[0], channels[1], channels[2]};
}

// text with control bytes and bytes that are not UTF-8 shown as '?', as the font takes it.
std::string Printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const Utf8Char read = ReadUtf8Char(text);
        const bool control = static_cast<unsigned char>(text[0]) < 0x20;
        if (read.length == 0 || control) {
            out += '?';
            text.remove_prefix(1);
            continue;
        }
        out.append(text.substr(0, read.length));
        text.remove_prefix(read.length);
    }
    return out;
}

void ThrowOnError(cairo_status_t status, const char* what) {
    if (status != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error(std::string(what) + ": " + cairo_status_to_string(status));
}

}  // namespace

PngCanvas::PngCanvas(int width, int height)
    : m_surface(
          cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(width, 1), std::max(height, 1))),
      m_cairo(cairo_create(m_surface)) {
    // Shapes are smoothed with cairo's quicker sampling: at a path's width it draws what the
    // eye sees as the same picture, and a dense path of a million moves takes a sixth less.
    cairo_set_antialias(m_cairo, CAIRO_ANTIALIAS_FAST);
    cairo_set_source_rgb(m_cairo, 1.0, 1.0, 1.0);
    cairo_paint(m_cairo);
    cairo_set_font_size(m_cairo, kCanvasFontSize);
}

PngCanvas::~PngCanvas() {
    cairo_destroy(m_cairo);
    cairo_surface_destroy(m_surface);
}

bool PngCanvas::SetColour(std::string_view colour) {
    const std::optional<Rgb> rgb = ColourOf(colour);
    if (!rgb) return false;
    cairo_set_source_rgb(m_cairo, rgb->red, rgb->green, rgb->blue);
    return true;
}

// A path's joins and ends are bevelled and squared rather than rounded: at the width of a
// path's line they look the same, and cairo strokes them with far fewer edges.
void PngCanvas::SetStroke(const ShapeStyle& style) {
    cairo_set_line_width(m_cairo, style.strokeWidth > 0.0 ? style.strokeWidth : 1.0);
    cairo_set_line_join(m_cairo, style.closedJoins ? CAIRO_LINE_JOIN_BEVEL : CAIRO_LINE_JOIN_MITER);
    cairo_set_line_cap(m_cairo, style.closedJoins ? CAIRO_LINE_CAP_SQUARE : CAIRO_LINE_CAP_BUTT);
}

// Paints the current path: the fill (black when none is named), then the stroke.
void PngCanvas::FillAndStroke(const ShapeStyle& style) {
    if (style.fill.empty() ? SetColour("#000") : SetColour(style.fill))
        cairo_fill_preserve(m_cairo);
    if (SetColour(style.stroke)) {
        SetStroke(style);
        cairo_stroke_preserve(m_cairo);
    }
    cairo_new_path(m_cairo);
}

void PngCanvas::ShowText(Point2 at, std::string_view text, const TextStyle& style) {
    const std::string shown = Printable(text);
    cairo_select_font_face(m_cairo, "sans-serif", CAIRO_FONT_SLANT_NORMAL,
                           style.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(m_cairo, style.fontSize > 0.0 ? style.fontSize : kCanvasFontSize);
    cairo_text_extents_t extents;
    cairo_text_extents(m_cairo, shown.c_str(), &extents);
    const double share = style.anchor == TextAnchor::Middle ? 0.5
                         : style.anchor == TextAnchor::End  ? 1.0
                                                            : 0.0;
    if (!SetColour(style.fill.empty() ? "#000" : style.fill)) return;
    cairo_move_to(m_cairo, at.x - extents.x_advance * share, at.y);
    cairo_show_text(m_cairo, shown.c_str());
    cairo_new_path(m_cairo);
}

void PngCanvas::Text(Point2 at, std::string_view text, const TextStyle& style) {
    ShowText(at, text, style);
}

void PngCanvas::VerticalText(Point2 at, std::string_view text) {
    cairo_save(m_cairo);
    cairo_translate(m_cairo, at.x, at.y);
    cairo_rotate(m_cairo, -kHalfTurn / 2);
    ShowText({0.0, 0.0}, text, {.anchor = TextAnchor::Middle});
    cairo_restore(m_cairo);
}

void PngCanvas::Line(Point2 from, Point2 to, const ShapeStyle& style) {
    if (!SetColour(style.stroke)) return;
    SetStroke(style);
    cairo_move_to(m_cairo, from.x, from.y);
    cairo_line_to(m_cairo, to.x, to.y);
    cairo_stroke(m_cairo);
}

void PngCanvas::Rect(double left, double top, double width, double height,
                     const ShapeStyle& style) {
    cairo_rectangle(m_cairo, left, top, width, height);
    FillAndStroke(style);
}

void PngCanvas::Circle(Point2 centre, double radius, const ShapeStyle& style) {
    cairo_new_sub_path(m_cairo);
    cairo_arc(m_cairo, centre.x, centre.y, radius, 0.0, 2 * kHalfTurn);
    FillAndStroke(style);
}

void PngCanvas::Polyline(const PathPoints& points, const ShapeStyle& style) {
    // One stroke: where passes drawn by separate strokes meet, their soft edges let the
    // background through as light lines.
    for (const PathPoint& point : points) {
        if (point.move) {
            cairo_move_to(m_cairo, point.at.x, point.at.y);
        } else {
            cairo_line_to(m_cairo, point.at.x, point.at.y);
        }
    }
    FillAndStroke(style);
}

std::string PngCanvas::Finish() {
    cairo_surface_flush(m_surface);
    // After an error every drawing call does nothing: the picture would be written incomplete.
    ThrowOnError(cairo_status(m_cairo), "cannot draw the PNG");
    ThrowOnError(cairo_surface_status(m_surface), "cannot draw the PNG");
    return EncodePng(
        cairo_image_surface_get_data(m_surface), cairo_image_surface_get_width(m_surface),
        cairo_image_surface_get_height(m_surface), cairo_image_surface_get_stride(m_surface));
}
