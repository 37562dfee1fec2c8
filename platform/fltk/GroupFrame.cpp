#include "platform/fltk/GroupFrame.h"

#include <FL/fl_draw.H>

namespace {
// How far the caption starts from the frame's left edge, and its blank margin on each side.
constexpr int kCaptionIndent = 6;
constexpr int kCaptionMargin = 2;
}  // namespace

GroupFrame::GroupFrame(int x, int y, int width, int height) : Fl_Widget(x, y, width, height) {
    box(FL_NO_BOX);
    align(FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE);
    clear_visible_focus();
}

void GroupFrame::draw() {
    fl_font(labelfont(), labelsize());
    int captionHeight = fl_height();
    // The frame line runs through the middle of the caption.
    int top = y() + captionHeight / 2;
    draw_box(FL_ENGRAVED_FRAME, x(), top, w(), h() - (top - y()), color());
    if (label() == nullptr || *label() == '\0') return;
    int captionWidth = 0;
    int ignoredHeight = 0;
    measure_label(captionWidth, ignoredHeight);
    int captionX = x() + kCaptionIndent;
    fl_color(parent() ? parent()->color() : color());
    fl_rectf(captionX, y(), captionWidth + 2 * kCaptionMargin, captionHeight);
    draw_label(captionX + kCaptionMargin, y(), captionWidth, captionHeight,
               FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
}
