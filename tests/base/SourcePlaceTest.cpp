// The one place formatter: each reader's messages depend on which parts it leaves out.
#include <gtest/gtest.h>

#include "base/SourcePlace.h"

namespace {

TEST(SourcePlace, NamesAsMuchOfThePlaceAsIsKnown) {
    EXPECT_EQ(PlaceText({"part.nc", 0, 0}), "part.nc");
    EXPECT_EQ(PlaceText({"part.nc", 7, 0}), "part.nc:7");
    EXPECT_EQ(PlaceText({"part.nc", 7, 12}), "part.nc:7:12");
}

TEST(SourcePlace, AColumnWithoutALineIsNotShown) {
    EXPECT_EQ(PlaceText({"part.nc", 0, 3}), "part.nc");
}

TEST(SourcePlace, MessagesPutTheWordBetweenPlaceAndProblem) {
    EXPECT_EQ(PlaceMessage({"part.nc", 17, 1}, "G54", "work offsets are not supported"),
              "part.nc:17:1: G54: work offsets are not supported");
    EXPECT_EQ(PlaceMessage({"p.toml", 3, 0}, "key \"slave.drive\"", "must be a string"),
              "p.toml:3: key \"slave.drive\": must be a string");
    EXPECT_EQ(PlaceMessage({"part.nc", 2, 0}, "", "no word"), "part.nc:2: no word");
    EXPECT_EQ(PlaceMessage({"part.nc", 0, 0}, "there are no moves to import"),
              "part.nc: there are no moves to import");
}

}  // namespace
