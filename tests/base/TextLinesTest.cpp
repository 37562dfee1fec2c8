#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/TextLines.h"

namespace {

std::vector<std::pair<std::string, std::uint32_t>> Lines(std::string_view text) {
    std::vector<std::pair<std::string, std::uint32_t>> lines;
    ForEachLine(text, [&](std::string_view line, std::uint32_t number) {
        lines.emplace_back(line, number);
    });
    return lines;
}

using LinesList = std::vector<std::pair<std::string, std::uint32_t>>;

TEST(TextLines, LfCrLfAndALoneCrEachEndOneLine) {
    const LinesList expected = {{"a", 1}, {"b", 2}, {"c", 3}};
    for (const char* text : {"a\nb\nc\n", "a\r\nb\r\nc\r\n", "a\rb\rc\r", "a\rb\r\nc"})
        EXPECT_EQ(Lines(text), expected) << text;
}

TEST(TextLines, EmptyLinesCountAndALastLineNeedsNoLineEnd) {
    EXPECT_EQ(Lines("\r\r\n\nx"), (LinesList{{"", 1}, {"", 2}, {"", 3}, {"x", 4}}));
    EXPECT_EQ(Lines("\n\r"), (LinesList{{"", 1}, {"", 2}}));
    EXPECT_TRUE(Lines("").empty());
}

TEST(TextLines, AVisitThatAnswersFalseStopsTheWalk) {
    std::vector<std::string> seen;
    ForEachLine("a\rb\rc\r", [&](std::string_view line, std::uint32_t) {
        seen.emplace_back(line);
        return line != "b";
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b"}));
}

TEST(TextLines, ACrAtThePiecesEndEndsItsLineThere) {
    EXPECT_EQ(FindLineEnd("ab\r", 0).end, 2u);
    EXPECT_EQ(FindLineEnd("ab\r", 0).next, 3u);
    EXPECT_EQ(FindLineEnd("ab\r\ncd", 0).next, 4u);
    EXPECT_EQ(FindLineEnd("ab\r\ncd", 4).end, 6u);
}

}  // namespace
