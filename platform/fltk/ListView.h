// A list box on screen that reads its rows from the framework's item list as it draws them:
// the list itself is never copied, a change of it costs no more than a redraw, and only the
// rows in view are drawn, so lists of a million rows open and scroll at once. It acts as a
// list that holds one selected row: a click or the arrow, page, home and end keys select a
// row and call the callback. It scrolls up and down only: a row wider than the view is cut at
// its edge.
#pragma once

#include <FL/Fl_Group.H>
#include <FL/Fl_Scrollbar.H>

class ItemList;

class ListView : public Fl_Group {
  public:
    ListView(int x, int y, int width, int height, const ItemList& items);

    // The selected row, or -1 for none.
    int Selected() const { return m_selected; }
    // Shows row selected (-1 for none); a row out of view is scrolled to the middle.
    void ShowSelected(int selected);
    // Selects the row rows below the selected one (above for a negative count), as the arrow
    // keys do; with none selected, the top row.
    void Step(int rows);
    // The items changed: the scroll range follows at once, the rows at the next redraw.
    void ItemsChanged();

    Fl_Font TextFont() const { return m_textFont; }
    void TextFont(Fl_Font font);
    Fl_Fontsize TextSize() const { return m_textSize; }
    void TextSize(Fl_Fontsize size);

    int handle(int event) override;
    void resize(int x, int y, int width, int height) override;

  protected:
    void draw() override;

  private:
    int RowCount() const;
    int RowHeight() const;
    // The rows that fit in the view, at least one.
    int VisibleRows() const;
    int LastTop() const;
    void ScrollTo(int top);
    // Makes row visible, scrolling as little as possible.
    void ScrollIntoView(int row);
    // Selects row (clamped to the list) as the user does: the callback hears of a change.
    void SelectByUser(int row);
    // The row under the pointer's y.
    int RowAt(int y) const;
    // Selects the row under the pointer's y, as a click or a drag does.
    void SelectRowAt(int y);
    bool HandleKey();
    void UpdateScrollbar();
    void DrawRow(int row, int y, int width, int height);

    static void OnScroll(Fl_Widget* scrollbar, void* view);

    const ItemList& m_items;
    Fl_Scrollbar* m_scrollbar;  // a child: the group deletes it
    int m_top = 0;
    int m_selected = -1;
    Fl_Font m_textFont = FL_HELVETICA;
    Fl_Fontsize m_textSize = FL_NORMAL_SIZE;
};
