#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/CMC_Value.h"

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double Stored(int type, double v) {
    CMC_Value value;
    value.SetValue(type, v);
    return value.GetValue(type);
}
}  // namespace

TEST(Value, IntegerTypesRoundToNearestWithTiesAwayFromZero) {
    for (int type : {VT_INT, VT_UINT, VT_LONG, VT_ULONG}) {
        EXPECT_EQ(Stored(type, 2.4), 2.0) << type;
        EXPECT_EQ(Stored(type, 2.5), 3.0) << type;
        EXPECT_EQ(Stored(type, 2.6), 3.0) << type;
    }
    EXPECT_EQ(Stored(VT_LONG, -2.5), -3.0);
    EXPECT_EQ(Stored(VT_INT, -2.4), -2.0);
}

TEST(Value, IntegerTypesSaturateAtTheirRange) {
    EXPECT_EQ(Stored(VT_INT, 40000), 32767.0);
    EXPECT_EQ(Stored(VT_INT, -40000), -32768.0);
    EXPECT_EQ(Stored(VT_UINT, 70000), 65535.0);
    EXPECT_EQ(Stored(VT_UINT, -3), 0.0);
    EXPECT_EQ(Stored(VT_LONG, 3e9), 2147483647.0);
    EXPECT_EQ(Stored(VT_LONG, -3e9), -2147483648.0);
    EXPECT_EQ(Stored(VT_LONG, 2147483647.4), 2147483647.0);
    EXPECT_EQ(Stored(VT_ULONG, 5e9), 4294967295.0);
    EXPECT_EQ(Stored(VT_ULONG, -1), 0.0);
}

TEST(Value, FixedPointHoldsSixteenFractionalBits) {
    EXPECT_EQ(Stored(VT_FIXED, 0.5), 0.5);
    EXPECT_EQ(Stored(VT_FIXED, 1.0 / 3.0), 21845.0 / 65536.0);
    EXPECT_EQ(Stored(VT_FIXED, -1.25), -1.25);
    EXPECT_EQ(Stored(VT_FIXED, 1e6), 32767.0 + 65535.0 / 65536.0);
    EXPECT_EQ(Stored(VT_FIXED, -1e6), -32768.0);
    EXPECT_EQ(CMC_Value::MaxOf(VT_FIXED), 32767.0 + 65535.0 / 65536.0);
    EXPECT_EQ(CMC_Value::MinOf(VT_FIXED), -32768.0);
}

TEST(Value, NotANumberStoresZeroAndInfinitySaturates) {
    for (int type : {VT_INT, VT_UINT, VT_LONG, VT_ULONG, VT_FIXED}) {
        EXPECT_EQ(Stored(type, kNaN), 0.0) << type;
        EXPECT_EQ(Stored(type, kInf), CMC_Value::MaxOf(type)) << type;
        EXPECT_EQ(Stored(type, -kInf), CMC_Value::MinOf(type)) << type;
    }
}

TEST(Value, NoneKeepsTheDouble) {
    EXPECT_EQ(Stored(VT_NONE, 0.1), 0.1);
    EXPECT_EQ(Stored(VT_NONE, kInf), kInf);
    EXPECT_TRUE(std::isnan(Stored(VT_NONE, kNaN)));
    EXPECT_FALSE(std::signbit(Stored(VT_NONE, -0.0)));
    EXPECT_FALSE(std::signbit(Stored(VT_LONG, -0.2)));
}

TEST(Value, KnownTypes) {
    for (int type : {VT_NONE, VT_INT, VT_UINT, VT_LONG, VT_ULONG, VT_FIXED}) {
        EXPECT_TRUE(CMC_Value::IsKnownType(type));
    }
    EXPECT_FALSE(CMC_Value::IsKnownType(5));
    EXPECT_FALSE(CMC_Value::IsKnownType(-1));
}
