// The gap buffer behind the segment columns and list rows: every edit must leave the same
// sequence a vector would hold, wherever the gap was.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "base/GapVector.h"

namespace {

std::vector<int> Contents(const GapVector<int>& values) {
    return std::vector<int>(values.begin(), values.end());
}

TEST(GapVector, InsertsAndRemovalsAnywhereKeepTheOrder) {
    GapVector<int> values;
    for (int i = 0; i < 5; ++i) values.push_back(i);
    values.insert(0, 10);
    values.insert(3, 11);
    values.insert(values.size(), 12);
    EXPECT_EQ(Contents(values), (std::vector<int>{10, 0, 1, 11, 2, 3, 4, 12}));
    values.erase(1, 3);
    EXPECT_EQ(Contents(values), (std::vector<int>{10, 2, 3, 4, 12}));
    values.erase(3, 99);  // a count past the end stops there
    EXPECT_EQ(Contents(values), (std::vector<int>{10, 2, 3}));
    values[1] = 7;
    EXPECT_EQ(values[1], 7);
    EXPECT_EQ(values.size(), 3u);
}

TEST(GapVector, ResizeReserveAndClearWorkWithTheGapInTheMiddle) {
    GapVector<int> values;
    for (int i = 0; i < 6; ++i) values.push_back(i);
    values.insert(2, 9);  // the gap now stands after index 2
    values.resize(4);
    EXPECT_EQ(Contents(values), (std::vector<int>{0, 1, 9, 2}));
    values.insert(1, 8);
    values.resize(7, -1);
    EXPECT_EQ(Contents(values), (std::vector<int>{0, 8, 1, 9, 2, -1, -1}));
    values.insert(3, 5);
    values.reserve(100);
    EXPECT_EQ(Contents(values), (std::vector<int>{0, 8, 1, 5, 9, 2, -1, -1}));
    GapVector<int> other;
    other.push_back(42);
    values.swap(other);
    EXPECT_EQ(Contents(values), (std::vector<int>{42}));
    EXPECT_EQ(other.size(), 8u);
    values.clear();
    EXPECT_TRUE(values.empty());
}

// Random edits, compared with a vector after each, cover the gap moving both ways, growing
// with the gap anywhere and removals across it.
TEST(GapVector, RandomEditsMatchAVector) {
    std::mt19937 random(27);
    GapVector<int> values;
    std::vector<int> expected;
    for (int step = 0; step < 5000; ++step) {
        const size_t at = random() % (expected.size() + 1);
        const int choice = static_cast<int>(random() % 10);
        if (choice < 6) {
            values.insert(at, step);
            expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(at), step);
        } else if (choice < 9 && at < expected.size()) {
            const size_t count = 1 + random() % 3;
            values.erase(at, count);
            expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(at),
                           expected.begin() +
                               static_cast<std::ptrdiff_t>(std::min(at + count, expected.size())));
        } else if (at < expected.size()) {
            values[at] = -step;
            expected[at] = -step;
        }
        ASSERT_EQ(Contents(values), expected) << "step " << step;
    }
}

}  // namespace
