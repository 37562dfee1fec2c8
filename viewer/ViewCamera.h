// How a view shows the path: which way it looks (a flat view, or a free one turned by yaw and
// pitch), where it is centred and at what scale, on a canvas of width by height pixels.
#pragma once

#include <array>

#include "viewer/ViewPath.h"

enum class ViewKind { XY, XZ, YZ, Free };

const char* ViewKindName(ViewKind kind);

struct Pixel {
    double x = 0.0;  // to the right
    double y = 0.0;  // down
};

class ViewCamera {
  public:
    ViewCamera();

    ViewKind Kind() const { return m_kind; }
    // Looks another way, keeping the centre and the scale; a flat view of a 2D path's missing
    // axis shows a line.
    void SetKind(ViewKind kind);
    void SetCanvas(int width, int height);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    double Scale() const { return m_scale; }  // pixels per count

    // Centres the path and scales it to fill the canvas, leaving a margin.
    void Fit(const ViewPath& path);
    // Moves the picture by dx, dy pixels.
    void Pan(double dx, double dy);
    // Scales by factor about the pixel at x, y, which stays where it is.
    void ZoomAt(double x, double y, double factor);
    // Turns the free view by pixels dragged (nothing in a flat view).
    void Rotate(double dx, double dy);

    Pixel ToPixel(const ViewPoint& point) const {
        return {m_offsetX + Dot(m_right, point) * m_scale, m_offsetY - Dot(m_up, point) * m_scale};
    }
    // The unit vectors of the canvas's right and up in path space.
    const std::array<double, 3>& Right() const { return m_right; }
    const std::array<double, 3>& Up() const { return m_up; }

  private:
    static double Dot(const std::array<double, 3>& a, const ViewPoint& b) {
        return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
    }
    void Orient();

    ViewKind m_kind = ViewKind::XY;
    double m_yaw;    // radians about Z, for the free view
    double m_pitch;  // radians above the horizon
    int m_width = 1;
    int m_height = 1;
    double m_scale = 1.0;
    ViewPoint m_centre{};  // the path-space point at the canvas's centre
    std::array<double, 3> m_right{};
    std::array<double, 3> m_up{};
    double m_offsetX = 0.0;  // where the path's origin lands, from the centre's position
    double m_offsetY = 0.0;
};
