#include "viewer/TurnedVertices.h"

const std::array<double, 2>* TurnedVertices::For(const ViewPath& path,
                                                 const std::array<double, 3>& right,
                                                 const std::array<double, 3>& up) {
    const bool same = m_asked && right == m_right && up == m_up;
    if (same && !m_turned.empty() && m_turned.size() == path.vertices.size())
        return m_turned.data();
    m_right = right;
    m_up = up;
    m_asked = true;
    m_turned.clear();
    if (!same) return nullptr;
    m_turned.reserve(path.vertices.size());
    for (const ViewPoint& vertex : path.vertices)
        m_turned.push_back({Along(right, vertex), Along(up, vertex)});
    return m_turned.data();
}
