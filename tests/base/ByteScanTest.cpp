// Scans eight bytes at a time agree with scans byte by byte, wherever the character lies.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <string_view>

#include "base/ByteScan.h"

TEST(CountChar, AgreesWithAByteByByteCountForEveryPlaceAndNeighbour) {
    // Every length up to three words, the character at every place, next to bytes that differ
    // from it in the high bit or in the lowest bit only.
    for (const char neighbour : {'!', '\xA0', '0'}) {
        for (size_t size = 0; size <= 24; ++size) {
            for (size_t at = 0; at <= size; ++at) {
                std::string text(size, neighbour);
                if (at < size) text[at] = ' ';
                EXPECT_EQ(CountChar(text, ' '),
                          static_cast<size_t>(std::count(text.begin(), text.end(), ' ')))
                    << "length " << size << ", at " << at;
            }
        }
    }
}

TEST(CountChar, CountsRunsAndCharactersWithTheHighBitSet) {
    EXPECT_EQ(CountChar(std::string(17, ' '), ' '), 17u);
    EXPECT_EQ(CountChar(std::string(19, '\xFF'), '\xFF'), 19u);
    EXPECT_EQ(CountChar("1 -2 0.5 7 8 9 10 11 12", ' '), 8u);
    EXPECT_EQ(CountChar("", ' '), 0u);
}

TEST(FindBlank, FindsTheFirstSpaceOrTabWhereverItLies) {
    for (const char blank : {' ', '\t'}) {
        for (size_t size = 0; size <= 24; ++size) {
            for (size_t at = 0; at <= size; ++at) {
                // A byte one off a blank in each direction, and one with the high bit set.
                std::string text(size, at % 2 == 0 ? '!' : '\x89');
                if (at < size) text[at] = blank;
                if (at + 1 < size) text[at + 1] = blank;  // a second blank after the first
                const char* found = FindBlank(text.data(), text.data() + text.size());
                EXPECT_EQ(static_cast<size_t>(found - text.data()), at)
                    << "length " << size << ", at " << at;
            }
        }
    }
}

TEST(CountFilledLineEnds, CountsTheLinesThatHoldSomethingAcrossPieces) {
    // Random texts of line ends and characters, cut into pieces anywhere, against a count of
    // one byte at a time.
    std::mt19937 random(7);
    const char bytes[] = {'\n', '\r', 'a', ' ', '\x8D', '\v'};  // a byte off each end
    for (int round = 0; round < 2000; ++round) {
        std::string text(random() % 40, ' ');
        for (char& c : text) c = bytes[random() % std::size(bytes)];
        size_t expected = 0;
        bool inLine = false;
        for (const char c : text) {
            const bool end = c == '\n' || c == '\r';
            expected += end && inLine ? 1 : 0;
            inLine = !end;
        }
        bool afterEnd = true;
        size_t counted = 0;
        for (size_t at = 0; at < text.size();) {
            const size_t piece = std::min<size_t>(1 + random() % 20, text.size() - at);
            counted += CountFilledLineEnds(std::string_view(text).substr(at, piece), afterEnd);
            at += piece;
        }
        EXPECT_EQ(counted, expected) << text;
        EXPECT_EQ(afterEnd, !inLine) << text;
    }
}
