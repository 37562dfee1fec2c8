// A memo of values read from short texts: a text finds only the value remembered for that very
// text.
#include <gtest/gtest.h>

#include <string>

#include "base/ShortTextMemo.h"

TEST(ShortTextMemo, FindsWhatWasRememberedForTheSameTextOnly) {
    ShortTextMemo<double> memo;
    EXPECT_EQ(memo.Find("0"), nullptr) << "nothing remembered yet";
    memo.Remember("0", 0.0);
    memo.Remember("-0.25", -100.0);
    ASSERT_NE(memo.Find("0"), nullptr);
    EXPECT_EQ(*memo.Find("0"), 0.0);
    EXPECT_EQ(*memo.Find("-0.25"), -100.0);
    EXPECT_EQ(memo.Find("-0.250"), nullptr);
    EXPECT_EQ(memo.Find(std::string("0\0", 2)), nullptr) << "a longer text with a zero byte";
    EXPECT_EQ(memo.Find(""), nullptr);

    const std::string longest(ShortTextMemo<double>::kLongestText, '1');
    memo.Remember(longest, 1.0);
    memo.Remember(longest + "1", 2.0);
    EXPECT_EQ(*memo.Find(longest), 1.0);
    EXPECT_EQ(memo.Find(longest + "1"), nullptr) << "too long to be remembered";
}

TEST(ShortTextMemo, TextsOfOneLengthThatDifferInAnyByteAreApart) {
    for (size_t size = 1; size <= ShortTextMemo<int>::kLongestText; ++size) {
        const std::string text(size, '5');
        for (size_t at = 0; at < size; ++at) {
            ShortTextMemo<int> memo;
            memo.Remember(text, 1);
            std::string other = text;
            other[at] = '6';
            EXPECT_EQ(memo.Find(other), nullptr) << "length " << size << ", byte " << at;
            memo.Remember(other, 2);
            ASSERT_NE(memo.Find(other), nullptr);
            EXPECT_EQ(*memo.Find(other), 2);
        }
    }
}

TEST(ShortTextMemo, ALaterTextTakesTheSlotOfAnEarlierOne) {
    ShortTextMemo<int> memo;
    memo.Remember("1", 1);
    // Some later text shares the first one's slot.
    int taken = 0;
    for (int i = 2; i < 10000 && memo.Find("1") != nullptr; ++i) {
        memo.Remember(std::to_string(i), i);
        taken = i;
    }
    EXPECT_EQ(memo.Find("1"), nullptr);
    ASSERT_NE(memo.Find(std::to_string(taken)), nullptr);
    EXPECT_EQ(*memo.Find(std::to_string(taken)), taken);
}
