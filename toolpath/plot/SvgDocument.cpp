#include "toolpath/plot/SvgDocument.h"

#include <cmath>

#include "base/numbertext/Layout.h"

namespace {

// The length of the UTF-8 sequence that starts text at i, or 0 when it is not one.
size_t Utf8SequenceLength(const std::string& text, size_t i) {
    const auto byte = [&](size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i);
    const size_t length = lead >= 0xF0 && lead <= 0xF4   ? 4
                          : lead >= 0xE0                 ? 3
                          : lead >= 0xC2 && lead <= 0xDF ? 2
                                                         : 0;
    if (length == 0 || i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    }
    // Overlong forms, surrogates, code points past U+10FFFF, and U+FFFE and U+FFFF, which XML
    // does not allow.
    const unsigned char second = byte(i + 1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
        return 0;
    if (lead == 0xEF && second == 0xBF && byte(i + 2) >= 0xBE) return 0;
    return length;
}

}  // namespace

std::string SvgDocument::Coordinate(double pixels) {
    const double tenths = std::round(pixels * 10.0) / 10.0;
    return numbertext::Significant(tenths == 0.0 ? 0.0 : tenths, 12).Str();
}

std::string SvgDocument::Escaped(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if (c == '"') {
            out += "&quot;";
        } else if (static_cast<unsigned char>(c) >= 0x80) {
            const size_t length = Utf8SequenceLength(text, i);
            out += length ? text.substr(i, length) : "?";
            if (length) i += length - 1;
        } else {
            out += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
        }
    }
    return out;
}

void SvgDocument::Add(const std::string& element) {
    m_body += element;
    m_body += '\n';
}

void SvgDocument::Text(double x, double y, const std::string& text, const std::string& attributes) {
    Add("<text x=\"" + Coordinate(x) + "\" y=\"" + Coordinate(y) + "\"" +
        (attributes.empty() ? "" : " " + attributes) + ">" + Escaped(text) + "</text>");
}

void SvgDocument::VerticalText(double x, double y, const std::string& text) {
    Text(x, y, text,
         "text-anchor=\"middle\" transform=\"rotate(-90 " + Coordinate(x) + " " + Coordinate(y) +
             ")\"");
}

void SvgDocument::Line(Point2 from, Point2 to, const std::string& attributes) {
    Add("<line x1=\"" + Coordinate(from.x) + "\" y1=\"" + Coordinate(from.y) + "\" x2=\"" +
        Coordinate(to.x) + "\" y2=\"" + Coordinate(to.y) + "\" " + attributes + "/>");
}

void SvgDocument::Rect(double left, double top, double width, double height,
                       const std::string& attributes) {
    Add("<rect x=\"" + Coordinate(left) + "\" y=\"" + Coordinate(top) + "\" width=\"" +
        Coordinate(width) + "\" height=\"" + Coordinate(height) + "\" " + attributes + "/>");
}

void SvgDocument::Circle(Point2 centre, double radius, const std::string& attributes) {
    Add("<circle cx=\"" + Coordinate(centre.x) + "\" cy=\"" + Coordinate(centre.y) + "\" r=\"" +
        Coordinate(radius) + "\" " + attributes + "/>");
}

std::string SvgDocument::Finish(double width, double height) const {
    const std::string w = Coordinate(width);
    const std::string h = Coordinate(height);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
           w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h +
           "\" font-family=\"sans-serif\" font-size=\"11\">\n"
           "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n" +
           m_body + "</svg>\n";
}
