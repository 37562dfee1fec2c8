// The texts of a column's rates, remembered by value: each is the text of that very rate,
// however the rates alternate and whichever share a slot.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "host/CMC_Value.h"
#include "toolpath/exchange/ExactText.h"

TEST(RateTexts, EachRateGetsItsOwnTextHoweverTheRatesAlternate) {
    // Speeds in mm/s held in m/s fixed point, many more of them than there are slots.
    const CountScale scale{1.0, 1000.0};
    const ReadAs readAs{};
    std::vector<double> stored;
    for (int i = 1; i <= 300; ++i)
        stored.push_back(CMC_Value::Represent(VT_FIXED, scale.ToInternal(i * 2.5)));
    RateTexts texts(scale, readAs);
    std::mt19937 random(3);
    for (int round = 0; round < 5000; ++round) {
        const double rate = stored[random() % stored.size()];
        ASSERT_EQ(texts.Of(rate), RateText(rate, scale, readAs)) << rate;
    }
    EXPECT_EQ(texts.Of(0.0), "0");
    EXPECT_EQ(texts.Of(stored[0]), "2.5");
}
