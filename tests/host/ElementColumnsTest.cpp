#include <gtest/gtest.h>

#include <set>

#include "host/CMC_Value.h"
#include "host/ElementColumns.h"

// Readers and writers look each column's type up by its parameter, so every one must be known.
TEST(ElementColumns, EachColumnHoldsAParameterTheHostKnows) {
    for (const ElementColumn& column : kElementColumns)
        ASSERT_NE(FindControllerParameter(column.parameter), nullptr) << column.parameter;
    EXPECT_EQ(FindControllerParameter(kElementColumns[kColumnZ].parameter)->type, VT_LONG);
    EXPECT_EQ(FindControllerParameter(kElementColumns[kColumnSpeed].parameter)->type, VT_FIXED);
}

TEST(ElementColumns, EntryNamesAreDistinctAndInTheEditorsOrder) {
    std::set<std::string> names;
    for (const ElementColumn& column : kElementColumns) names.insert(column.EntryName());
    EXPECT_EQ(names.size(), kElementColumns.size());
    EXPECT_EQ(kElementColumns[kColumnX].EntryName(), "X_TPOS");
    EXPECT_EQ(kElementColumns[kColumnZ].EntryName(), "Z_TPOS");
    EXPECT_EQ(kElementColumns[kColumnAcceleration].EntryName(), "CACC");
    EXPECT_EQ(kElementColumns[kColumnSpeed].EntryName(), "CSPD");
}
