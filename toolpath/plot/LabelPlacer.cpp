#include "toolpath/plot/LabelPlacer.h"

#include <algorithm>
#include <cmath>

namespace {
// Boxes are kept on a grid of cells this many pixels square; one cell also keeps labels apart.
constexpr double kCell = 3.0;
// A placed label keeps others this many pixels away.
constexpr double kGap = 4.0;
}  // namespace

LabelPlacer::LabelPlacer(double left, double top, double width, double height)
    : m_left(left),
      m_top(top),
      m_columns(std::max(1, static_cast<int>(std::ceil(width / kCell)))),
      m_rows(std::max(1, static_cast<int>(std::ceil(height / kCell)))),
      m_taken(static_cast<size_t>(m_columns) * static_cast<size_t>(m_rows), 0) {}

LabelPlacer::CellRange LabelPlacer::CellsOf(double x, double y, double width, double height) const {
    return {static_cast<int>(std::floor((x - m_left) / kCell)),
            static_cast<int>(std::floor((x + width - m_left) / kCell)),
            static_cast<int>(std::floor((y - m_top) / kCell)),
            static_cast<int>(std::floor((y + height - m_top) / kCell))};
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
