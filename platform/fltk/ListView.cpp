#include "platform/fltk/ListView.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "platform/ItemList.h"

namespace {
// Blank space left of a row's text, as list boxes leave it.
constexpr int kTextIndent = 3;
// Rows scrolled by one step of the mouse wheel.
constexpr int kWheelRows = 3;

struct Area {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The part of the widget inside its box.
Area Inside(const Fl_Widget& widget) {
    const Fl_Boxtype box = widget.box();
    return {widget.x() + Fl::box_dx(box), widget.y() + Fl::box_dy(box),
            widget.w() - Fl::box_dw(box), widget.h() - Fl::box_dh(box)};
}
}  // namespace

ListView::ListView(int x, int y, int width, int height, const ItemList& items)
    : Fl_Group(x, y, width, height), m_items(items), m_scrollbar(new Fl_Scrollbar(x, y, 1, 1)) {
    end();
    box(FL_DOWN_BOX);
    color(FL_BACKGROUND2_COLOR);
    selection_color(FL_SELECTION_COLOR);
    m_scrollbar->type(FL_VERTICAL);
    m_scrollbar->linesize(1);
    m_scrollbar->callback(OnScroll, this);
    m_scrollbar->hide();
    resize(x, y, width, height);
}

void ListView::TextFont(Fl_Font font) {
    m_textFont = font;
    ItemsChanged();
}

void ListView::TextSize(Fl_Fontsize size) {
    m_textSize = size;
    ItemsChanged();
}

int ListView::RowCount() const { return m_items.Count(); }

int ListView::RowHeight() const { return std::max(fl_height(m_textFont, m_textSize), 1); }

int ListView::VisibleRows() const { return std::max(Inside(*this).height / RowHeight(), 1); }

int ListView::LastTop() const { return std::max(RowCount() - VisibleRows(), 0); }

void ListView::resize(int x, int y, int width, int height) {
    Fl_Widget::resize(x, y, width, height);
    const Area inside = Inside(*this);
    const int barWidth = Fl::scrollbar_size();
    m_scrollbar->resize(inside.x + inside.width - barWidth, inside.y, barWidth, inside.height);
    ItemsChanged();
}

void ListView::ItemsChanged() {
    if (m_selected >= RowCount()) m_selected = -1;
    UpdateScrollbar();
    redraw();
}

// The scroll bar shows while the rows do not all fit; its range follows the row count.
void ListView::UpdateScrollbar() {
    m_top = std::clamp(m_top, 0, LastTop());
    const int visible = VisibleRows();
    if (RowCount() > visible) {
        m_scrollbar->show();
    } else {
        m_scrollbar->hide();
    }
    m_scrollbar->value(m_top, visible, 0, RowCount());
}

void ListView::ScrollTo(int top) {
    const int clamped = std::clamp(top, 0, LastTop());
    if (clamped == m_top) return;
    m_top = clamped;
    UpdateScrollbar();
    redraw();
}

void ListView::ScrollIntoView(int row) {
    if (row < m_top) {
        ScrollTo(row);
    } else if (row >= m_top + VisibleRows()) {
        ScrollTo(row - VisibleRows() + 1);
    }
}

void ListView::ShowSelected(int selected) {
    m_selected = selected >= 0 && selected < RowCount() ? selected : -1;
    if (m_selected >= 0 && (m_selected < m_top || m_selected >= m_top + VisibleRows()))
        ScrollTo(m_selected - VisibleRows() / 2);
    redraw();
}

void ListView::SelectByUser(int row) {
    if (RowCount() == 0) return;
    row = std::clamp(row, 0, RowCount() - 1);
    ScrollIntoView(row);
    if (row == m_selected) return;
    m_selected = row;
    redraw();
    if (when() & FL_WHEN_CHANGED) do_callback();
}

void ListView::Step(int rows) { SelectByUser(m_selected < 0 ? m_top : m_selected + rows); }

// Dragging past the top or the bottom scrolls by one row at a time; below the last row there is
// nothing to select.
void ListView::SelectRowAt(int y) {
    const int row = std::clamp(RowAt(y), m_top - 1, m_top + VisibleRows());
    if (row < RowCount()) SelectByUser(row);
}

// A row's bottom edge belongs to it, as in the toolkit's own lists; above the rows is the row
// before the top one.
int ListView::RowAt(int y) const {
    const int offset = y - Inside(*this).y;
    if (offset < 0) return m_top - 1;
    return m_top + (offset == 0 ? 0 : (offset - 1) / RowHeight());
}

int ListView::handle(int event) {
    switch (event) {
        case FL_PUSH:
            if (m_scrollbar->visible() && Fl::event_inside(m_scrollbar))
                return Fl_Group::handle(event);
            if (Fl::visible_focus() && visible_focus()) Fl::focus(this);
            SelectRowAt(Fl::event_y());
            return 1;
        case FL_DRAG:
            SelectRowAt(Fl::event_y());
            return 1;
        case FL_RELEASE:
            return 1;
        case FL_MOUSEWHEEL:
            if (Fl::event_dy() == 0) return 0;
            ScrollTo(m_top + Fl::event_dy() * kWheelRows);
            return 1;
        case FL_FOCUS:
        case FL_UNFOCUS:
            if (!visible_focus()) return 0;
            redraw();
            return 1;
        case FL_KEYBOARD:
            return HandleKey() ? 1 : 0;
        default:
            return Fl_Group::handle(event);
    }
}

// The keys of a list box; the others go on to the dialog.
bool ListView::HandleKey() {
    if (Fl::event_state() & (FL_SHIFT | FL_CTRL | FL_ALT | FL_META)) return false;
    const int current = m_selected < 0 ? m_top : m_selected;
    const int page = std::max(VisibleRows() - 1, 1);
    switch (Fl::event_key()) {
        case FL_Up:
            Step(-1);
            return true;
        case FL_Down:
            Step(1);
            return true;
        case FL_Page_Up:
            SelectByUser(current - page);
            return true;
        case FL_Page_Down:
            SelectByUser(current + page);
            return true;
        case FL_Home:
            SelectByUser(0);
            return true;
        case FL_End:
            SelectByUser(RowCount() - 1);
            return true;
        default:
            return false;
    }
}

void ListView::draw() {
    UpdateScrollbar();
    draw_box(box(), x(), y(), w(), h(), color());
    Area rows = Inside(*this);
    if (m_scrollbar->visible()) rows.width -= m_scrollbar->w();
    fl_push_clip(rows.x, rows.y, rows.width, rows.height);
    fl_font(m_textFont, m_textSize);
    const int height = RowHeight();
    const int end = std::min(RowCount(), m_top + VisibleRows() + 1);
    for (int row = m_top; row < end; ++row)
        DrawRow(row, rows.y + (row - m_top) * height, rows.width, height);
    // The focus box marks where the keys act: the selected row, or the top one.
    const int focused = m_selected >= 0 ? m_selected : m_top;
    if (Fl::focus() == this && focused >= m_top && focused < end)
        draw_focus(FL_NO_BOX, rows.x, rows.y + (focused - m_top) * height, rows.width, height);
    fl_pop_clip();
    if (m_scrollbar->visible()) draw_child(*m_scrollbar);
}

void ListView::DrawRow(int row, int y, int width, int height) {
    const ItemList::Item* item = m_items.At(row);
    if (item == nullptr) return;
    const int left = Inside(*this).x;
    Fl_Color text = FL_FOREGROUND_COLOR;
    if (row == m_selected) {
        fl_color(active_r() ? selection_color() : fl_inactive(selection_color()));
        fl_rectf(left, y, width, height);
        text = fl_contrast(text, selection_color());
    }
    fl_color(active_r() ? text : fl_inactive(text));
    fl_draw(item->text.data(), static_cast<int>(item->text.size()), left + kTextIndent,
            y + height - fl_descent());
}

void ListView::OnScroll(Fl_Widget* scrollbar, void* view) {
    auto& list = *static_cast<ListView*>(view);
    list.m_top = static_cast<Fl_Scrollbar*>(scrollbar)->value();
    list.redraw();
}
