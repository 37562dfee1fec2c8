// A path's vertices turned as the free view turns them, kept from frame to frame.
#pragma once

#include <array>
#include <vector>

#include "viewer/ViewPath.h"

// How far along a unit axis of the view a point lies, in counts: the free view's sums.
inline double Along(const std::array<double, 3>& axis, const ViewPoint& point) {
    return axis[0] * point[0] + axis[1] * point[1] + axis[2] * point[2];
}

// Each vertex's place along the free view's right and up, held while the view keeps its turn:
// the frames of a zoom or a pan then place a vertex with two products instead of six. They are
// taken on the second frame in a row of one turn, so that a turn being dragged costs nothing
// more. The caller keeps one beside its path and forgets it when the path changes.
class TurnedVertices {
  public:
    // Forgets the vertices held: the path has changed.
    void Forget() {
        m_asked = false;
        m_turned.clear();
    }
    // The vertices of path along right and up, pairs in their order; null on the first frame
    // of a turn.
    const std::array<double, 2>* For(const ViewPath& path, const std::array<double, 3>& right,
                                     const std::array<double, 3>& up);

  private:
    std::array<double, 3> m_right{};
    std::array<double, 3> m_up{};
    bool m_asked = false;  // the last frame asked for m_right and m_up
    // The vertices along them once taken, empty before; its room stays for the next turn's.
    std::vector<std::array<double, 2>> m_turned;
};
