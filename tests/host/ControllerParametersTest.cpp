// The host's table of an element's columns: what the readers and writers of both sides name.
#include <gtest/gtest.h>

#include <string>

#include "host/CMC_EditMotionInternalData.h"
#include "host/CMC_Value.h"
#include "host/ControllerParameters.h"

namespace {

TEST(ElementColumns, EntryNamesAreWhatTheHostsReaderLooksFor) {
    const char* const expected[kElementColumnCount] = {"X_TPOS", "Y_TPOS", "Z_TPOS", "CACC",
                                                       "CSPD"};
    for (int column = 0; column < kElementColumnCount; ++column) {
        const ElementColumnName& name = ElementColumnNameOf(column);
        EXPECT_EQ(std::string(name.entry), expected[column]);
        EXPECT_EQ(
            CMC_EditMotionInternalData::GetDataParamName(name.parameter->name, name.prefix, nullptr)
                .str(),
            name.entry);
        EXPECT_EQ(FindControllerParameter(name.parameter->name), name.parameter);
    }
}

TEST(ElementColumns, PositionsAreWholeCountsAndRatesFixedPoint) {
    for (int column : {kColumnX, kColumnY, kColumnZ})
        EXPECT_EQ(ElementColumnNameOf(column).parameter->type, VT_LONG);
    for (int column : {kColumnAcceleration, kColumnSpeed})
        EXPECT_EQ(ElementColumnNameOf(column).parameter->type, VT_FIXED);
}

}  // namespace
