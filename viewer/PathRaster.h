// Draws the path into a picture of the canvas's pixels, as it is shown, at one pixel's width.
// Nothing the view can show is dropped, while the work stays bounded by what is visible:
// stretches off the canvas are skipped after one test, a stretch within the pixel inked last
// after one comparison, only the steps of a line that fall on the canvas are taken, a long line
// over tiles of pixels inked already (moves criss-crossing a filled picture) costs a look at a
// table of them (a few dozen where its box holds blank tiles off the line), and so does each piece
// of a walked line over inked tiles, a short line over inked blocks (a pocket's later passes) a
// look at those, and a long line between the same two pixels as one drawn already (a raster's
// passes) is left out while a table of the lines drawn finds such lines: where the path runs again
// over what it has drawn, the first pass keeps its colour.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "base/ClampedInt.h"
#include "viewer/TurnedVertices.h"
#include "viewer/ViewCamera.h"
#include "viewer/ViewPath.h"

// An ink of a frame: an index into its colours, of which 0 is the background, not inked.
enum class Ink : std::uint8_t {};

// Which tiles a look at the inked tiles takes as inked: those inked whole, or also those that a
// line from deep inside the frame's outline cannot reach (see Frame::SetOutline).
enum class Reach : std::uint8_t { Anywhere, FromDeepInside };

// A picture of width by height pixels, each the index of its colour among at most 255 inks and
// the background: a byte a pixel, so that the picture stays in the processor's cache while a
// dense path is drawn into it. It keeps count of what is inked in tiles of pixels and blocks of
// tiles, so that a line over what is inked already costs a look at the counts rather than a
// step per pixel.
class Frame {
  public:
    static constexpr std::uint32_t kBackgroundPixel = 0x00ffffff;
    static constexpr int kTile = 4;          // pixels on a side of a tile, whose inked pixels count
    static constexpr int kBlock = 16;        // pixels on a side of a block, whose inked tiles count
    static constexpr int kLinesKept = 4096;  // lines the table of lines drawn holds
    static constexpr double kHair = 1.0 / 64.0;  // pixels a line's steps never stray as far as

    Frame(int width, int height);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Whether the pixel at x, y lies on the picture.
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    // Fills the picture with the background, with nothing inked. The inks stay.
    void Clear();
    // Takes the picture of a frame of the same size, its inks and what it knows of them: all
    // but the colours Bytes() gave, which a copy would only overwrite.
    void CopyInk(const Frame& other);
    // The colour of the pixel at x, y: red, green, blue and one unused byte.
    std::uint32_t At(int x, int y) const { return m_colours[m_pixels[Index(x, y)]]; }
    // The ink of colour, taken among the frame's inks when it is new to them. The background's
    // colour too is an ink of its own. Once 255 are taken, a new colour gets the nearest.
    Ink InkOf(std::uint32_t colour);
    // Inks the pixel at x, y, which lies on the picture, unless it is inked already: where the
    // path runs again over what it has drawn, the first pass keeps its colour.
    void Set(int x, int y, Ink ink) {
        std::uint8_t& pixel = m_pixels[Index(x, y)];
        if (pixel != 0) return;
        pixel = static_cast<std::uint8_t>(ink);
        const std::size_t tile = TileIndex(x, y);
        if (++m_tileInk[tile] == m_tilePixels[tile]) InkTile(x, y);
    }
    void Set(int x, int y, std::uint32_t colour) { Set(x, y, InkOf(colour)); }
    // Inks the pixels of count steps of a line from x, y by sx, sy across and down, in 32.32
    // fixed point, each as Set does; all lie on the picture. The loop of a long line's walk.
    void SetAlong(std::int64_t x, std::int64_t y, std::int64_t sx, std::int64_t sy, int count,
                  Ink ink);
    // Colours the pixel when it lies on the picture, over any ink: the marks drawn on the path
    // (its start, the time marker, a picked segment) must show where they lie on it.
    void Mark(int x, int y, Ink ink) {
        if (!Contains(x, y)) return;
        Set(x, y, ink);
        m_pixels[Index(x, y)] = static_cast<std::uint8_t>(ink);
    }
    // Inks the pixel when it lies on the picture, looking at its block first: a finished block
    // (a pocket's later passes) then costs no look at the pixel.
    void Paint(int x, int y, Ink ink) {
        if (!Contains(x, y)) return;
        if (m_blockInked[BlockIndex(x, y)] == 0) Set(x, y, ink);
    }
    // Whether every pixel of the line from a to b (on the picture, no longer than a block
    // across and down) is inked already: every block of its box, widened by kHair, is inked
    // whole.
    bool InkedAround(Pixel a, Pixel b) const { return BlocksOfBoxInked(a, b); }
    // Whether the block in the given column and row is inked whole.
    bool BlockInked(int column, int row) const {
        return m_blockInked[CellAt(column, row, kBlock)] != 0;
    }
    // The tiles, left to right across and top to bottom down, that a box of pixels touches,
    // clamped to the picture.
    struct TileBox {
        int left;
        int right;
        int top;
        int bottom;
    };
    // Those of the box of a and b, points anywhere, widened by kHair: a line's steps stray from
    // it by less (see LineSteps), and a box of a line's ends must hold all their pixels.
    TileBox TilesAround(Pixel a, Pixel b) const {
        return {TileColumnAt(std::min(a.x, b.x) - kHair), TileColumnAt(std::max(a.x, b.x) + kHair),
                TileRowAt(std::min(a.y, b.y) - kHair), TileRowAt(std::max(a.y, b.y) + kHair)};
    }
    // Those of the box of pixels left..right across and top..bottom down.
    TileBox TilesOfPixels(int left, int top, int right, int bottom) const {
        return {TileColumn(left), TileColumn(right), TileRow(top), TileRow(bottom)};
    }
    // Whether every tile of the box is inked whole (or, for a line from deep inside the
    // outline, out of its reach), in at most eight looks however large the box (four at the
    // blocks' corners, four at the tiles'): a long line over a dense picture (moves
    // criss-crossing it) then costs no walk. It counts from a table of the inked tiles as it
    // was last summed (see LineWalked), so for a while after tiles fill it may say no.
    bool AreaInked(const TileBox& box, Reach reach = Reach::Anywhere) const {
        return BlocksAroundInked(box, reach) || TilesInked(box, reach);
    }
    bool AreaInked(Pixel a, Pixel b, Reach reach = Reach::Anywhere) const {
        return AreaInked(TilesAround(a, b), reach);
    }
    // The same for the box's whole blocks of tiles only: no when a tile of those blocks beyond
    // the box is not inked. Its table stays in the nearest cache, the tiles' does not.
    bool BlocksAroundInked(const TileBox& box, Reach reach) const {
        return BlocksInked(SumsFor(reach), box.left, box.right, box.top, box.bottom);
    }
    // Whether every tile of the box is inked whole, from the table of inked tiles alone: for a
    // box whose blocks were looked at.
    bool TilesInked(const TileBox& box, Reach reach) const {
        return SummedInked(SumsFor(reach), box.left, box.right, box.top, box.bottom);
    }
    // The depth inside the outline (in whole pixels, up to kDeepest) of the deepest tile of the
    // box not inked whole, counted now rather than from the table: -1 when every one is.
    int DeepestBlankTile(const TileBox& box) const;
    // Whether a line from a to b (points of the picture, or up to 64 pixels beyond it) may
    // reach a tile not inked whole when the table was last summed, its box found not inked. The
    // line is halved while a half's box holds such a tile and spans more than four tiles across
    // or down: a long line whose box holds a few blank tiles off the line (at the slanting edge
    // of a filled picture turned in 3D) then costs a few dozen looks rather than a walk.
    bool MayReachUninkedTile(Pixel a, Pixel b, Reach reach = Reach::Anywhere) const;
    // Where every line drawn until the picture is cleared or moved will lie: within the convex
    // outline of corners (pixels). A line whose ends lie deep inside it (kDeep pixels or more
    // from each edge) lies as deep all along, so its pixels cannot fall in a tile that lies
    // wholly near or beyond one edge, and the looks for it take such tiles as inked. A filled
    // picture turned in 3D is a lozenge: without this, most long lines across it take in a
    // blank corner of the picture with their box, and are halved to show that they miss it.
    // Fewer than three corners, or corners not near the picture, give no outline.
    void SetOutline(std::span<const Pixel> corners);
    // Whether p lies depth pixels or more inside the outline (kDeep for the looks' reach); never
    // without one.
    bool DeepInside(Pixel p, double depth = kDeep) const;
    static constexpr double kDeep = 8.0;
    // The depth of a tile as deep as any the outline measures, or deeper.
    static constexpr int kDeepest = 255;
    // How deep inside the outline a point must lie for its tile to be inked whole: every tile so
    // deep is. A filled picture's blank tiles lie near its edges, so that most later lines then
    // need no look, and only the ends of others near the edges a walk. Infinite without an
    // outline, or while the deepest tiles are blank.
    double InkedDepth() const {
        if (m_edges.empty() || m_deepestBlank >= kDeepest)
            return std::numeric_limits<double>::infinity();
        // A tile holds no deeper point than its depth and the next whole pixel; a hair over it
        // for the steps' drift.
        return m_deepestBlank + 1 + kHair;
    }
    // The part of the line from a to b that lies depth or more inside the outline, as fractions
    // of it from a: the two equal or the first beyond the second when no part does.
    std::array<double, 2> DeepPart(Pixel a, Pixel b, double depth) const;
    // Notes that a long line is walked, which sums the table of inked tiles again once enough
    // lines were walked since tiles were inked.
    void LineWalked() {
        if (m_tilesUnsummed != 0 && ++m_walksUnsummed >= m_walksBeforeSum) SumInkedTiles();
    }
    // How many cells of size pixels the picture has across and down.
    int CellsAcross(int size) const { return (m_width + size - 1) / size; }
    int CellsDown(int size) const { return (m_height + size - 1) / size; }
    // Moves the picture by dx pixels to the right and dy down, as a pan moves the view; what
    // comes in at the edges is blank, and the counts are taken again from the pixels.
    void Shift(int dx, int dy);
    // Inks every pixel that later inked and this picture did not, in later's colour: later
    // holds what was drawn after this picture's ink, so this picture's first passes stay.
    // Nothing when later is another size.
    void InkUnder(const Frame& later);
    // Whether a line between the pixels ax, ay and bx, by (on the picture or beyond it) was
    // drawn since the picture was cleared; notes it when not. Lines are stepped between their
    // end pixels' centres, so a line between the same pixels inks the same pixels and may be
    // left out: a raster's passes run hundreds to a row of pixels and never ink a block whole.
    // A line met again after others took its slot is drawn again; the table only saves work.
    bool LineDrawn(int ax, int ay, int bx, int by);
    // The picture's colours, four bytes a pixel row by row (red, green, blue, one unused), the
    // layout the toolkit draws from; valid until the next call.
    const unsigned char* Bytes();

  private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
               static_cast<std::size_t>(x);
    }
    std::size_t CellAt(int column, int row, int size) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(CellsAcross(size)) +
               static_cast<std::size_t>(column);
    }
    // The cells of a pixel on the picture: its coordinates are not negative, so the divisions by
    // the constant sizes are shifts.
    std::size_t BlockIndex(int x, int y) const {
        return static_cast<std::size_t>(static_cast<unsigned>(y) / kBlock) * m_blocksAcross +
               static_cast<unsigned>(x) / kBlock;
    }
    std::size_t TileIndex(int x, int y) const {
        return static_cast<std::size_t>(static_cast<unsigned>(y) / kTile) * m_tilesAcross +
               static_cast<unsigned>(x) / kTile;
    }
    // The tile column or row of a pixel's coordinate; one off the picture takes the edge's.
    int TileColumn(int x) const {
        return static_cast<int>(static_cast<unsigned>(std::clamp(x, 0, m_width - 1)) / kTile);
    }
    int TileRow(int y) const {
        return static_cast<int>(static_cast<unsigned>(std::clamp(y, 0, m_height - 1)) / kTile);
    }
    // The same for a point's coordinate, which may lie anywhere.
    int TileColumnAt(double x) const {
        return static_cast<int>(static_cast<unsigned>(ClampedInt(x, 0, m_width - 1)) / kTile);
    }
    int TileRowAt(double y) const {
        return static_cast<int>(static_cast<unsigned>(ClampedInt(y, 0, m_height - 1)) / kTile);
    }
    void InkTile(int x, int y);
    // The tables of inked tiles a look takes: the inked tiles above and to the left of each tile
    // corner, counted when last summed, and its entries at the blocks' corners.
    struct InkedSums {
        std::vector<std::uint32_t> tiles;
        std::vector<std::uint32_t> blocks;
    };
    // Without an outline, nothing is out of reach.
    const InkedSums& SumsFor(Reach reach) const {
        return reach == Reach::FromDeepInside && !m_edges.empty() ? m_inkedOrOutOfReach : m_inked;
    }
    // MayReachUninkedTile for a stretch between points in 16.16 fixed point, and for its halves.
    bool StretchMayReachUninkedTile(const InkedSums& sums, std::int32_t ax, std::int32_t ay,
                                    std::int32_t bx, std::int32_t by) const;
    bool HalvesMayReachUninkedTile(const InkedSums& sums, std::int32_t ax, std::int32_t ay,
                                   std::int32_t bx, std::int32_t by) const;
    // Whether the tiles left..right across and top..bottom down were all inked when the table
    // was last summed.
    bool SummedInked(const InkedSums& sums, int left, int right, int top, int bottom) const {
        const std::size_t across = m_tilesAcross + 1;
        const auto at = [&](int column, int row) {
            return sums
                .tiles[static_cast<std::size_t>(row) * across + static_cast<std::size_t>(column)];
        };
        const std::uint32_t inked =
            at(right + 1, bottom + 1) - at(left, bottom + 1) - at(right + 1, top) + at(left, top);
        return inked == static_cast<std::uint32_t>((right - left + 1) * (bottom - top + 1));
    }
    // The same for the tiles of the blocks that hold those tiles, from the table's corners at
    // the blocks' corners: a sixteenth of its size, which stays in the nearest cache.
    bool BlocksInked(const InkedSums& sums, int left, int right, int top, int bottom) const {
        constexpr unsigned kTiles = kBlock / kTile;
        left = static_cast<int>(static_cast<unsigned>(left) / kTiles);
        right = static_cast<int>(static_cast<unsigned>(right) / kTiles);
        top = static_cast<int>(static_cast<unsigned>(top) / kTiles);
        bottom = static_cast<int>(static_cast<unsigned>(bottom) / kTiles);
        const std::size_t across = m_blocksAcross + 1;
        const auto at = [&](int column, int row) {
            return sums
                .blocks[static_cast<std::size_t>(row) * across + static_cast<std::size_t>(column)];
        };
        const std::uint32_t inked =
            at(right + 1, bottom + 1) - at(left, bottom + 1) - at(right + 1, top) + at(left, top);
        const int tiles = static_cast<int>(kTiles);
        const int columns =
            std::min((right + 1) * tiles, static_cast<int>(m_tilesAcross)) - left * tiles;
        const int rows = std::min((bottom + 1) * tiles, m_tilesDown) - top * tiles;
        return inked == static_cast<std::uint32_t>(columns * rows);
    }
    void SumInkedTiles();
    // Sums into sums the tiles for which counts says yes.
    template <class Counts>
    void SumTiles(InkedSums& sums, Counts counts) const;
    // Measures how deep inside the outline each tile lies, and counts the blank tiles by depth.
    void MeasureTileDepths();
    // Counts the inked pixels, tiles and blocks again from the pixels, or forgets them all.
    void CountInk();
    void ForgetCounts();
    // Whether every block that the box of a and b touches (clamped to the picture) is inked
    // whole: at most four looks for the few pixels of a stretch of a dense path.
    bool BlocksOfBoxInked(Pixel a, Pixel b) const {
        const auto block = [](double pixel, int size) {
            return static_cast<int>(static_cast<unsigned>(ClampedInt(pixel, 0, size - 1)) / kBlock);
        };
        const int left = block(std::min(a.x, b.x) - kHair, m_width);
        const int right = block(std::max(a.x, b.x) + kHair, m_width);
        const int top = block(std::min(a.y, b.y) - kHair, m_height);
        const int bottom = block(std::max(a.y, b.y) + kHair, m_height);
        for (int y = top; y <= bottom; ++y) {
            const std::uint8_t* row =
                m_blockInked.data() + static_cast<std::size_t>(y) * m_blocksAcross;
            for (int x = left; x <= right; ++x)
                if (row[x] == 0) return false;
        }
        return true;
    }

    int m_width;
    int m_height;
    std::size_t m_tilesAcross;
    int m_tilesDown;
    std::size_t m_blocksAcross;
    std::array<std::uint32_t, 256> m_colours{kBackgroundPixel};  // of each ink
    int m_inks = 1;                                              // inks taken, the background's
    std::vector<std::uint8_t> m_pixels;                          // the ink of each; 0 when none
    std::vector<std::uint32_t> m_colourPixels;                   // what Bytes() gave
    std::vector<std::uint8_t> m_tileInk;     // per tile, how many of its pixels are inked
    std::vector<std::uint8_t> m_tilePixels;  // and how many pixels it has
    std::vector<std::uint8_t> m_blockInk;    // per block, how many of its tiles are inked
    std::vector<std::uint8_t> m_blockTiles;  // and how many tiles it has
    std::vector<std::uint8_t> m_blockInked;  // 1 when all are inked
    // The inked tiles as last summed, and with them those out of reach of a line deep inside
    // the outline; the tiles inked whole since, and the lines walked since one was.
    InkedSums m_inked;
    InkedSums m_inkedOrOutOfReach;
    std::size_t m_tilesUnsummed = 0;
    std::size_t m_walksUnsummed = 0;
    std::size_t m_walksBeforeSum = 1;
    static constexpr int kLineSlotBits = 12;
    // The lines drawn, by their end pixels; 0 when empty.
    std::vector<std::array<std::uint64_t, 2>> m_lines;
    // The outline's edges, each the half-plane nx x + ny y <= c with (nx, ny) a unit vector
    // outwards; none without an outline.
    struct Edge {
        double nx;
        double ny;
        double c;
    };
    std::vector<Edge> m_edges;
    // The outline's box, left, right, top and bottom; empty without an outline.
    static constexpr double kEverywhere = std::numeric_limits<double>::infinity();
    static constexpr std::array<double, 4> kNoBox{kEverywhere, -kEverywhere, kEverywhere,
                                                  -kEverywhere};
    std::array<double, 4> m_outlineBox = kNoBox;
    // Per tile, how deep inside the outline its deepest point lies, in whole pixels: 0 for a
    // tile beyond it, kDeepest for one as deep or deeper. The blank tiles at each depth, and the
    // deepest depth that has one (-1 when none has).
    std::vector<std::uint8_t> m_tileDepth;
    std::array<std::uint32_t, kDeepest + 1> m_blankAtDepth{};
    int m_deepestBlank = -1;
};

// The pixel value of red, green, blue.
constexpr std::uint32_t Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 |
           static_cast<std::uint32_t>(b) << 16;
}
std::uint8_t RedOf(std::uint32_t pixel);
std::uint8_t GreenOf(std::uint32_t pixel);
std::uint8_t BlueOf(std::uint32_t pixel);

inline constexpr std::uint32_t kBackground = Rgb(255, 255, 255);
static_assert(kBackground == Frame::kBackgroundPixel);
inline constexpr std::uint32_t kUntimedInk = Rgb(85, 85, 85);

struct RasterCount {
    std::size_t drawn = 0;  // stretches that reached the canvas and were drawn
    // Off the canvas, within the pixel inked last, drawn already, or over tiles inked whole.
    std::size_t skipped = 0;
};

// Draws the path's stretches in their speed colours (one ink when it has no timing). Given
// spare frames of the same size, a long path is drawn in as many parts more at once, each
// later part into a spare, and each spare's ink goes where the parts before it left none: the
// same picture in about a part's time on as many cores, so a caller passes a spare for each
// core beyond its own. The counts are then the parts' own. Given the vertices turned, kept
// beside the path from frame to frame, a frame of the free view places them from those.
RasterCount DrawPath(const ViewPath& path, const ViewCamera& camera, Frame& frame,
                     std::span<Frame> spares = {}, TurnedVertices* turned = nullptr);
// After frame.Shift(dx, dy) of a picture of the path, which the camera now shows moved by as
// much: draws the stretches that reach what came in at the edges, so that the picture is the
// path's again at a fraction of a whole drawing's cost, as a pan is dragged. It is the whole
// drawing's picture but for a corner on a pixel's very edge, which the moved camera's sums may
// round to the other pixel. Spare frames share the work, and turned vertices serve, as they do
// DrawPath's.
RasterCount DrawPathShifted(const ViewPath& path, const ViewCamera& camera, Frame& frame, int dx,
                            int dy, std::span<Frame> spares = {}, TurnedVertices* turned = nullptr);
// Draws a line from a to b, clipped to the frame, over what is drawn.
void DrawLine(Frame& frame, Pixel a, Pixel b, std::uint32_t colour);
// A filled disc of radius pixels about centre, with a ring of another colour, over what is drawn.
void DrawMarker(Frame& frame, Pixel centre, int radius, std::uint32_t fill, std::uint32_t ring);
