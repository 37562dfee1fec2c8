#include "viewer/PathRaster.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <system_error>
#include <thread>

#include "base/Rounding.h"

namespace {

// Whether a pixel lies within 2^24 pixels of the picture: sums over farther ones lose their
// precision, and a view that far in gains nothing from them.
bool Near(Pixel p) {
    constexpr double kFar = 16777216.0;
    return std::fabs(p.x) < kFar && std::fabs(p.y) < kFar;
}

// For each cell of size pixels on a side, row by row, how many parts of part pixels on a side
// it holds: cells and parts at the picture's right and bottom edges may be smaller.
template <class Count>
std::vector<Count> PartsPerCell(int width, int height, int size, int part) {
    std::vector<Count> parts;
    for (int y = 0; y < height; y += size)
        for (int x = 0; x < width; x += size)
            parts.push_back(static_cast<Count>(((std::min(size, width - x) + part - 1) / part) *
                                               ((std::min(size, height - y) + part - 1) / part)));
    return parts;
}

}  // namespace

Frame::Frame(int width, int height)
    : m_width(std::max(width, 1)),
      m_height(std::max(height, 1)),
      m_tilesAcross(static_cast<std::size_t>(CellsAcross(kTile))),
      m_tilesDown(CellsDown(kTile)),
      m_blocksAcross(static_cast<std::size_t>(CellsAcross(kBlock))),
      m_pixels(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), 0),
      m_tilePixels(PartsPerCell<std::uint8_t>(m_width, m_height, kTile, 1)),
      m_blockTiles(PartsPerCell<std::uint8_t>(m_width, m_height, kBlock, kTile)) {
    m_tileInk.assign(m_tilePixels.size(), 0);
    m_blockInk.assign(m_blockTiles.size(), 0);
    m_blockInked.assign(m_blockTiles.size(), 0);
    static_assert(kLinesKept == 1 << kLineSlotBits);
    m_lines.assign(kLinesKept, {0, 0});
    for (InkedSums* sums : {&m_inked, &m_inkedOrOutOfReach}) {
        sums->tiles.assign((m_tilesAcross + 1) * static_cast<std::size_t>(m_tilesDown + 1), 0);
        sums->blocks.assign((m_blocksAcross + 1) * static_cast<std::size_t>(CellsDown(kBlock) + 1),
                            0);
    }
    m_tileDepth.assign(m_tilePixels.size(), 0);
    // Summing costs a look at each tile and a long line's walk dozens: summing once per
    // sixteenth of the tiles' count of lines walked keeps it a small part of the walks.
    m_walksBeforeSum = std::max<std::size_t>(m_tilePixels.size() / 16, 1);
}

void Frame::Clear() {
    std::fill(m_pixels.begin(), m_pixels.end(), 0);
    ForgetCounts();
}

void Frame::CopyInk(const Frame& other) {
    m_colours = other.m_colours;
    m_inks = other.m_inks;
    m_pixels = other.m_pixels;
    m_tileInk = other.m_tileInk;
    m_blockInk = other.m_blockInk;
    m_blockInked = other.m_blockInked;
    m_inked = other.m_inked;
    m_inkedOrOutOfReach = other.m_inkedOrOutOfReach;
    m_tilesUnsummed = other.m_tilesUnsummed;
    m_walksUnsummed = other.m_walksUnsummed;
    m_lines = other.m_lines;
    m_edges = other.m_edges;
    m_outlineBox = other.m_outlineBox;
    m_tileDepth = other.m_tileDepth;
    m_blankAtDepth = other.m_blankAtDepth;
    m_deepestBlank = other.m_deepestBlank;
}

void Frame::ForgetCounts() {
    for (auto* counts : {&m_tileInk, &m_blockInk, &m_blockInked})
        std::fill(counts->begin(), counts->end(), 0);
    std::fill(m_lines.begin(), m_lines.end(), std::array<std::uint64_t, 2>{0, 0});
    for (InkedSums* sums : {&m_inked, &m_inkedOrOutOfReach}) {
        std::fill(sums->tiles.begin(), sums->tiles.end(), 0);
        std::fill(sums->blocks.begin(), sums->blocks.end(), 0);
    }
    m_edges.clear();
    m_outlineBox = kNoBox;
    m_tilesUnsummed = 0;
    m_walksUnsummed = 0;
}

void Frame::Shift(int dx, int dy) {
    const auto width = static_cast<std::size_t>(m_width);
    const auto across = static_cast<std::size_t>(std::abs(dx));
    const bool wholeRows = across < width && std::abs(dy) < m_height;
    const std::size_t kept = wholeRows ? width - across : 0;
    const auto moveRow = [&](int y) {
        std::uint8_t* row = m_pixels.data() + static_cast<std::size_t>(y) * width;
        const int from = y - dy;
        if (kept == 0 || from < 0 || from >= m_height) {
            std::fill(row, row + width, 0);
            return;
        }
        const std::uint8_t* source = m_pixels.data() + static_cast<std::size_t>(from) * width;
        std::memmove(row + (dx > 0 ? across : 0), source + (dx > 0 ? 0 : across), kept);
        std::fill_n(row + (dx > 0 ? 0 : kept), across, 0);
    };
    // Rows move down from the bottom up and up from the top down, so that none is overwritten
    // before it has moved.
    if (dy > 0) {
        for (int y = m_height - 1; y >= 0; --y) moveRow(y);
    } else {
        for (int y = 0; y < m_height; ++y) moveRow(y);
    }
    CountInk();
}

void Frame::CountInk() {
    ForgetCounts();
    const std::uint8_t* pixel = m_pixels.data();
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x, ++pixel) {
            if (*pixel == 0) continue;
            const std::size_t tile = TileIndex(x, y);
            if (++m_tileInk[tile] == m_tilePixels[tile]) InkTile(x, y);
        }
    }
    SumInkedTiles();
}

Ink Frame::InkOf(std::uint32_t colour) {
    const auto begin = m_colours.begin() + 1;
    const auto end = m_colours.begin() + m_inks;
    const auto found = std::find(begin, end, colour);
    if (found != end) return static_cast<Ink>(found - m_colours.begin());
    if (m_inks < static_cast<int>(m_colours.size())) {
        m_colours[static_cast<std::size_t>(m_inks)] = colour;
        return static_cast<Ink>(m_inks++);
    }
    const auto distance = [colour](std::uint32_t other) {
        const auto part = [](std::uint8_t a, std::uint8_t b) { return (a - b) * (a - b); };
        return part(RedOf(colour), RedOf(other)) + part(GreenOf(colour), GreenOf(other)) +
               part(BlueOf(colour), BlueOf(other));
    };
    return static_cast<Ink>(std::min_element(begin, end,
                                             [&](std::uint32_t a, std::uint32_t b) {
                                                 return distance(a) < distance(b);
                                             }) -
                            m_colours.begin());
}

const unsigned char* Frame::Bytes() {
    m_colourPixels.resize(m_pixels.size());
    for (std::size_t i = 0; i < m_pixels.size(); ++i) m_colourPixels[i] = m_colours[m_pixels[i]];
    return reinterpret_cast<const unsigned char*>(m_colourPixels.data());
}

void Frame::InkUnder(const Frame& later) {
    if (&later == this || later.m_width != m_width || later.m_height != m_height) return;
    std::array<Ink, 256> inks{};
    for (int ink = 1; ink < later.m_inks; ++ink)
        inks[static_cast<std::size_t>(ink)] = InkOf(later.m_colours[static_cast<std::size_t>(ink)]);
    const std::uint8_t* theirs = later.m_pixels.data();
    const std::uint8_t* mine = m_pixels.data();
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x, ++theirs, ++mine)
            if (*theirs != 0 && *mine == 0) Set(x, y, inks[*theirs]);
    }
}

void Frame::SetAlong(std::int64_t x, std::int64_t y, std::int64_t sx, std::int64_t sy, int count,
                     Ink ink) {
    // The picture's start and width are kept apart from the members: a store of a pixel may
    // alias them, and would make the compiler load them again every step.
    const std::uint8_t* const pixels = m_pixels.data();
    const auto width = static_cast<std::size_t>(m_width);
    for (int i = 0; i < count; ++i, x += sx, y += sy) {
        const auto column = static_cast<std::size_t>(x >> 32);
        const auto row = static_cast<std::size_t>(y >> 32);
        if (pixels[row * width + column] == 0)
            Set(static_cast<int>(column), static_cast<int>(row), ink);
    }
}

bool Frame::LineDrawn(int ax, int ay, int bx, int by) {
    const auto keyOf = [](int x, int y) {
        return static_cast<std::uint64_t>(static_cast<std::uint32_t>(y)) << 32 |
               static_cast<std::uint32_t>(x);
    };
    std::uint64_t from = keyOf(ax, ay);
    std::uint64_t to = keyOf(bx, by);
    if (to < from) std::swap(from, to);
    const std::uint64_t first = from + 1;  // 0 marks an empty slot
    const std::uint64_t hash = first * 0x9e3779b97f4a7c15ULL ^ to * 0xc2b2ae3d27d4eb4fULL;
    std::array<std::uint64_t, 2>& slot = m_lines[hash >> (64 - kLineSlotBits)];
    if (slot[0] == first && slot[1] == to) return true;
    slot = {first, to};
    return false;
}

bool Frame::MayReachUninkedTile(Pixel a, Pixel b, Reach reach) const {
    // Fixed point keeps the halving exact enough and a point's tile a shift. Its 2^15 pixels
    // leave room for the hair that widens the halves' boxes; a point beyond, or not a number, is
    // answered yes.
    constexpr double kOne = 65536.0;
    constexpr double kLeast = -64.0;
    const double most = std::max(m_width, m_height) + 64.0;
    const auto near = [&](double v) { return v > kLeast && v < most; };
    if (most >= 32767.0 || !near(a.x) || !near(a.y) || !near(b.x) || !near(b.y)) return true;
    const auto fixed = [](double v) { return static_cast<std::int32_t>(v * kOne); };
    // From the halves: the caller has looked at the whole line's box.
    return HalvesMayReachUninkedTile(SumsFor(reach), fixed(a.x), fixed(a.y), fixed(b.x),
                                     fixed(b.y));
}

bool Frame::HalvesMayReachUninkedTile(const InkedSums& sums, std::int32_t ax, std::int32_t ay,
                                      std::int32_t bx, std::int32_t by) const {
    const std::int32_t mx = ax + (bx - ax) / 2;
    const std::int32_t my = ay + (by - ay) / 2;
    return StretchMayReachUninkedTile(sums, ax, ay, mx, my) ||
           StretchMayReachUninkedTile(sums, mx, my, bx, by);
}

bool Frame::StretchMayReachUninkedTile(const InkedSums& sums, std::int32_t ax, std::int32_t ay,
                                       std::int32_t bx, std::int32_t by) const {
    // A step's pixel holds a point of the line but for the steps' drift and the halvings'
    // rounding, each far less than this hair of a pixel by which the stretch's box is widened.
    constexpr auto kFixedHair = static_cast<std::int32_t>(kHair * 65536);
    static_assert(kTile == 4);
    constexpr int kToTile = 16 + 2;
    const int lastColumn = static_cast<int>(m_tilesAcross) - 1;
    const int lastRow = m_tilesDown - 1;
    const auto tile = [](std::int32_t v, int last) { return std::clamp(v >> kToTile, 0, last); };
    const int left = tile(std::min(ax, bx) - kFixedHair, lastColumn);
    const int right = tile(std::max(ax, bx) + kFixedHair, lastColumn);
    const int top = tile(std::min(ay, by) - kFixedHair, lastRow);
    const int bottom = tile(std::max(ay, by) + kFixedHair, lastRow);
    if (SummedInked(sums, left, right, top, bottom)) return false;
    // Each halving halves the stretch, so the halvings end here.
    constexpr int kMostSpanLeftWhole = 3;  // tiles beyond the first, across and down
    if (right - left <= kMostSpanLeftWhole && bottom - top <= kMostSpanLeftWhole) return true;
    return HalvesMayReachUninkedTile(sums, ax, ay, bx, by);
}

void Frame::InkTile(int x, int y) {
    ++m_tilesUnsummed;
    if (!m_edges.empty()) {
        --m_blankAtDepth[m_tileDepth[TileIndex(x, y)]];
        while (m_deepestBlank >= 0 && m_blankAtDepth[static_cast<std::size_t>(m_deepestBlank)] == 0)
            --m_deepestBlank;
    }
    const std::size_t block = BlockIndex(x, y);
    if (++m_blockInk[block] == m_blockTiles[block]) m_blockInked[block] = 1;
}

void Frame::SumInkedTiles() {
    const std::uint8_t* ink = m_tileInk.data();
    const std::uint8_t* pixels = m_tilePixels.data();
    SumTiles(m_inked, [&](std::size_t tile) { return ink[tile] == pixels[tile]; });
    if (!m_edges.empty()) {
        // A line deep inside inks pixels that hold one of its points (but for the steps' tiny
        // drift), so every point of such a pixel lies within a pixel's diagonal of the line and
        // no nearer an edge than kDeep less that diagonal: a tile whose deepest point lies nearer
        // than that, with a margin, is out of its reach.
        constexpr auto kReach = static_cast<std::uint8_t>(kDeep - 2.0);
        const std::uint8_t* depth = m_tileDepth.data();
        SumTiles(m_inkedOrOutOfReach, [&](std::size_t tile) {
            return (ink[tile] == pixels[tile]) | (depth[tile] < kReach);
        });
    }
    m_tilesUnsummed = 0;
    m_walksUnsummed = 0;
}

int Frame::DeepestBlankTile(const TileBox& box) const {
    int deepest = -1;
    for (int row = box.top; row <= box.bottom; ++row) {
        const std::size_t first = static_cast<std::size_t>(row) * m_tilesAcross;
        for (auto tile = first + static_cast<std::size_t>(box.left);
             tile <= first + static_cast<std::size_t>(box.right); ++tile)
            if (m_tileInk[tile] != m_tilePixels[tile])
                deepest = std::max<int>(deepest, m_tileDepth[tile]);
    }
    return deepest;
}

template <class Counts>
void Frame::SumTiles(InkedSums& sums, Counts counts) const {
    const std::size_t columns = m_tilesAcross;
    const auto rows = static_cast<std::size_t>(m_tilesDown);
    const std::size_t across = columns + 1;
    for (std::size_t row = 0; row < rows; ++row) {
        std::uint32_t inRow = 0;
        const std::uint32_t* above = sums.tiles.data() + row * across;
        std::uint32_t* sum = sums.tiles.data() + (row + 1) * across;
        for (std::size_t column = 0; column < columns; ++column) {
            inRow += counts(row * columns + column) ? 1U : 0U;
            sum[column + 1] = above[column + 1] + inRow;
        }
    }
    // The blocks' corners, the last ones at the picture's edges.
    const std::size_t blockColumns = m_blocksAcross;
    const auto blockRows = static_cast<std::size_t>(CellsDown(kBlock));
    constexpr std::size_t kTiles = kBlock / kTile;
    for (std::size_t row = 0; row <= blockRows; ++row)
        for (std::size_t column = 0; column <= blockColumns; ++column)
            sums.blocks[row * (blockColumns + 1) + column] =
                sums.tiles[std::min(row * kTiles, rows) * across +
                           std::min(column * kTiles, columns)];
}

namespace {

// The convex hull of points, its corners in turn, each turn positive ((b - a) x (c - b) > 0);
// fewer than three when they lie on a line.
std::vector<Pixel> ConvexHull(std::vector<Pixel> points) {
    if (points.size() < 3) return {};
    std::sort(points.begin(), points.end(),
              [](Pixel a, Pixel b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    const auto turn = [](Pixel o, Pixel a, Pixel b) {
        return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
    };
    std::vector<Pixel> hull;
    for (int pass = 0; pass < 2; ++pass) {
        const std::size_t start = hull.size();
        for (const Pixel p : points) {
            while (hull.size() >= start + 2 && turn(hull[hull.size() - 2], hull.back(), p) <= 0.0)
                hull.pop_back();
            hull.push_back(p);
        }
        hull.pop_back();  // the next pass starts from it
        std::reverse(points.begin(), points.end());
    }
    return hull;
}

}  // namespace

void Frame::SetOutline(std::span<const Pixel> corners) {
    const bool near = std::all_of(corners.begin(), corners.end(), Near);
    const std::vector<Pixel> hull =
        near ? ConvexHull({corners.begin(), corners.end()}) : std::vector<Pixel>{};
    if (hull.size() < 3 && m_edges.empty()) return;
    m_edges.clear();
    m_outlineBox = kNoBox;
    if (hull.size() >= 3) {
        // Each turn of the hull is positive, so every edge's outward normal lies to one side.
        for (std::size_t i = 0; i < hull.size(); ++i) {
            const Pixel from = hull[i];
            const Pixel to = hull[(i + 1) % hull.size()];
            const double length = std::hypot(to.x - from.x, to.y - from.y);
            const double nx = (to.y - from.y) / length;
            const double ny = (from.x - to.x) / length;
            m_edges.push_back({nx, ny, nx * from.x + ny * from.y});
            m_outlineBox = {std::min(m_outlineBox[0], from.x), std::max(m_outlineBox[1], from.x),
                            std::min(m_outlineBox[2], from.y), std::max(m_outlineBox[3], from.y)};
        }
    }
    MeasureTileDepths();
    SumInkedTiles();
}

bool Frame::DeepInside(Pixel p, double depth) const {
    // A point so deep lies as far inside the outline's box: a test that most points near an
    // edge fail at once.
    return p.x >= m_outlineBox[0] + depth && p.x <= m_outlineBox[1] - depth &&
           p.y >= m_outlineBox[2] + depth && p.y <= m_outlineBox[3] - depth &&
           std::all_of(m_edges.begin(), m_edges.end(), [&](const Edge& edge) {
               return edge.c - edge.nx * p.x - edge.ny * p.y >= depth;
           });
}

std::array<double, 2> Frame::DeepPart(Pixel a, Pixel b, double depth) const {
    constexpr std::array<double, 2> kNone{1.0, 0.0};
    if (m_edges.empty() || !std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) ||
        !std::isfinite(b.y))
        return kNone;
    // Each edge keeps the part of the line on its deep side, where a's depth and b's meet the
    // depth, as depth runs linearly along the line.
    std::array<double, 2> part{0.0, 1.0};
    for (const Edge& e : m_edges) {
        const double fromA = e.c - e.nx * a.x - e.ny * a.y - depth;
        const double fromB = e.c - e.nx * b.x - e.ny * b.y - depth;
        if (fromA >= 0.0 && fromB >= 0.0) continue;
        if (fromA < 0.0 && fromB < 0.0) return kNone;
        const double cut = fromA / (fromA - fromB);
        if (fromA < 0.0) {
            part[0] = std::max(part[0], cut);
        } else {
            part[1] = std::min(part[1], cut);
        }
    }
    return part;
}

void Frame::MeasureTileDepths() {
    std::fill(m_tileDepth.begin(), m_tileDepth.end(), 0);
    m_blankAtDepth.fill(0);
    m_deepestBlank = -1;
    if (m_edges.empty()) return;
    // A tile's deepest point for an edge is the corner farthest from it, whose depth falls
    // along a row at one rate. Tiles at the picture's right and bottom edges are taken whole,
    // which only makes them deeper.
    const std::size_t edges = m_edges.size();
    std::vector<double> depthAt(edges);
    for (int row = 0; row < m_tilesDown; ++row) {
        const double top = row * kTile;
        for (std::size_t i = 0; i < edges; ++i) {
            const Edge& e = m_edges[i];
            depthAt[i] =
                e.c - e.ny * top - std::min(0.0, e.nx * kTile) - std::min(0.0, e.ny * kTile);
        }
        for (std::size_t column = 0; column < m_tilesAcross; ++column) {
            const double left = static_cast<double>(column) * kTile;
            double depth = kDeepest;
            for (std::size_t i = 0; i < edges; ++i)
                depth = std::min(depth, depthAt[i] - m_edges[i].nx * left);
            // Truncated, a depth not below 0 is its whole pixels.
            const auto whole = static_cast<std::uint8_t>(std::max(depth, 0.0));
            const std::size_t tile = static_cast<std::size_t>(row) * m_tilesAcross + column;
            m_tileDepth[tile] = whole;
            if (m_tileInk[tile] == m_tilePixels[tile]) continue;
            ++m_blankAtDepth[whole];
            m_deepestBlank = std::max<int>(m_deepestBlank, whole);
        }
    }
}

std::uint8_t RedOf(std::uint32_t pixel) { return static_cast<std::uint8_t>(pixel & 0xff); }
std::uint8_t GreenOf(std::uint32_t pixel) { return static_cast<std::uint8_t>(pixel >> 8 & 0xff); }
std::uint8_t BlueOf(std::uint32_t pixel) { return static_cast<std::uint8_t>(pixel >> 16 & 0xff); }

namespace {

// Cuts the line a-b to the box left, right, top, bottom (Liang and Barsky's parameters); false
// when nothing of it is inside.
bool ClipToBox(Pixel& a, Pixel& b, const std::array<double, 4>& box) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    double low = 0.0;
    double high = 1.0;
    const std::array<double, 4> p{-dx, dx, -dy, dy};
    const std::array<double, 4> q{a.x - box[0], box[1] - a.x, a.y - box[2], box[3] - a.y};
    for (std::size_t i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            low = std::max(low, t);
        } else {
            high = std::min(high, t);
        }
        if (low > high) return false;
    }
    b = {a.x + high * dx, a.y + high * dy};
    a = {a.x + low * dx, a.y + low * dy};
    return true;
}

// The same for the rectangle 0..width, 0..height.
bool Clip(Pixel& a, Pixel& b, double width, double height) {
    return ClipToBox(a, b, {0.0, width, 0.0, height});
}

// Whether the line a-b lies wholly beyond one edge of the rectangle.
bool Outside(Pixel a, Pixel b, double width, double height) {
    return (a.x < 0.0 && b.x < 0.0) || (a.y < 0.0 && b.y < 0.0) || (a.x >= width && b.x >= width) ||
           (a.y >= height && b.y >= height);
}

// A pixel's coordinate: a line's ends lie within 2^24 pixels, or are clipped to the picture.
int Floor(double value) { return static_cast<int>(FloorToWhole(value)); }

// The pixels of a line, one a step along its longer direction in 32.32 fixed point, and its
// end's pixel: a step's pixel depends only on the line and the step, so that a line drawn in
// pieces inks the pixels of the line drawn whole, and the pixels of steps from one to another
// lie in the box of theirs. The steps stray from the line by up to 2^-33 pixels a step: a
// two-hundred-and-fiftieth of a pixel over the 2^25 steps of the longest line stepped from its
// ends, less than the hair by which the looks widen the box of a line's ends (Frame::kHair).
struct LineSteps {
    static constexpr int kFraction = 32;
    std::int64_t x = 0;  // the first step's
    std::int64_t y = 0;
    std::int64_t sx = 0;
    std::int64_t sy = 0;
    int steps = 0;
    int endX = 0;
    int endY = 0;
    int ColumnOf(int step) const { return static_cast<int>((x + step * sx) >> kFraction); }
    int RowOf(int step) const { return static_cast<int>((y + step * sy) >> kFraction); }
};

LineSteps StepsOf(Pixel a, Pixel b) {
    LineSteps line;
    line.endX = Floor(b.x);
    line.endY = Floor(b.y);
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    line.steps = static_cast<int>(CeilToWhole(std::max(std::fabs(dx), std::fabs(dy))));
    if (line.steps == 0) return line;
    constexpr double kOne = 4294967296.0;  // 2^32
    line.x = FloorToWhole(a.x * kOne);
    line.y = FloorToWhole(a.y * kOne);
    // One division a line: most lines of a dense path are a few pixels long.
    const double perStep = kOne / line.steps;
    line.sx = static_cast<std::int64_t>(RoundHalfAway(dx * perStep));
    line.sy = static_cast<std::int64_t>(RoundHalfAway(dy * perStep));
    return line;
}

// Calls put(x, y) for the pixel at x, y when it lies on the frame.
template <class Put>
void PutOnFrame(const Frame& frame, std::int64_t x, std::int64_t y, Put& put) {
    if (static_cast<std::uint64_t>(x) < static_cast<std::uint64_t>(frame.Width()) &&
        static_cast<std::uint64_t>(y) < static_cast<std::uint64_t>(frame.Height()))
        put(static_cast<int>(x), static_cast<int>(y));
}

// Calls put for the pixels of steps from to to (not included) that lie on the frame: the inner
// loop of a dense path's frame, which integer steps keep short.
template <class Put>
void StepPixels(const Frame& frame, const LineSteps& line, int from, int to, Put& put) {
    std::int64_t x = line.x + from * line.sx;
    std::int64_t y = line.y + from * line.sy;
    for (int i = from; i < to; ++i) {
        PutOnFrame(frame, x >> LineSteps::kFraction, y >> LineSteps::kFraction, put);
        x += line.sx;
        y += line.sy;
    }
}

// Calls put for each pixel of the clipped line a-b on the frame. The last step is b itself: the
// rounded steps may carry it a hair past b, into a pixel beyond the line's box, and their
// rounding must not cost the corner at the end.
template <class Put>
void StepPixels(const Frame& frame, Pixel a, Pixel b, Put&& put) {
    const LineSteps line = StepsOf(a, b);
    StepPixels(frame, line, 0, line.steps, put);
    PutOnFrame(frame, line.endX, line.endY, put);
}

// Inks the pixels of steps from to to (not included) that lie on the frame. The steps run one
// way, so where the first and the last lie on it all do, and they take no test each.
void InkSteps(Frame& frame, const LineSteps& line, int from, int to, Ink ink) {
    if (from >= to) return;
    if (frame.Contains(line.ColumnOf(from), line.RowOf(from)) &&
        frame.Contains(line.ColumnOf(to - 1), line.RowOf(to - 1))) {
        frame.SetAlong(line.x + from * line.sx, line.y + from * line.sy, line.sx, line.sy,
                       to - from, ink);
        return;
    }
    const auto set = [&](int x, int y) { frame.Set(x, y, ink); };
    StepPixels(frame, line, from, to, set);
}

// The same, inking the pixels: the short lines of a dense path.
void WalkPixels(Frame& frame, Pixel a, Pixel b, Ink ink) {
    const LineSteps line = StepsOf(a, b);
    InkSteps(frame, line, 0, line.steps, ink);
    const auto set = [&](int x, int y) { frame.Set(x, y, ink); };
    PutOnFrame(frame, line.endX, line.endY, set);
}

// Draws steps first to last (not included) of a long line, and its end, a piece of steps at a
// time, leaving out the pieces whose pixels lie over tiles inked already: a line across a dense
// picture whose box holds a blank tile off the line (moves criss-crossing the picture) then
// costs a look at the tiles a piece. The last piece's box takes in the end's pixel, so that
// the end is left out with it: the end's own look, a pixel far from the last ones looked at,
// was a sixth of the time of moves criss-crossing a filled picture.
void WalkInPieces(Frame& frame, const LineSteps& line, int first, int last, Ink ink, Reach reach) {
    constexpr int kPieceSteps = 64;
    const auto set = [&](int x, int y) { frame.Set(x, y, ink); };
    bool endInked = false;
    for (int from = first; from < last; from += kPieceSteps) {
        const int to = std::min(from + kPieceSteps, last);
        const int ax = line.ColumnOf(from);
        const int ay = line.RowOf(from);
        const int bx = line.ColumnOf(to - 1);
        const int by = line.RowOf(to - 1);
        int left = std::min(ax, bx);
        int right = std::max(ax, bx);
        int top = std::min(ay, by);
        int bottom = std::max(ay, by);
        const bool withEnd = to == line.steps;
        if (withEnd) {
            left = std::min(left, line.endX);
            right = std::max(right, line.endX);
            top = std::min(top, line.endY);
            bottom = std::max(bottom, line.endY);
        }
        if (frame.AreaInked(frame.TilesOfPixels(left, top, right, bottom), reach)) {
            endInked = withEnd;
            continue;
        }
        InkSteps(frame, line, from, to, ink);
    }
    if (!endInked) PutOnFrame(frame, line.endX, line.endY, set);
}

Pixel CentreOf(Pixel p) { return {Floor(p.x) + 0.5, Floor(p.y) + 0.5}; }

}  // namespace

void DrawLine(Frame& frame, Pixel a, Pixel b, std::uint32_t colour) {
    const double width = frame.Width();
    const double height = frame.Height();
    if (Outside(a, b, width, height) || !Clip(a, b, width, height)) return;
    const Ink ink = frame.InkOf(colour);
    StepPixels(frame, a, b, [&](int x, int y) { frame.Mark(x, y, ink); });
}

namespace {

// Where a flat view puts a point: two of its coordinates scaled and moved, the same sums as
// the camera's without the products by zero, which a million vertices a frame notice.
struct FlatProjection {
    std::size_t across;
    std::size_t down;
    Pixel origin;
    double scale;
    Pixel operator()(const ViewPoint& point) const {
        return {origin.x + point[across] * scale, origin.y - point[down] * scale};
    }
    // Vertex i of path.
    Pixel At(const ViewPath& path, std::size_t i) const { return (*this)(path.vertices[i]); }
};

// ViewCamera::ToPixel's sums, with the camera's numbers held by value: the loop over a path
// keeps them in registers instead of loading them again after each pixel it writes.
struct CameraProjection {
    explicit CameraProjection(const ViewCamera& camera)
        : right(camera.Right()),
          up(camera.Up()),
          origin(camera.ToPixel({0.0, 0.0, 0.0})),
          scale(camera.Scale()) {}
    Pixel operator()(const ViewPoint& point) const {
        return Place(Along(right, point), Along(up, point));
    }
    Pixel At(const ViewPath& path, std::size_t i) const { return (*this)(path.vertices[i]); }
    // A point that lies across and up along the view's axes.
    Pixel Place(double across, double upwards) const {
        return {origin.x + across * scale, origin.y - upwards * scale};
    }
    std::array<double, 3> right;
    std::array<double, 3> up;
    Pixel origin;
    double scale;
};

// The same, with the vertices' sums along the axes taken already.
struct TurnedProjection {
    CameraProjection camera;
    const std::array<double, 2>* turned;
    Pixel operator()(const ViewPoint& point) const { return camera(point); }
    Pixel At(const ViewPath&, std::size_t i) const {
        return camera.Place(turned[i][0], turned[i][1]);
    }
};

// The axis a unit vector of a flat view runs along.
std::size_t AxisOf(const std::array<double, 3>& unit) {
    return static_cast<std::size_t>(std::max_element(unit.begin(), unit.end()) - unit.begin());
}

bool OnCanvas(Pixel p, double width, double height) {
    return p.x >= 0.0 && p.y >= 0.0 && p.x < width && p.y < height;
}

// A vertex as the loop over the path needs it: where it falls and, on the canvas, its pixel.
struct Placed {
    Pixel at;
    bool onCanvas;
    int x;
    int y;
};

Placed Place(Pixel at, double width, double height) {
    const bool onCanvas = OnCanvas(at, width, height);
    return {at, onCanvas, onCanvas ? static_cast<int>(at.x) : -1,
            onCanvas ? static_cast<int>(at.y) : -1};
}

// Whether the stretch between a and b lies on the canvas and spans a block or less across and
// down: the most common stretch of a long path, drawn from its ends as they are.
bool ShortOnCanvas(const Placed& a, const Placed& b) {
    return a.onCanvas && b.onCanvas && std::fabs(b.at.x - a.at.x) <= Frame::kBlock &&
           std::fabs(b.at.y - a.at.y) <= Frame::kBlock;
}

// Whether a look that may leave a long line out is worth its cost: it is taken while it has
// credit, which each line it leaves out raises by gain (up to most) and each other line takes
// one from; without credit it is taken for one line in eight, so that it starts again where it
// pays.
class LooksWorth {
  public:
    LooksWorth(int gain, int most) : m_credit(gain), m_gain(gain), m_most(most) {}
    bool Take() { return m_credit > 0 || ++m_turn % 8 == 0; }
    void Paid(bool paid) {
        m_credit = paid ? std::min(m_credit + m_gain, m_most) : std::max(m_credit - 1, 0);
    }

  private:
    int m_credit;
    int m_gain;
    int m_most;
    unsigned m_turn = 0;
};

// The looks at the inked tiles pay on moves across a filling picture, not on a raster's
// passes, and stop after a few lines they do not leave out. The look at the lines drawn pays
// on a raster's passes, not on moves criss-crossing the picture, which seldom meet the same
// two pixels again; it also notes each line it does not find, so it stays on for as many lines
// as its table holds after the last it found, for a pass to meet the pass before.
struct Looks {
    LooksWorth tiles{8, 64};
    LooksWorth lines{Frame::kLinesKept, Frame::kLinesKept};
    LooksWorth depth{8, 64};
};

// A line stepped from from to to, on the picture or beyond it, that runs over the picture from
// start to end: between the centres of its end pixels (centred), or between its ends as they
// are, as a line of a few pixels is.
struct LongLine {
    Pixel from;
    Pixel to;
    Pixel start;
    Pixel end;
    bool centred = true;
    // Whether it runs over the picture from its first step to its last.
    bool Whole() const {
        return start.x == from.x && start.y == from.y && end.x == to.x && end.y == to.y;
    }
};

// A long line to draw into a frame, and the tiles its looks may take as inked: the walk runs
// between the line's ends, so where both lie deep inside the frame's outline, it does. The cut
// to the picture keeps the ends, and so the reach.
struct LineInFrame {
    LineInFrame(const Frame& frame, const LongLine& drawn)
        : line(drawn),
          reach(frame.DeepInside(drawn.from) && frame.DeepInside(drawn.to) ? Reach::FromDeepInside
                                                                           : Reach::Anywhere) {}
    LongLine line;
    Reach reach;
    // Whether the caller looked for it in the table of lines drawn, which noted it there: a
    // second look would find it.
    bool looked = false;
};

// The steps of line whose pixels may lie on the picture, first to last (not included): those
// from a step before start to one after end.
std::array<int, 2> StepsOnPicture(const LongLine& line, const LineSteps& steps) {
    const double dx = line.to.x - line.from.x;
    const double dy = line.to.y - line.from.y;
    if (steps.steps == 0) return {0, 0};
    // A line wholly on the picture, the most common: all its steps.
    if (line.Whole()) return {0, steps.steps};
    const bool across = std::fabs(dx) >= std::fabs(dy);
    const auto fraction = [&](Pixel p) {
        return across ? (p.x - line.from.x) / dx : (p.y - line.from.y) / dy;
    };
    const double first = std::floor(fraction(line.start) * steps.steps) - 1.0;
    const double last = std::ceil(fraction(line.end) * steps.steps) + 2.0;
    return {static_cast<int>(std::clamp(first, 0.0, static_cast<double>(steps.steps))),
            static_cast<int>(std::clamp(last, 0.0, static_cast<double>(steps.steps)))};
}

// The part of a long line whose points its walked steps' pixels hold: its part on the picture,
// lengthened for a line cut by the picture's edge by the few steps walked beyond the cut (see
// StepsOnPicture), which the steps' drift may bring back onto the picture.
std::array<Pixel, 2> WalkedSpan(const LongLine& line) {
    if (line.Whole()) return {line.start, line.end};
    constexpr double kStray = 4.0;  // steps: those beyond the cut, and a margin
    const double dx = line.to.x - line.from.x;
    const double dy = line.to.y - line.from.y;
    const double perStep = kStray / std::max(std::fabs(dx), std::fabs(dy));
    return {Pixel{line.start.x - dx * perStep, line.start.y - dy * perStep},
            Pixel{line.end.x + dx * perStep, line.end.y + dy * perStep}};
}

// Whether a line stepped between the centres of the pixels ax, ay and bx, by was drawn
// already, as far as the table of lines drawn is looked at; notes it when the table is looked
// at and does not hold it.
bool DrawnBetween(Frame& frame, int ax, int ay, int bx, int by, Looks& looks) {
    if (!looks.lines.Take()) return false;
    const bool drawn = frame.LineDrawn(ax, ay, bx, by);
    looks.lines.Paid(drawn);
    return drawn;
}

// Walks only the steps of a long line that lie shallower inside the outline than the frame's
// inked depth, when a part of it lies deeper: that part inks nothing, and a move from near the
// edge of a filled picture costs a walk of its few pixels there. Whether it walked any steps;
// nothing when no part lies so deep.
std::optional<bool> WalkShallowEnds(Frame& frame, const LongLine& line, Ink ink, Reach reach) {
    const double depth = frame.InkedDepth();
    if (!(depth < std::numeric_limits<double>::infinity())) return std::nullopt;
    const auto [deepFrom, deepTo] = frame.DeepPart(line.from, line.to, depth);
    if (!(deepFrom < deepTo)) return std::nullopt;
    const LineSteps steps = StepsOf(line.from, line.to);
    const auto [first, last] = StepsOnPicture(line, steps);
    const int deepFirst = static_cast<int>(std::ceil(deepFrom * steps.steps));
    const int deepLast = static_cast<int>(std::floor(deepTo * steps.steps));
    const int before = std::min(last, deepFirst);
    const int after = std::max(first, deepLast + 1);
    const bool walked = first < before || after < last;
    if (walked) frame.LineWalked();
    if (first < before) WalkInPieces(frame, steps, first, before, ink, reach);
    if (after < last) WalkInPieces(frame, steps, after, last, ink, reach);
    return walked;
}

// Draws a long line unless every pixel it could ink is inked already or it was drawn between
// the same pixels already (as far as the table of lines drawn is looked at). The looks go from
// the cheapest: the lines drawn (the callers' look, before the depths of the line's ends; here,
// after the blocks, for a line from far off), the blocks around the line, the tiles, the depth
// of its ends inside the outline, then the tiles near it.
// The box of the line's walked span holds every pixel its steps ink.
bool DrawLongLine(Frame& frame, const LineInFrame& toDraw, Ink ink, Looks& looks) {
    const LongLine& line = toDraw.line;
    const Reach reach = toDraw.reach;
    const bool look = looks.tiles.Take();
    std::array<Pixel, 2> span{};
    Frame::TileBox box{};
    if (look) {
        span = WalkedSpan(line);
        box = frame.TilesAround(span[0], span[1]);
        if (frame.BlocksAroundInked(box, reach)) {
            looks.tiles.Paid(true);
            return false;
        }
    }
    if (!toDraw.looked && line.centred &&
        DrawnBetween(frame, Floor(line.from.x), Floor(line.from.y), Floor(line.to.x),
                     Floor(line.to.y), looks))
        return false;
    if (look && frame.TilesInked(box, reach)) {
        looks.tiles.Paid(true);
        return false;
    }
    // Its tiles were looked at: the ends near the outline's edge, or the tiles near the line.
    const std::optional<bool> walked = WalkShallowEnds(frame, line, ink, reach);
    if (walked) return *walked;
    if (look) {
        const bool inked = !frame.MayReachUninkedTile(span[0], span[1], reach);
        looks.tiles.Paid(inked);
        if (inked) return false;
    }
    frame.LineWalked();
    const LineSteps steps = StepsOf(line.from, line.to);
    const auto [first, last] = StepsOnPicture(line, steps);
    WalkInPieces(frame, steps, first, last, ink, reach);
    return true;
}

// DrawLongLine for the line between the centres of the pixels ax, ay and bx, by of the picture,
// looked for first in the table of lines drawn: a raster's passes run hundreds between the same
// two pixels, and the depths of their ends inside the outline cost more than the look.
bool DrawLongLineBetween(Frame& frame, int ax, int ay, int bx, int by, Ink ink, Looks& looks) {
    if (DrawnBetween(frame, ax, ay, bx, by, looks)) return false;
    const Pixel start{ax + 0.5, ay + 0.5};
    const Pixel end{bx + 0.5, by + 0.5};
    LineInFrame toDraw(frame, {start, end, start, end});
    toDraw.looked = true;
    return DrawLongLine(frame, toDraw, ink, looks);
}

// The line of a stretch from a to b that leaves the picture, whole, where a and b lie near
// enough: its steps are those the stretch would take on the picture (from its ends' pixels, or
// from its ends when it spans a block or less), so that its pixels do not depend on where the
// picture's edge cuts it and a pan moves them. None when it was drawn between the same pixels
// already: a raster's passes zoomed in run off the picture at both ends, hundreds between the
// same two pixels, and are left out before the looks at their ends and the cut.
std::optional<LongLine> AnchoredLine(Frame& frame, Pixel a, Pixel b, Looks& looks) {
    const bool centred =
        std::fabs(b.x - a.x) > Frame::kBlock || std::fabs(b.y - a.y) > Frame::kBlock;
    if (!centred) return LongLine{a, b, a, b, false};
    const int ax = Floor(a.x);
    const int ay = Floor(a.y);
    const int bx = Floor(b.x);
    const int by = Floor(b.y);
    if (DrawnBetween(frame, ax, ay, bx, by, looks)) return std::nullopt;
    const Pixel from{ax + 0.5, ay + 0.5};
    const Pixel to{bx + 0.5, by + 0.5};
    return LongLine{from, to, from, to};
}

// Cuts a whole line to where it runs over the picture; false when it does not.
bool CutToPicture(LongLine& line, double width, double height) {
    return !Outside(line.start, line.end, width, height) &&
           Clip(line.start, line.end, width, height);
}

// The line of a stretch from a to b too far off to step from its ends, where it runs over the
// picture; none when it does not, or when an end is not a number (a point at infinity): the
// cut would keep such an end, and it has no pixel.
std::optional<LongLine> FarLineOnPicture(Pixel a, Pixel b, double width, double height) {
    const auto finite = [](Pixel p) { return std::isfinite(p.x) && std::isfinite(p.y); };
    if (!finite(a) || !finite(b) || !Clip(a, b, width, height)) return std::nullopt;
    return LongLine{CentreOf(a), CentreOf(b), CentreOf(a), CentreOf(b)};
}

// Whether a whole line that leaves the picture lies over inked blocks, looked at before it is
// cut: its box, clamped to the picture, holds the pixels of its part on it. Zoomed in, most
// moves across a filled picture leave it, and are left out without the cut.
bool LeftOutUncut(const Frame& frame, const LineInFrame& drawn, Looks& looks) {
    if (!looks.tiles.Take()) return false;
    const bool inked =
        frame.BlocksAroundInked(frame.TilesAround(drawn.line.from, drawn.line.to), drawn.reach);
    // A look that does not pay is paid for by the line's own looks.
    if (inked) looks.tiles.Paid(true);
    return inked;
}

// The line of a stretch from a to b that leaves the picture, cut to where it runs over it; none
// when it does not, or when it is left out as a whole.
std::optional<LineInFrame> LineOnPicture(Frame& frame, Pixel a, Pixel b, Looks& looks) {
    const double width = frame.Width();
    const double height = frame.Height();
    if (!Near(a) || !Near(b)) {
        const std::optional<LongLine> far = FarLineOnPicture(a, b, width, height);
        if (!far) return std::nullopt;
        return LineInFrame(frame, *far);
    }
    const std::optional<LongLine> anchored = AnchoredLine(frame, a, b, looks);
    if (!anchored) return std::nullopt;
    LineInFrame drawn(frame, *anchored);
    drawn.looked = true;  // by AnchoredLine
    if (LeftOutUncut(frame, drawn, looks) || !CutToPicture(drawn.line, width, height))
        return std::nullopt;
    return drawn;
}

// What came in at the edges of a picture shifted by dx, dy: a band of columns at the left or
// right and one of rows at the top or bottom, either of them empty.
class NewArea {
  public:
    NewArea(const Frame& frame, int dx, int dy) {
        if (dx != 0) {
            m_left = dx > 0 ? 0 : frame.Width() + dx;
            m_right = dx > 0 ? dx : frame.Width();
        }
        if (dy != 0) {
            m_top = dy > 0 ? 0 : frame.Height() + dy;
            m_bottom = dy > 0 ? dy : frame.Height();
        }
    }
    // Whether the stretch a-b may reach it; a pixel's margin, for the pixels rounding differently
    // since the shift.
    bool Reaches(Pixel a, Pixel b) const {
        return (std::max(a.x, b.x) >= m_left - kMargin && std::min(a.x, b.x) < m_right + kMargin) ||
               (std::max(a.y, b.y) >= m_top - kMargin && std::min(a.y, b.y) < m_bottom + kMargin);
    }
    // Its bands, each a box left, right, top, bottom with the margin; an empty band's box holds
    // nothing.
    std::array<std::array<double, 4>, 2> Boxes() const {
        return {{{m_left - kMargin, m_right + kMargin, -kNone, kNone},
                 {-kNone, kNone, m_top - kMargin, m_bottom + kMargin}}};
    }

    // The deepest tile inside the outline (see Frame::DeepestBlankTile) of those not inked
    // whole where a long line reaching it may ink a pixel: its bands and the few steps its walk
    // takes beyond them (see WalkedSpan). Moves criss-crossing the picture fill a pan's bands
    // within a few thousand lines, but for the outline's corners, which the picture takes in
    // when zoomed in, and the sparse ink near its edges.
    int DeepestBlank(const Frame& frame) const {
        constexpr double kBeyond = 5.0;  // the steps beyond, and a pixel
        int deepest = -1;
        for (const std::array<double, 4>& box : Boxes()) {
            if (!(box[0] < box[1] && box[2] < box[3])) continue;  // an empty band
            deepest = std::max(deepest, frame.DeepestBlankTile(frame.TilesAround(
                                            {box[0] - kBeyond, box[2] - kBeyond},
                                            {box[1] + kBeyond, box[3] + kBeyond})));
        }
        return deepest;
    }

  private:
    static constexpr double kMargin = 2.0;
    // An empty band: nothing reaches it.
    static constexpr double kNone = std::numeric_limits<double>::infinity();
    double m_left = kNone;
    double m_right = -kNone;
    double m_top = kNone;
    double m_bottom = -kNone;
};

// Whether a long line that reaches the area that came in after a shift inks nothing there, as
// the area's ink tells: none when it is inked whole, and none when its ends lie deeper inside
// the outline than every tile there not inked whole (the line lies as deep all along, and
// every pixel it inks holds a point of it). Looked at after so many lines reaching the area,
// twice as many each time up to a most: a look costs a few thousand tiles.
class AreaFill {
  public:
    // For a long line that reaches the area, stepped from from to to.
    bool InksNothing(const Frame& frame, const NewArea& area, Pixel from, Pixel to) {
        if (++m_reached == m_nextLook) Look(frame, area);
        if (m_inked) return true;
        return m_depth < kInfinite && frame.DeepInside(from, m_depth) &&
               frame.DeepInside(to, m_depth);
    }

  private:
    static constexpr double kInfinite = std::numeric_limits<double>::infinity();
    static constexpr std::size_t kMostBetweenLooks = 4096;
    void Look(const Frame& frame, const NewArea& area) {
        m_nextLook += std::min(m_nextLook, kMostBetweenLooks);
        const int deepest = area.DeepestBlank(frame);
        m_inked = deepest < 0;
        // A tile holds no deeper point than its depth and the next whole pixel; a hair over it
        // for the steps' drift.
        if (deepest >= 0 && deepest < Frame::kDeepest) m_depth = deepest + 1 + Frame::kHair;
    }
    bool m_inked = false;
    double m_depth = kInfinite;
    std::size_t m_reached = 0;
    std::size_t m_nextLook = 256;
};

// Draws the steps of the stretch a-b that run over the area that came in at the edges after a
// shift, as the whole stretch would step: the rest of its pixels were drawn before the shift.
// A pan's frame then walks the few pixels of a long line across the new band alone, where it
// looked at the whole picture's tiles along the line. Whether it walked any steps.
bool DrawOverArea(Frame& frame, const NewArea& area, AreaFill& fill, Pixel a, Pixel b, Ink ink,
                  Looks& looks) {
    const double width = frame.Width();
    const double height = frame.Height();
    if (Outside(a, b, width, height)) return false;
    const std::optional<LongLine> whole = Near(a) && Near(b)
                                              ? AnchoredLine(frame, a, b, looks)
                                              : FarLineOnPicture(a, b, width, height);
    if (!whole) return false;
    if (fill.InksNothing(frame, area, whole->from, whole->to)) return false;
    const auto set = [&](int x, int y) { frame.Set(x, y, ink); };
    // Most lines whose box reaches a band miss it: their steps are not taken.
    std::optional<LineSteps> stepped;
    bool walked = false;
    for (const std::array<double, 4>& box : area.Boxes()) {
        // Its ends alone: a copy of the whole would load its flag, just stored a byte at a
        // time, and wait for that store.
        LongLine cut{whole->from, whole->to, whole->start, whole->end};
        if (!ClipToBox(cut.start, cut.end, box)) continue;
        // The band fills within a few thousand lines of moves criss-crossing it; its blocks
        // inked whole then leave out the lines after those.
        const std::array<Pixel, 2> span = WalkedSpan(cut);
        if (frame.InkedAround(span[0], span[1])) continue;
        if (!stepped) stepped = StepsOf(whole->from, whole->to);
        const LineSteps& steps = *stepped;
        const auto [first, last] = StepsOnPicture(cut, steps);
        InkSteps(frame, steps, first, last, ink);
        if (last == steps.steps) PutOnFrame(frame, steps.endX, steps.endY, set);
        walked = true;
    }
    return walked;
}

// The first stretch from stretch i (the one that ends at vertex i) to last that may ink a pixel
// as far as its ends' depth tells, or last + 1: a stretch between ends deeper inside the frame's
// outline than every blank tile inks nothing, and costs no more than placing its end. from is
// where stretch i starts, and becomes where the one returned starts.
template <class Projection>
[[gnu::noinline]] std::size_t FirstStretchNotDeep(const ViewPath& path, Projection project,
                                                  const Frame& frame, std::size_t i,
                                                  std::size_t last, Pixel& from) {
    // A stretch's pixels hold points of it within half a pixel's diagonal of its ends: its
    // steps run between its end pixels' centres.
    const double depth = frame.InkedDepth() + 1.0;
    if (!(depth < std::numeric_limits<double>::infinity()) || !frame.DeepInside(from, depth))
        return i;
    std::size_t next = i;
    while (next <= last && frame.DeepInside(project.At(path, next), depth)) ++next;
    if (next != i && next <= last) from = project.At(path, next - 1);
    return next;
}

// Draws the stretches that end at vertices first + 1 to last; given an area, only those that
// reach it.
template <class Projection>
RasterCount DrawStretches(const ViewPath& path, Projection project, Frame& frame, std::size_t first,
                          std::size_t last, const NewArea* area = nullptr) {
    RasterCount count;
    std::array<Ink, kSpeedColours> inks{};
    for (int c = 0; c < kSpeedColours; ++c) {
        const auto rgb = SpeedColourRgb(c);
        inks[static_cast<std::size_t>(c)] =
            frame.InkOf(path.timed ? Rgb(rgb[0], rgb[1], rgb[2]) : kUntimedInk);
    }
    const double width = frame.Width();
    const double height = frame.Height();
    int lastX = -1;  // the pixel a stretch within one pixel inked last
    int lastY = -1;
    Looks looks;
    AreaFill fill;
    // Only the point is carried to the next stretch: placing it again is cheaper than keeping
    // the rest, which the compiler would hold in memory.
    Pixel from = project.At(path, first);
    // Moves deep inside a filled picture are long lines: the test for them follows such a line,
    // so that a dense path's short stretches do not pay for it. After stretch i, it leaves out
    // those that follow, and moves i to the last of them.
    const auto leaveOutDeepRun = [&](std::size_t& i) {
        if (!looks.depth.Take()) return;
        const std::size_t next = FirstStretchNotDeep(path, project, frame, i + 1, last, from);
        looks.depth.Paid(next != i + 1);
        count.skipped += next - (i + 1);
        i = next - 1;
    };
    for (std::size_t i = first + 1; i <= last; ++i) {
        const Placed a = Place(from, width, height);
        const Placed to = Place(project.At(path, i), width, height);
        from = to.at;
        if (area != nullptr && !area->Reaches(a.at, to.at)) {
            ++count.skipped;
            continue;
        }
        const Ink ink = inks[path.colours[i]];
        if (area != nullptr && !ShortOnCanvas(a, to)) {
            if (DrawOverArea(frame, *area, fill, a.at, to.at, ink, looks)) {
                lastX = -1;
                ++count.drawn;
            } else {
                ++count.skipped;
            }
            continue;
        }
        if (!a.onCanvas || !to.onCanvas) {
            // Off the canvas, or a line that leaves it. Beyond an edge, the ends' pixels and
            // those pixels' centres are beyond it too.
            if (Outside(a.at, to.at, width, height)) {
                ++count.skipped;
                continue;
            }
            const std::optional<LineInFrame> line = LineOnPicture(frame, a.at, to.at, looks);
            if (!line || !DrawLongLine(frame, *line, ink, looks)) {
                ++count.skipped;
            } else {
                lastX = -1;
                ++count.drawn;
            }
            leaveOutDeepRun(i);
            continue;
        }
        if (a.x == to.x && a.y == to.y) {
            // Within one pixel: a corner here is too small to see.
            if (to.x == lastX && to.y == lastY) {
                ++count.skipped;
                continue;
            }
            frame.Paint(to.x, to.y, ink);
            lastX = to.x;
            lastY = to.y;
            ++count.drawn;
            continue;
        }
        const double dx = std::fabs(to.at.x - a.at.x);
        const double dy = std::fabs(to.at.y - a.at.y);
        if (dx <= Frame::kBlock && dy <= Frame::kBlock) {
            // The most common stretch of a long path: a few pixels, all on the canvas; at most
            // a pixel across and down, it inks the pixels of its ends.
            if (dx <= 1.0 && dy <= 1.0) {
                frame.Paint(a.x, a.y, ink);
                frame.Paint(to.x, to.y, ink);
            } else if (!frame.InkedAround(a.at, to.at)) {
                WalkPixels(frame, a.at, to.at, ink);
            }
            lastX = -1;
            ++count.drawn;
            continue;
        }
        if (!DrawLongLineBetween(frame, a.x, a.y, to.x, to.y, ink, looks)) {
            ++count.skipped;
        } else {
            lastX = -1;
            ++count.drawn;
        }
        leaveOutDeepRun(i);
    }
    return count;
}

}  // namespace

namespace {

// Below this many stretches a part, another thread costs more than it saves.
constexpr std::size_t kLeastStretchesAPart = 50000;

// The corners of the path's box as the view places them: every stretch lies within their
// outline. None when the box is not known.
template <class Projection>
std::vector<Pixel> PlacedBoxCorners(const ViewPath& path, Projection project) {
    if (!path.vertexBox) return {};
    std::vector<Pixel> corners;
    const auto& [low, high] = *path.vertexBox;
    for (int corner = 0; corner < 8; ++corner)
        corners.push_back(project(ViewPoint{(corner & 1) != 0 ? high[0] : low[0],
                                            (corner & 2) != 0 ? high[1] : low[1],
                                            (corner & 4) != 0 ? high[2] : low[2]}));
    return corners;
}

// Copies the picture a pan moved into its spares, before any part draws into it: what a later
// part draws there is left out where the picture has ink, and a spare filled as the picture is
// leaves out as much.
void CopyPicture(const Frame& frame, std::span<Frame> spares) {
    for (Frame& spare : spares) spare.CopyInk(frame);
}

// Draws the path in parts, each part's frame given the outline of corners (none when empty).
template <class Projection>
RasterCount DrawStretchesInParts(const ViewPath& path, Projection project, Frame& frame,
                                 std::span<Frame> spares, std::span<const Pixel> outline,
                                 const NewArea* area = nullptr) {
    const std::size_t last = path.vertices.size() - 1;
    std::size_t parts =
        std::min(spares.size() + 1, std::max<std::size_t>(last / kLeastStretchesAPart, 1));
    for (std::size_t part = 1; part < parts; ++part) {
        const Frame& spare = spares[part - 1];
        if (&spare == &frame || spare.Width() != frame.Width() || spare.Height() != frame.Height())
            parts = part;
    }
    const auto firstOf = [&](std::size_t part) { return last * part / parts; };
    std::vector<RasterCount> counts(parts);
    // Joined however this returns, so that a failure to start one is no end of the program.
    std::vector<std::jthread> threads;
    threads.reserve(parts);
    if (area != nullptr) CopyPicture(frame, spares.first(parts - 1));
    for (std::size_t part = 1; part < parts; ++part) {
        const auto draw = [&, part] {
            Frame& spare = spares[part - 1];
            if (area == nullptr) spare.Clear();
            spare.SetOutline(outline);
            counts[part] =
                DrawStretches(path, project, spare, firstOf(part), firstOf(part + 1), area);
        };
        try {
            threads.emplace_back(draw);
        } catch (const std::system_error&) {
            // No thread to be had: this part is drawn here, into its spare all the same.
            draw();
        }
    }
    frame.SetOutline(outline);
    counts[0] = DrawStretches(path, project, frame, 0, firstOf(1), area);
    for (std::jthread& thread : threads) thread.join();
    RasterCount count = counts[0];
    for (std::size_t part = 1; part < parts; ++part) {
        frame.InkUnder(spares[part - 1]);
        count.drawn += counts[part].drawn;
        count.skipped += counts[part].skipped;
    }
    return count;
}

}  // namespace

namespace {

FlatProjection FlatOf(const ViewCamera& camera) {
    return {AxisOf(camera.Right()), AxisOf(camera.Up()), camera.ToPixel({0.0, 0.0, 0.0}),
            camera.Scale()};
}

// Calls draw with the projection of the camera's view: the free view's with the vertices turned
// already once turned holds them.
template <class Draw>
RasterCount WithProjection(const ViewPath& path, const ViewCamera& camera, TurnedVertices* turned,
                           Draw draw) {
    if (camera.Kind() != ViewKind::Free) return draw(FlatOf(camera));
    const CameraProjection projection(camera);
    const std::array<double, 2>* vertices =
        turned != nullptr ? turned->For(path, projection.right, projection.up) : nullptr;
    if (vertices == nullptr) return draw(projection);
    return draw(TurnedProjection{projection, vertices});
}

}  // namespace

RasterCount DrawPath(const ViewPath& path, const ViewCamera& camera, Frame& frame,
                     std::span<Frame> spares, TurnedVertices* turned) {
    if (path.vertices.empty()) return {};
    return WithProjection(path, camera, turned, [&](auto project) {
        return DrawStretchesInParts(path, project, frame, spares, PlacedBoxCorners(path, project));
    });
}

RasterCount DrawPathShifted(const ViewPath& path, const ViewCamera& camera, Frame& frame, int dx,
                            int dy, std::span<Frame> spares, TurnedVertices* turned) {
    if (path.vertices.empty()) return {};
    const NewArea area(frame, dx, dy);
    return WithProjection(path, camera, turned, [&](auto project) {
        return DrawStretchesInParts(path, project, frame, spares, PlacedBoxCorners(path, project),
                                    &area);
    });
}

void DrawMarker(Frame& frame, Pixel centre, int radius, std::uint32_t fill, std::uint32_t ring) {
    const int cx = Floor(centre.x);
    const int cy = Floor(centre.y);
    const Ink inside = frame.InkOf(fill);
    const Ink edge = frame.InkOf(ring);
    const int outer = (radius + 1) * (radius + 1);
    const int inner = radius * radius;
    for (int dy = -radius - 1; dy <= radius + 1; ++dy) {
        for (int dx = -radius - 1; dx <= radius + 1; ++dx) {
            const int d = dx * dx + dy * dy;
            if (d <= inner - radius) {
                frame.Mark(cx + dx, cy + dy, inside);
            } else if (d <= outer) {
                frame.Mark(cx + dx, cy + dy, edge);
            }
        }
    }
}
