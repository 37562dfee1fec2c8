#include "viewer/fltk/SpeedLegend.h"

#include <FL/fl_draw.H>

#include "base/numbertext/Layout.h"
#include "viewer/ViewPath.h"

namespace {
constexpr int kBarWidth = 160;
constexpr int kGap = 6;
}  // namespace

SpeedLegend::SpeedLegend(int x, int y, int width, int height) : Fl_Widget(x, y, width, height) {}

void SpeedLegend::Show(double peak, const std::string& unit, const std::string& note) {
    m_peak = peak;
    m_note = note;
    m_low = "0";
    m_high = numbertext::Significant(peak, 4).Str() + (unit.empty() ? "" : " " + unit);
    redraw();
}

void SpeedLegend::draw() {
    fl_push_clip(x(), y(), w(), h());
    fl_color(color());
    fl_rectf(x(), y(), w(), h());
    fl_font(FL_HELVETICA, 12);
    fl_color(FL_FOREGROUND_COLOR);
    const int baseline = y() + (h() + fl_height()) / 2 - fl_descent();
    int left = x() + kGap;
    if (m_peak > 0.0) {
        fl_draw("speed", left, baseline);
        left += static_cast<int>(fl_width("speed")) + kGap;
        fl_draw(m_low.c_str(), left, baseline);
        left += static_cast<int>(fl_width(m_low.c_str())) + kGap;
        for (int c = 0; c < kSpeedColours; ++c) {
            const auto rgb = SpeedColourRgb(c);
            fl_color(rgb[0], rgb[1], rgb[2]);
            const int from = left + c * kBarWidth / kSpeedColours;
            const int to = left + (c + 1) * kBarWidth / kSpeedColours;
            fl_rectf(from, y() + 4, to - from, h() - 8);
        }
        left += kBarWidth + kGap;
        fl_color(FL_FOREGROUND_COLOR);
        fl_draw(m_high.c_str(), left, baseline);
        left += static_cast<int>(fl_width(m_high.c_str())) + 2 * kGap;
    }
    fl_draw(m_note.c_str(), left, baseline);
    fl_pop_clip();
}
