#include "viewer/ViewCamera.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kQuarterTurn = 1.5707963267948966;
// The free view starts isometric: X to the lower right, Y to the upper right, Z up.
constexpr double kStartYaw = kQuarterTurn / 2.0;
constexpr double kStartPitch = 0.6154797086703873;  // atan(1 / sqrt(2))
constexpr double kRadiansPerPixel = 0.01;
constexpr double kFitMargin = 24.0;  // pixels on each side

}  // namespace

const char* ViewKindName(ViewKind kind) {
    switch (kind) {
        case ViewKind::XY:
            return "XY";
        case ViewKind::XZ:
            return "XZ";
        case ViewKind::YZ:
            return "YZ";
        case ViewKind::Free:
            return "3D";
    }
    return "";
}

ViewCamera::ViewCamera() : m_yaw(kStartYaw), m_pitch(kStartPitch) { Orient(); }

void ViewCamera::SetKind(ViewKind kind) {
    m_kind = kind;
    Orient();
}

void ViewCamera::SetCanvas(int width, int height) {
    m_width = std::max(width, 1);
    m_height = std::max(height, 1);
    Orient();
}

void ViewCamera::Orient() {
    switch (m_kind) {
        case ViewKind::XY:
            m_right = {1, 0, 0};
            m_up = {0, 1, 0};
            break;
        case ViewKind::XZ:
            m_right = {1, 0, 0};
            m_up = {0, 0, 1};
            break;
        case ViewKind::YZ:
            m_right = {0, 1, 0};
            m_up = {0, 0, 1};
            break;
        case ViewKind::Free: {
            // Up leans from Z toward the horizontal forward direction as the view looks down.
            const double c = std::cos(m_yaw);
            const double s = std::sin(m_yaw);
            m_right = {c, s, 0};
            m_up = {-s * std::sin(m_pitch), c * std::sin(m_pitch), std::cos(m_pitch)};
            break;
        }
    }
    m_offsetX = m_width / 2.0 - Dot(m_right, m_centre) * m_scale;
    m_offsetY = m_height / 2.0 + Dot(m_up, m_centre) * m_scale;
}

void ViewCamera::Fit(const ViewPath& path) {
    double lowX = std::numeric_limits<double>::infinity();
    double highX = -lowX;
    double lowY = lowX;
    double highY = -lowX;
    for (const ViewPoint& point : path.points) {
        const double x = Dot(m_right, point);
        const double y = Dot(m_up, point);
        lowX = std::min(lowX, x);
        highX = std::max(highX, x);
        lowY = std::min(lowY, y);
        highY = std::max(highY, y);
    }
    if (path.points.empty()) lowX = highX = lowY = highY = 0.0;
    // A flat extent takes the other's size, and a point one count.
    double width = highX - lowX;
    double height = highY - lowY;
    if (width <= 0.0) width = height;
    if (height <= 0.0) height = width;
    if (width <= 0.0) width = height = 1.0;
    m_scale = std::min(std::max(m_width - 2.0 * kFitMargin, 1.0) / width,
                       std::max(m_height - 2.0 * kFitMargin, 1.0) / height);
    const double cx = (lowX + highX) / 2.0;
    const double cy = (lowY + highY) / 2.0;
    for (std::size_t a = 0; a < 3; ++a) m_centre[a] = m_right[a] * cx + m_up[a] * cy;
    Orient();
}

void ViewCamera::Pan(double dx, double dy) {
    for (std::size_t a = 0; a < 3; ++a) m_centre[a] += (-dx * m_right[a] + dy * m_up[a]) / m_scale;
    Orient();
}

void ViewCamera::ZoomAt(double x, double y, double factor) {
    if (!(factor > 0.0)) return;
    // The point under the pointer keeps its pixel: the centre moves toward it by 1 - 1/factor.
    const double dx = x - m_width / 2.0;
    const double dy = y - m_height / 2.0;
    Pan(-dx, -dy);
    m_scale *= factor;
    Pan(dx, dy);
}

void ViewCamera::Rotate(double dx, double dy) {
    if (m_kind != ViewKind::Free) return;
    m_yaw -= dx * kRadiansPerPixel;
    m_pitch = std::clamp(m_pitch + dy * kRadiansPerPixel, -kQuarterTurn, kQuarterTurn);
    Orient();
}
