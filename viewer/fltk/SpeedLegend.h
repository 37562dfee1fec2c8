// The key to the path's colours: the speed scale from 0 to the peak, or why there is none.
#pragma once

#include <FL/Fl_Widget.H>

#include <string>

class SpeedLegend : public Fl_Widget {
  public:
    SpeedLegend(int x, int y, int width, int height);
    // A scale up to peak in unit; or, with an empty unit and no peak, note in its place.
    void Show(double peak, const std::string& unit, const std::string& note);
    void draw() override;

  private:
    double m_peak = 0.0;
    std::string m_low;
    std::string m_high;
    std::string m_note;
};
