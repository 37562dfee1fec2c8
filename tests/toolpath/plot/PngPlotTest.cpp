#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "tests/support/MicronPath.h"
#include "toolpath/plot/PngCanvas.h"
#include "toolpath/plot/PngEncoding.h"
#include "toolpath/plot/SvgPlot.h"

namespace {

// Up and down Z only, at a speed in force.
ElementPath ZOnlyPath() {
    ElementPath path = MicronPath(3);
    path.segments = {{{0, 0, 30000}, 0.5, 100}, {{0, 0, -10000}, 0, 0}};
    return path;
}

std::string PngOf(const ElementPath& path, const PlotRequest& request) {
    const std::optional<MotionModel> model = MotionModelOf(path, {});
    return RenderPngPlot(path, model, ComputeStats(path, model), request);
}

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

// The PNG decoded again, as a viewer reads it.
Surface Decoded(const std::string& png) {
    struct Reader {
        const std::string& bytes;
        std::size_t offset = 0;
    } reader{png};
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(
        [](void* closure, unsigned char* data, unsigned int length) {
            auto* in = static_cast<Reader*>(closure);
            if (in->bytes.size() - in->offset < length) return CAIRO_STATUS_READ_ERROR;
            std::copy_n(in->bytes.data() + in->offset, length, data);
            in->offset += length;
            return CAIRO_STATUS_SUCCESS;
        },
        &reader);
    return Surface(surface, cairo_surface_destroy);
}

// How many rows of the area hold a strongly coloured pixel (the path, not the grey frame).
int ColouredRows(cairo_surface_t* surface, int left, int top, int width, int height) {
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    int rows = 0;
    for (int y = top; y < top + height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        const bool coloured = std::any_of(row + left, row + left + width, [](std::uint32_t pixel) {
            const int red = pixel >> 16 & 0xff;
            const int green = pixel >> 8 & 0xff;
            const int blue = pixel & 0xff;
            return std::max({red, green, blue}) - std::min({red, green, blue}) > 80;
        });
        rows += coloured ? 1 : 0;
    }
    return rows;
}

TEST(PngEncoding, KeepsEachPixelsColourAndLeavesOutTheRowsPadding) {
    // Three pixels a row and a fourth word of padding, as cairo may lay a picture out.
    const std::array<std::uint32_t, 8> words = {0x00ff0000, 0x0000ff00, 0x000000ff, 0xdeadbeef,
                                                0x00123456, 0x00ffffff, 0x00000000, 0xdeadbeef};
    const std::string png =
        EncodePng(reinterpret_cast<const unsigned char*>(words.data()), 3, 2, 16);
    const Surface decoded = Decoded(png);
    ASSERT_EQ(cairo_surface_status(decoded.get()), CAIRO_STATUS_SUCCESS);
    ASSERT_EQ(cairo_image_surface_get_width(decoded.get()), 3);
    ASSERT_EQ(cairo_image_surface_get_height(decoded.get()), 2);
    const unsigned char* data = cairo_image_surface_get_data(decoded.get());
    const int stride = cairo_image_surface_get_stride(decoded.get());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const auto pixel = reinterpret_cast<const std::uint32_t*>(data + y * stride)[x];
            EXPECT_EQ(pixel & 0x00ffffff, words[static_cast<std::size_t>(y * 4 + x)])
                << x << "," << y;
        }
}

TEST(PngPlotFile, IsAPngOfTheDrawingsSize) {
    const std::string png = PngOf(ZOnlyPath(), {"z"});
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    const Surface surface = Decoded(png);
    ASSERT_EQ(cairo_surface_status(surface.get()), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(surface.get()), 1140);
    EXPECT_EQ(cairo_image_surface_get_height(surface.get()), 814);
}

TEST(PngPlotFile, SizeAskedForIsTheImagesSizeAtBothEnds) {
    for (const PlotSize size : {PlotSize{kLeastPlotSide, kMostPlotSide}, PlotSize{1234, 777}}) {
        const Surface surface =
            Decoded(PngOf(ZOnlyPath(), {.name = "z", .speedProfile = true, .size = size}));
        EXPECT_EQ(cairo_image_surface_get_width(surface.get()), size.width);
        EXPECT_EQ(cairo_image_surface_get_height(surface.get()), size.height);
    }
}

TEST(PngPlotFile, SvgOfTheSameRequestHasTheSameSize) {
    const std::optional<MotionModel> model = MotionModelOf(ZOnlyPath(), {});
    const std::string svg = RenderSvgPlot(ZOnlyPath(), model, ComputeStats(ZOnlyPath(), model),
                                          {.name = "z", .size = PlotSize{900, 700}});
    EXPECT_NE(svg.find("width=\"900\" height=\"700\" viewBox=\"0 0 900 700\""), std::string::npos);
}

// The one view's frame inside the default single-view drawing.
constexpr int kFrameLeft = 80;
constexpr int kFrameTop = 72;
constexpr int kFrameWidth = 710;
constexpr int kFrameHeight = 520;

TEST(PngPlotViews, PathAlongZRunsUpTheXzViewAndIsAPointInXy) {
    const Surface xz = Decoded(PngOf(ZOnlyPath(), {.name = "z", .view = PlotView::XZ}));
    const Surface xy = Decoded(PngOf(ZOnlyPath(), {.name = "z", .view = PlotView::XY}));
    EXPECT_GT(ColouredRows(xz.get(), kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight), 400);
    // Only the start's ring and the end's square.
    EXPECT_LT(ColouredRows(xy.get(), kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight), 20);
}

TEST(PngPlotViews, OnlyXyIsAViewOfATwoAxisPath) {
    EXPECT_TRUE(PathHasView(MicronPath(2), PlotView::XY));
    EXPECT_FALSE(PathHasView(MicronPath(2), PlotView::XZ));
    EXPECT_FALSE(PathHasView(MicronPath(2), PlotView::YZ));
    EXPECT_TRUE(PathHasView(MicronPath(3), PlotView::YZ));
}

// A raster finish whose passes lie closer than a pixel apart, at one speed in its middle.
ElementPath DenseRaster() {
    ElementPath path = MicronPath(2);
    path.segments.push_back({{100000, 0, 0}, 0.5, 100});
    for (int pass = 1; pass < 2000; ++pass) {
        path.segments.push_back({{0, 50, 0}, 0, 0});
        path.segments.push_back({{pass % 2 == 0 ? 100000 : -100000, 0, 0}, 0, 0});
    }
    return path;
}

// The largest difference of a colour channel from the area's first pixel.
int ColourSpread(cairo_surface_t* surface, int left, int top, int width, int height) {
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const auto channelsOf = [](std::uint32_t pixel) {
        return std::array<int, 3>{static_cast<int>(pixel >> 16 & 0xff),
                                  static_cast<int>(pixel >> 8 & 0xff),
                                  static_cast<int>(pixel & 0xff)};
    };
    const std::array<int, 3> reference =
        channelsOf(reinterpret_cast<const std::uint32_t*>(data + top * stride)[left]);
    int spread = 0;
    for (int y = top; y < top + height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = left; x < left + width; ++x) {
            const std::array<int, 3> channels = channelsOf(row[x]);
            for (std::size_t c = 0; c < 3; ++c)
                spread = std::max(spread, std::abs(channels[c] - reference[c]));
        }
    }
    return spread;
}

// Passes drawn in separate strokes let the background through where their soft edges meet,
// which shows as light lines like missed passes.
TEST(PngPlotDensePaths, ARasterFinishIsOneEvenArea) {
    const Surface png = Decoded(PngOf(DenseRaster(), {.name = "raster"}));
    constexpr int kSide = 400;
    EXPECT_LE(ColourSpread(png.get(), kFrameLeft + kFrameWidth / 2 - kSide / 2,
                           kFrameTop + kFrameHeight / 2 - kSide / 2, kSide, kSide),
              4);
}

// Texts from outside (the element's name) reach the font as valid UTF-8.
TEST(PngCanvasText, MalformedTextIsStillDrawn) {
    PngCanvas canvas(40, 20);
    canvas.Text({2, 12}, "\xff\x01\xe2\x82");
    canvas.VerticalText({20, 10}, "a\xc3");
    const std::string png = canvas.Finish();
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
}

}  // namespace
