// Rounding half away from zero, held to the C library's round on edge cases and at random.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "base/Rounding.h"

TEST(Rounding, HalfAwayMatchesTheLibraryRound) {
    const double cases[] = {0.0,
                            -0.0,
                            0.5,
                            -0.5,
                            1.5,
                            2.5,
                            -2.5,
                            0.49999999999999994,
                            -0.49999999999999994,
                            4503599627370495.5,
                            4503599627370497.0,
                            9007199254740993.0,
                            1e300,
                            -1e-300,
                            std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity(),
                            std::numeric_limits<double>::denorm_min()};
    for (double x : cases) {
        EXPECT_EQ(RoundHalfAway(x), std::round(x)) << x;
        EXPECT_EQ(std::signbit(RoundHalfAway(x)), std::signbit(std::round(x))) << x;
    }
    EXPECT_TRUE(std::isnan(RoundHalfAway(std::nan(""))));
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> uniform(-1e6, 1e6);
    for (int i = 0; i < 100000; ++i) {
        const double x = uniform(random);
        ASSERT_EQ(RoundHalfAway(x), std::round(x)) << x;
    }
}
