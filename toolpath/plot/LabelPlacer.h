// Places text labels in a drawing area so that they do not crowd: a label whose box would touch
// a box already taken is left out.
#pragma once

#include <cstdint>
#include <vector>

class LabelPlacer {
  public:
    LabelPlacer(double left, double top, double width, double height);

    // Takes a box (a marker, say) whatever lies under it.
    void Reserve(double x, double y, double width, double height);
    // Takes the box when it lies inside the area and touches no taken box; whether it did.
    bool Place(double x, double y, double width, double height);

  private:
    struct CellRange {
        int firstColumn;
        int lastColumn;
        int firstRow;
        int lastRow;
    };
    static int CellOf(double offset, int cells);
    CellRange CellsOf(double x, double y, double width, double height) const;
    bool IsFree(const CellRange& range) const;
    void Take(const CellRange& range);

    double m_left;
    double m_top;
    int m_columns;
    int m_rows;
    std::vector<std::uint8_t> m_taken;
};
