// The segments as an element's columns hold them, in internal units.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

struct SegmentColumns {
    std::array<std::vector<std::int32_t>, 3> increments;  // counts on X, Y, Z
    std::vector<double> acceleration;  // as the columns' fixed point holds them; 0 = none
    std::vector<double> speed;
    std::size_t Count() const { return increments[0].size(); }
};
