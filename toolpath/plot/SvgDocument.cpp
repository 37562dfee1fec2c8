#include "toolpath/plot/SvgDocument.h"

#include <algorithm>
#include <cmath>

#include "base/Utf8.h"
#include "base/numbertext/Layout.h"

namespace {

// Coordinates are held to this many pixels either way, so that their tenths and the differences
// of two of them stay far inside a long long; a drawing never comes near it.
constexpr double kFarthestPixel = 1e12;

long long Tenths(double pixels) {
    const double held =
        std::isnan(pixels) ? 0.0 : std::clamp(pixels, -kFarthestPixel, kFarthestPixel);
    return std::llround(held * 10.0);
}

// A number of tenths as the shortest decimal text: 12 -> "1.2", -3 -> "-.3", 40 -> "4".
void AppendTenths(std::string& out, long long tenths) {
    if (tenths < 0) out += '-';
    const unsigned long long magnitude = tenths < 0 ? 0ULL - static_cast<unsigned long long>(tenths)
                                                    : static_cast<unsigned long long>(tenths);
    const unsigned long long whole = magnitude / 10;
    const unsigned long long fraction = magnitude % 10;
    if (whole != 0 || fraction == 0) out += std::to_string(whole);
    if (fraction != 0) {
        out += '.';
        out += static_cast<char>('0' + fraction);
    }
}

// Appends a coordinate pair; a blank separates numbers unless a minus sign does.
void AppendPair(std::string& out, long long x, long long y, bool afterCommand) {
    if (!afterCommand && x >= 0) out += ' ';
    AppendTenths(out, x);
    if (y >= 0) out += ' ';
    AppendTenths(out, y);
}

// The length of the UTF-8 sequence of a character XML allows that starts text, or 0 when it is
// malformed or U+FFFE or U+FFFF.
size_t XmlSequenceLength(std::string_view text) {
    const Utf8Char read = ReadUtf8Char(text);
    return read.code == 0xfffe || read.code == 0xffff ? 0 : read.length;
}

bool IsPlain(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte < 0x80 && c != '&' && c != '<' && c != '>' && c != '"';
}

// How many characters at the start of text stand for themselves in XML.
size_t PlainLength(std::string_view text) {
    size_t length = 0;
    while (length < text.size() && IsPlain(text[length])) ++length;
    return length;
}

// Appends what the character at the start of text, which is not plain, is written as; returns
// how many bytes it took.
size_t AppendEscaped(std::string& out, std::string_view text) {
    switch (text[0]) {
        case '&':
            out += "&amp;";
            return 1;
        case '<':
            out += "&lt;";
            return 1;
        case '>':
            out += "&gt;";
            return 1;
        case '"':
            out += "&quot;";
            return 1;
        default:
            break;
    }
    // Control characters, malformed UTF-8 and what XML does not take show as '?'.
    const bool control = static_cast<unsigned char>(text[0]) < 0x20;
    const size_t length = control ? 0 : XmlSequenceLength(text);
    if (length == 0) {
        out += '?';
        return 1;
    }
    out.append(text.substr(0, length));
    return length;
}

// A coordinate or length in pixels, to a tenth of a pixel.
std::string Coordinate(double pixels) {
    const double tenths = std::round(pixels * 10.0) / 10.0;
    return numbertext::Significant(tenths == 0.0 ? 0.0 : tenths, 12).Str();
}

// text with the characters XML reserves escaped, control bytes and bytes that are not UTF-8
// shown as '?'.
std::string Escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const size_t plain = PlainLength(text);
        out.append(text.substr(0, plain));
        text.remove_prefix(plain);
        if (!text.empty()) text.remove_prefix(AppendEscaped(out, text));
    }
    return out;
}

const char* AnchorName(TextAnchor anchor) {
    return anchor == TextAnchor::Middle ? "middle" : anchor == TextAnchor::End ? "end" : "start";
}

// One element's text, written attribute by attribute.
class ElementText {
  public:
    explicit ElementText(std::string_view name) : m_name(name), m_text("<" + m_name) {}

    ElementText& Attribute(std::string_view name, std::string_view value) {
        m_text += ' ';
        m_text += name;
        m_text += "=\"";
        m_text += Escaped(value);
        m_text += '"';
        return *this;
    }
    ElementText& Length(std::string_view name, double pixels) {
        return Attribute(name, Coordinate(pixels));
    }
    // Attributes that are left out when they are empty or zero.
    ElementText& Optional(std::string_view name, std::string_view value) {
        return value.empty() ? *this : Attribute(name, value);
    }
    ElementText& OptionalLength(std::string_view name, double pixels) {
        return pixels == 0.0 ? *this : Length(name, pixels);
    }
    ElementText& Style(const ShapeStyle& style) {
        Optional("fill", style.fill).Optional("stroke", style.stroke);
        OptionalLength("stroke-width", style.strokeWidth);
        if (!style.closedJoins) return *this;
        return Attribute("stroke-linejoin", "round").Attribute("stroke-linecap", "round");
    }
    ElementText& Style(const TextStyle& style) {
        OptionalLength("font-size", style.fontSize);
        if (style.bold) Attribute("font-weight", "bold");
        Optional("fill", style.fill);
        if (style.anchor == TextAnchor::Start) return *this;
        return Attribute("text-anchor", AnchorName(style.anchor));
    }

    std::string Empty() const { return m_text + "/>"; }
    std::string Opening() const { return m_text + ">"; }
    std::string Around(std::string_view content) const {
        return Opening() + Escaped(content) + "</" + m_name + ">";
    }

  private:
    std::string m_name;
    std::string m_text;
};

}  // namespace

// The first move is absolute; later ones are relative, and the pairs after a relative command
// are relative lines without a command of their own.
std::string SvgPathData(const PathPoints& points) {
    std::string data;
    long long penX = 0;
    long long penY = 0;
    bool relative = false;  // the last command was relative
    for (const PathPoint& point : points) {
        const long long x = Tenths(point.at.x);
        const long long y = Tenths(point.at.y);
        if (point.move && data.empty()) {
            data += 'M';
            AppendPair(data, x, y, true);
            relative = false;
        } else if (point.move) {
            data += 'm';
            AppendPair(data, x - penX, y - penY, true);
            relative = true;
        } else {
            const bool afterCommand = !relative;
            if (afterCommand) data += 'l';
            AppendPair(data, x - penX, y - penY, afterCommand);
            relative = true;
        }
        penX = x;
        penY = y;
    }
    return data;
}

void SvgDocument::Add(const std::string& element) {
    m_body += element;
    m_body += '\n';
}

void SvgDocument::Text(Point2 at, std::string_view text, const TextStyle& style) {
    Add(ElementText("text").Length("x", at.x).Length("y", at.y).Style(style).Around(text));
}

void SvgDocument::VerticalText(Point2 at, std::string_view text) {
    const std::string turn = "rotate(-90 " + Coordinate(at.x) + " " + Coordinate(at.y) + ")";
    Add(ElementText("text")
            .Length("x", at.x)
            .Length("y", at.y)
            .Style(TextStyle{.anchor = TextAnchor::Middle})
            .Attribute("transform", turn)
            .Around(text));
}

void SvgDocument::Line(Point2 from, Point2 to, const ShapeStyle& style) {
    Add(ElementText("line")
            .Length("x1", from.x)
            .Length("y1", from.y)
            .Length("x2", to.x)
            .Length("y2", to.y)
            .Style(style)
            .Empty());
}

void SvgDocument::Rect(double left, double top, double width, double height,
                       const ShapeStyle& style) {
    Add(ElementText("rect")
            .Length("x", left)
            .Length("y", top)
            .Length("width", width)
            .Length("height", height)
            .Style(style)
            .Empty());
}

void SvgDocument::Circle(Point2 centre, double radius, const ShapeStyle& style) {
    Add(ElementText("circle")
            .Length("cx", centre.x)
            .Length("cy", centre.y)
            .Length("r", radius)
            .Style(style)
            .Empty());
}

void SvgDocument::Polyline(const PathPoints& points, const ShapeStyle& style) {
    Path(SvgPathData(points), style);
}

void SvgDocument::Path(std::string_view data, const ShapeStyle& style) {
    Add(ElementText("path").Style(style).Attribute("d", data).Empty());
}

std::string SvgDocument::Finish(double width, double height) const {
    const std::string w = Coordinate(width);
    const std::string h = Coordinate(height);
    const std::string svg = ElementText("svg")
                                .Attribute("xmlns", "http://www.w3.org/2000/svg")
                                .Attribute("width", w)
                                .Attribute("height", h)
                                .Attribute("viewBox", "0 0 " + w + " " + h)
                                .Attribute("font-family", "sans-serif")
                                .Length("font-size", kCanvasFontSize)
                                .Opening();
    const std::string ground = ElementText("rect")
                                   .Attribute("width", "100%")
                                   .Attribute("height", "100%")
                                   .Attribute("fill", "white")
                                   .Empty();
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + svg + "\n" + ground + "\n" + m_body +
           "</svg>\n";
}
