// The one trimming helper: which blanks go, and from which end.
#include <gtest/gtest.h>

#include "base/Trim.h"

namespace {

TEST(Trim, TakesSpacesTabsAndTheCrOfALineEndFromTheChosenEnds) {
    EXPECT_EQ(Trim(" \ta b\t \r"), "a b");
    EXPECT_EQ(TrimLeft(" \ta b "), "a b ");
    EXPECT_EQ(TrimRight(" a b\r"), " a b");
}

TEST(Trim, AllBlanksLeaveNothing) {
    EXPECT_EQ(Trim(" \t\r "), "");
    EXPECT_EQ(TrimLeft(""), "");
    EXPECT_EQ(TrimRight("   "), "");
}

TEST(Trim, TakesOnlyTheBlanksAskedFor) {
    EXPECT_EQ(Trim("\t a \t", " "), "\t a \t");
    EXPECT_EQ(Trim(" 1\r ", " \t"), "1\r");  // a CR that is part of the text stays
}

}  // namespace
