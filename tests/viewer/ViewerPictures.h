// Comparisons of pictures the viewer tests share.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "viewer/PathRaster.h"

// Fails at the first pixel whose colour differs, naming what was drawn and where.
inline void ExpectSamePicture(const Frame& expected, const Frame& drawn, const std::string& what) {
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x)
            ASSERT_EQ(expected.At(x, y), drawn.At(x, y)) << what << ": " << x << "," << y;
}
