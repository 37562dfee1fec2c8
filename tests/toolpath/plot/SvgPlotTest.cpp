#include <expat.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "tests/support/MicronPath.h"
#include "toolpath/plot/SvgDocument.h"
#include "toolpath/plot/SvgPlot.h"

namespace {

// What an XML parser makes of a document: whether it is well-formed, and the elements in it.
struct ParsedXml {
    bool wellFormed = false;
    std::string error;
    std::string root;
    std::map<std::string, int> elements;
    std::map<std::string, std::string> lastAttributes;  // of the last element opened
    std::string text;
};

ParsedXml ParseXml(const std::string& document) {
    ParsedXml parsed;
    XML_Parser parser = XML_ParserCreate("UTF-8");
    XML_SetUserData(parser, &parsed);
    XML_SetStartElementHandler(parser,
                               [](void* data, const XML_Char* name, const XML_Char** attributes) {
                                   auto* result = static_cast<ParsedXml*>(data);
                                   if (result->root.empty()) result->root = name;
                                   ++result->elements[name];
                                   result->lastAttributes.clear();
                                   for (; *attributes != nullptr; attributes += 2)
                                       result->lastAttributes[attributes[0]] = attributes[1];
                               });
    XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char* text, int length) {
        static_cast<ParsedXml*>(data)->text.append(text, static_cast<size_t>(length));
    });
    parsed.wellFormed = XML_Parse(parser, document.data(), static_cast<int>(document.size()),
                                  XML_TRUE) == XML_STATUS_OK;
    if (!parsed.wellFormed) {
        parsed.error = std::string(XML_ErrorString(XML_GetErrorCode(parser))) + " at line " +
                       std::to_string(XML_GetCurrentLineNumber(parser));
    }
    XML_ParserFree(parser);
    return parsed;
}

// Whatever a caller passes as a value, the document quotes and escapes it.
TEST(SvgDocumentAttributes, ValuesAreReadBackAsGiven) {
    const std::string odd = "a\"b'<c>&d";
    SvgDocument svg;
    svg.Text({1, 2}, odd, {.fill = odd});
    EXPECT_EQ(ParseXml(svg.Finish(10, 10)).lastAttributes.at("fill"), odd);
    svg.Path("M0 0" + odd, {.stroke = odd, .strokeWidth = 0.25});
    const ParsedXml xml = ParseXml(svg.Finish(10, 10));
    ASSERT_TRUE(xml.wellFormed) << xml.error;
    EXPECT_NE(xml.text.find(odd), std::string::npos);
    EXPECT_EQ(xml.lastAttributes,
              (std::map<std::string, std::string>{
                  {"stroke", odd}, {"stroke-width", "0.3"}, {"d", "M0 0" + odd}}));
}

// The plot as the command draws it, with nothing in force before the element.
std::string Plot(const ElementPath& path, const PlotRequest& request) {
    const std::optional<MotionModel> model = MotionModelOf(path, {});
    return RenderSvgPlot(path, model, ComputeStats(path, model), request);
}

ElementPath Square(int axisCount) {
    ElementPath path = MicronPath(axisCount);
    const std::int64_t z = axisCount == 3 ? 1000 : 0;
    path.segments = {{{20000, 0, z}, 0.5, 100},
                     {{0, 15000, 0}, 0, 50},
                     {{-20000, 0, -z}, 0, 0},
                     {{0, -15000, 0}, 0, 0}};
    return path;
}

TEST(SvgPlotDocument, TwoAxisPlotIsWellFormedWithOneView) {
    const ParsedXml xml = ParseXml(Plot(Square(2), {"square", false}));
    ASSERT_TRUE(xml.wellFormed) << xml.error;
    EXPECT_EQ(xml.root, "svg");
    EXPECT_GE(xml.elements.at("path"), 1);
    EXPECT_NE(xml.text.find("square: 4 segments, path length 70 mm, estimated duration"),
              std::string::npos);
    EXPECT_NE(xml.text.find("X [mm]"), std::string::npos);
    EXPECT_NE(xml.text.find("speed [m/s]"), std::string::npos);
    EXPECT_EQ(xml.text.find("isometric"), std::string::npos);
}

TEST(SvgPlotDocument, ThreeAxisPlotWithProfileShowsEveryView) {
    const ParsedXml xml = ParseXml(Plot(Square(3), {"cube", true}));
    ASSERT_TRUE(xml.wellFormed) << xml.error;
    for (const char* view :
         {"XY", "XZ", "YZ", "isometric", "speed over time", "Z [mm]", "time [s]"})
        EXPECT_NE(xml.text.find(view), std::string::npos) << view;
}

TEST(SvgPlotDocument, TheTitleFitsTheSmallestPicture) {
    const std::string folders = "/home/someone/jobs/2026/customer-with-a-long-name/fixture-plate/";
    PlotRequest request{folders + "pocket.element", false};
    request.size = PlotSize{600, 600};
    const std::string svg = Plot(Square(2), request);
    ASSERT_TRUE(ParseXml(svg).wellFormed);
    // Its font shrinks, and the name still too long loses its folders.
    EXPECT_EQ(svg.find(folders), std::string::npos);
    EXPECT_NE(svg.find(">pocket.element: 4 segments, path length 70 mm"), std::string::npos);
    EXPECT_EQ(svg.find("font-size=\"15\""), std::string::npos);
    // At the default size the whole name fits.
    EXPECT_NE(Plot(Square(2), {folders + "pocket.element", false}).find(folders + "pocket"),
              std::string::npos);
}

TEST(SvgPlotDocument, NamesAreMadeSafeForXmlAndUnknownSpeedIsSaid) {
    ElementPath path = Square(2);
    for (PathSegment& segment : path.segments) segment.speedLiteral = 0;
    const ParsedXml xml = ParseXml(Plot(path, {"a<b>&\"c\x01\xe9 \xc3\xa9", true}));
    ASSERT_TRUE(xml.wellFormed) << xml.error;
    EXPECT_NE(xml.text.find("a<b>&\"c?? \xc3\xa9: 4 segments"), std::string::npos);
    EXPECT_NE(xml.text.find("duration not estimable"), std::string::npos);
    EXPECT_NE(xml.text.find("no speed in force"), std::string::npos);
}

// XML takes neither malformed UTF-8 nor U+FFFE and U+FFFF; the replacement character it takes.
TEST(SvgPlotDocument, CharactersXmlRefusesBecomeQuestionMarks) {
    const ParsedXml xml =
        ParseXml(Plot(Square(2), {"\xF5\x80\x80 \xEF\xBF\xBE\xEF\xBF\xBF \xEF\xBF\xBD", false}));
    ASSERT_TRUE(xml.wellFormed) << xml.error;
    EXPECT_NE(xml.text.find("??? ?????? \xEF\xBF\xBD: 4 segments"), std::string::npos);
}

TEST(SvgPlotDocument, ElementWithoutUnitsIsDrawnInCounts) {
    ElementPath path = Square(2);
    path.unitKind = UnitKind::None;
    path.columnUnits.position = {};
    path.scales.position = {};
    path.scales.speed.basePerInternal = 0.0;
    path.scales.acceleration.basePerInternal = 0.0;
    path.scales.baseLengthUnit.clear();
    const ParsedXml xml = ParseXml(Plot(path, {"counts", false}));
    ASSERT_TRUE(xml.wellFormed) << xml.error;
    EXPECT_NE(xml.text.find("X [counts]"), std::string::npos);
    EXPECT_NE(xml.text.find("no common unit"), std::string::npos);
}

// The colours of the path's strokes, each once.
std::set<std::string> StrokeColours(const std::string& svg) {
    static const std::regex stroke(R"re(<path fill="none" stroke="(#[0-9a-f]{6})")re");
    std::set<std::string> colours;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), stroke);
         it != std::sregex_iterator(); ++it)
        colours.insert((*it)[1].str());
    return colours;
}

TEST(SvgPlotDocument, SpeedColoursDoNotDependOnTheSpeedColumnsUnit) {
    const std::set<std::string> colours = StrokeColours(Plot(Square(2), {"square", false}));
    EXPECT_GE(colours.size(), 3u);
    ElementPath inMillimetres = Square(2);
    inMillimetres.columnUnits.speed = "mm/s";
    inMillimetres.scales.speed.perInternal = 1.0;
    EXPECT_EQ(StrokeColours(Plot(inMillimetres, {"square", false})), colours);
}

// The worst case for the drawing's size: a million short steps in every direction, with the
// speed changing all along, drawn in four views.
TEST(SvgPlotSize, MillionSegmentScribbleStaysUnderTwoMegabytes) {
    ElementPath path = MicronPath(3);
    std::mt19937 random(11);
    std::uniform_int_distribution<int> step(-500, 500);
    std::uniform_real_distribution<double> speed(10, 100);
    path.segments.resize(1000000);
    for (size_t i = 0; i < path.segments.size(); ++i) {
        path.segments[i].counts = {step(random), step(random), step(random)};
        if (i % 1000 == 0) path.segments[i].speedLiteral = speed(random);
    }
    path.segments[0].accelerationLiteral = 1.0;
    const std::string svg = Plot(path, {"scribble", true});
    EXPECT_LT(svg.size(), 2000000u);
    EXPECT_TRUE(ParseXml(svg).wellFormed);
}

// The numbers written at ticks, below and left of the frames, in document order; each is short.
std::vector<double> TickValues(const std::string& svg) {
    static const std::regex tick(R"re(<text [^>]*text-anchor="(?:middle|end)">([^<]*)</text>)re");
    std::vector<double> values;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), tick); it != std::sregex_iterator();
         ++it) {
        const std::string text = (*it)[1].str();
        if (text.find_first_not_of("0123456789.-+e") != std::string::npos) continue;
        // Longer values would run into the axis' name and their neighbours.
        EXPECT_LE(text.size(), 8u) << text;
        values.push_back(std::stod(text));
    }
    return values;
}

// A drawing a person can read: well-formed, no number that is not finite, ticks on the axes.
void ExpectReadable(const std::string& svg) {
    const ParsedXml xml = ParseXml(svg);
    ASSERT_TRUE(xml.wellFormed) << xml.error;
    EXPECT_EQ(svg.find("nan"), std::string::npos);
    EXPECT_EQ(svg.find("inf"), std::string::npos);
    const std::vector<double> ticks = TickValues(svg);
    EXPECT_GE(ticks.size(), 6u);
    for (double tick : ticks) EXPECT_TRUE(std::isfinite(tick));
}

bool HasTicks(const std::string& svg, const std::vector<double>& wanted) {
    const std::vector<double> ticks = TickValues(svg);
    return std::all_of(wanted.begin(), wanted.end(), [&](double value) {
        return std::find(ticks.begin(), ticks.end(), value) != ticks.end();
    });
}

TEST(SvgPlotDegenerate, AnAxisWithoutExtentGetsASmallSymmetricRange) {
    ElementPath path = MicronPath(2);
    path.segments = {{{20000, 0, 0}, 1, 100}, {{-20000, 0, 0}, 0, 0}};
    const std::string svg = Plot(path, {"line", true});
    ExpectReadable(svg);
    // X spans 0 to 20 mm; Y gets as much, centred on its 0.
    EXPECT_TRUE(HasTicks(svg, {0, 10, 20, -10, 10})) << ::testing::PrintToString(TickValues(svg));
}

TEST(SvgPlotDegenerate, ASegmentOfZeroLengthGetsOneCountAroundTheStart) {
    ElementPath path = MicronPath(3);
    path.segments = {{{0, 0, 0}, 1, 100}};
    const std::string svg = Plot(path, {"point", true});
    ExpectReadable(svg);
    // One count is 0.001 mm: the views show half a count either way of the start.
    EXPECT_TRUE(HasTicks(svg, {-0.0005, 0, 0.0005})) << ::testing::PrintToString(TickValues(svg));
    EXPECT_NE(svg.find("speed over time not known"), std::string::npos);
}

TEST(SvgPlotDegenerate, CountsAtTheOperandsLimitsSummedOverManySegments) {
    ElementPath path = MicronPath(3);
    const std::int64_t most = std::numeric_limits<std::int32_t>::max();
    const std::int64_t least = std::numeric_limits<std::int32_t>::min();
    path.segments.assign(1000, {{most, least, most}, 0, 0});
    path.segments.front() = {{most, least, most}, 32767.99998, 32767.99998};
    path.segments.push_back({{least, most, least}, 0, 0});
    ExpectReadable(Plot(path, {"limits", true}));
}

TEST(SvgPlotDegenerate, ScalesAtTheEdgesOfTheProjectsRanges) {
    // The finest: 2^31 counts per 1e-6 mm and 1 us samples; the coarsest: 1 count per 1e6 mm
    // and 1 s samples.
    for (const double count : {1e-9 / 2147483648.0, 1e3}) {
        for (const double sample : {1e-6, 1.0}) {
            ElementPath path = MicronPath(2);
            for (InternalScale& position : path.scales.position) position = {count * 1e3, count};
            path.scales.speed = {count / sample, count / sample};
            path.scales.acceleration = {count / (sample * sample), count / (sample * sample)};
            path.segments = {{{1, 0, 0}, 1.0 / 65536, 1.0 / 65536},
                             {{0, std::numeric_limits<std::int32_t>::max(), 0}, 32767.99998, 0}};
            ExpectReadable(Plot(path, {"edges", true}));
        }
    }
}

// A caller's summary whose speeds or duration left the doubles gets no colour scale or time axis.
TEST(SvgPlotDegenerate, SpeedsBeyondTheDoublesAreSaidToBeUnknown) {
    const ElementPath path = Square(2);
    const std::optional<MotionModel> model = MotionModelOf(path, {});
    for (const double beyond : {std::numeric_limits<double>::infinity(), std::nan("")}) {
        PathStats stats = ComputeStats(path, model);
        stats.motion.peakSpeed = beyond;
        const std::string fast = RenderSvgPlot(path, model, stats, {"fast", true});
        ExpectReadable(fast);
        EXPECT_NE(fast.find("speeds beyond what can be computed"), std::string::npos);
        stats = ComputeStats(path, model);
        stats.motion.duration = beyond;
        EXPECT_NE(RenderSvgPlot(path, model, stats, {"long", true})
                      .find("speeds beyond what can be computed"),
                  std::string::npos);
    }
}

}  // namespace
