#include "toolpath/plot/LabelPlacer.h"

#include <algorithm>
#include <cmath>

#include "base/ClampedInt.h"

namespace {
// Boxes are kept on a grid of cells this many pixels square; one cell also keeps labels apart.
constexpr double kCell = 3.0;
// A placed label keeps others this many pixels away.
constexpr double kGap = 4.0;
// An area is at most this many cells wide and high.
constexpr int kMostCells = 1 << 14;
}  // namespace

LabelPlacer::LabelPlacer(double left, double top, double width, double height)
    : m_left(left),
      m_top(top),
      m_columns(ClampedInt(std::ceil(width / kCell), 1, kMostCells)),
      m_rows(ClampedInt(std::ceil(height / kCell), 1, kMostCells)),
      m_taken(static_cast<size_t>(m_columns) * static_cast<size_t>(m_rows), 0) {}

// A cell beyond the area is one step outside it, however far the box lies.
int LabelPlacer::CellOf(double offset, int cells) {
    return ClampedInt(std::floor(offset / kCell), -1, cells);
}

LabelPlacer::CellRange LabelPlacer::CellsOf(double x, double y, double width, double height) const {
    return {CellOf(x - m_left, m_columns), CellOf(x + width - m_left, m_columns),
            CellOf(y - m_top, m_rows), CellOf(y + height - m_top, m_rows)};
}

bool LabelPlacer::IsFree(const CellRange& range) const {
    if (range.firstColumn < 0 || range.firstRow < 0 || range.lastColumn >= m_columns ||
        range.lastRow >= m_rows)
        return false;
    for (int row = range.firstRow; row <= range.lastRow; ++row) {
        for (int column = range.firstColumn; column <= range.lastColumn; ++column) {
            if (m_taken[static_cast<size_t>(row) * static_cast<size_t>(m_columns) +
                        static_cast<size_t>(column)])
                return false;
        }
    }
    return true;
}

void LabelPlacer::Take(const CellRange& range) {
    for (int row = std::max(range.firstRow, 0); row <= std::min(range.lastRow, m_rows - 1); ++row) {
        for (int column = std::max(range.firstColumn, 0);
             column <= std::min(range.lastColumn, m_columns - 1); ++column)
            m_taken[static_cast<size_t>(row) * static_cast<size_t>(m_columns) +
                    static_cast<size_t>(column)] = 1;
    }
}

void LabelPlacer::Reserve(double x, double y, double width, double height) {
    Take(CellsOf(x, y, width, height));
}

bool LabelPlacer::Place(double x, double y, double width, double height) {
    if (!IsFree(CellsOf(x, y, width, height))) return false;
    Take(CellsOf(x - kGap, y - kGap, width + 2 * kGap, height + 2 * kGap));
    return true;
}
