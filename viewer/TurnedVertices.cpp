#include "viewer/TurnedVertices.h"

const std::array<double, 2>* TurnedVertices::For(const ViewPath& path,
                                                 const std::array<double, 3>& right,
                                                 const std::array<double, 3>& up) {
    const bool same = m_asked && right == m_right && up == m_up;
    if (same && m_held && m_turned.size() == path.vertices.size()) return m_turned.data();
    m_right = right;
    m_up = up;
    m_asked = true;
    m_held = false;
    if (!same) return nullptr;
    m_turned.resize(path.vertices.size());
    for (std::size_t i = 0; i < m_turned.size(); ++i)
        m_turned[i] = {Along(right, path.vertices[i]), Along(up, path.vertices[i])};
    m_held = true;
    return m_turned.data();
}
