#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "host/CMC_ArrayParameter.h"
#include "host/CMC_Setup.h"
#include "host/CMC_Value.h"
#include "tests/support/TestProject.h"

namespace {
class ArrayParameter : public ::testing::Test {
  protected:
    ArrayParameter() { drive.SetUnits(TestDrive{}.Units()); }

    CMC_ArrayParameter Make(int type, const char* unit, const char* values) {
        CMC_ArrayParameter array(&drive);
        CString error;
        EXPECT_TRUE(array.InitializeMotionParam(type, "X_TPOS", unit, values, MC_UNSET_LIMIT,
                                                MC_UNSET_LIMIT, error))
            << error.GetString();
        return array;
    }

    // Saving and reading back with the same type and unit stores the same internal values.
    void ExpectSaveRoundTrip(const CMC_ArrayParameter& array) {
        CString saved;
        array.SaveData(saved);
        CMC_ArrayParameter copy(&drive);
        CString error;
        ASSERT_TRUE(copy.InitializeMotionParam(array.GetType(), "copy", array.GetUnitName(), saved,
                                               MC_UNSET_LIMIT, MC_UNSET_LIMIT, error))
            << error.GetString();
        ASSERT_EQ(copy.GetValuesCount(), array.GetValuesCount());
        for (int i = 0; i < array.GetValuesCount(); ++i) {
            ASSERT_EQ(copy.GetValueInInternalUnit(i), array.GetValueInInternalUnit(i))
                << i << " in " << saved.GetString();
        }
    }

    CMC_Setup drive{"drive"};
};
}  // namespace

TEST_F(ArrayParameter, ValuesAreHeldInInternalUnitsAsTheTypeStoresThem) {
    CMC_ArrayParameter array = Make(VT_LONG, "mm", "1 -0.5 0.0013");
    ASSERT_EQ(array.GetValuesCount(), 3);
    EXPECT_EQ(array.GetValueInInternalUnit(0), 400.0);
    EXPECT_EQ(array.GetValueInInternalUnit(1), -200.0);
    EXPECT_EQ(array.GetValueInInternalUnit(2), 1.0);  // 0.52 IU rounds up
    EXPECT_DOUBLE_EQ(array.GetValue(0), 1.0);
    EXPECT_DOUBLE_EQ(array.GetValueInBaseUnit(0), 0.001);
}

TEST_F(ArrayParameter, EditingTakesValuesInTheSelectedUnit) {
    CMC_ArrayParameter array = Make(VT_LONG, "mm", "1 2");
    array.InsertValueAt(0, 0.5);
    array.InsertValueAt(3, 3);
    array.SetValue(1, 1.0025);
    EXPECT_EQ(array.GetValuesCount(), 4);
    EXPECT_EQ(array.GetValueInInternalUnit(0), 200.0);
    EXPECT_EQ(array.GetValueInInternalUnit(1), 401.0);
    EXPECT_EQ(array.GetValueInInternalUnit(3), 1200.0);
    array.SetValueInInternalUnit(2, 7.6);
    EXPECT_EQ(array.GetValueInInternalUnit(2), 8.0);
    array.RemoveValueAt(1, 2);
    EXPECT_EQ(array.GetValuesCount(), 2);
    EXPECT_EQ(array.GetValueInInternalUnit(1), 1200.0);
    array.SetValuesCount(4);
    EXPECT_EQ(array.GetValueInInternalUnit(3), 0.0);
}

TEST_F(ArrayParameter, IndexesOutsideTheArrayAreHarmless) {
    CMC_ArrayParameter array = Make(VT_LONG, "mm", "1 2");
    EXPECT_EQ(array.GetValueInInternalUnit(-1), 0.0);
    EXPECT_EQ(array.GetValueInInternalUnit(2), 0.0);
    EXPECT_EQ(array.PrintValue(5), "0");
    array.SetValue(2, 9);
    array.SetValueInInternalUnit(-1, 9);
    array.InsertValueAt(3, 9);
    array.InsertValueAt(-1, 9);
    array.RemoveValueAt(2, 1);
    array.RemoveValueAt(-1, 1);
    array.SetValuesCount(-4);
    ASSERT_EQ(array.GetValuesCount(), 2);
    array.RemoveValueAt(1, 1000000);
    EXPECT_EQ(array.GetValuesCount(), 1);
    EXPECT_EQ(array.GetValueInInternalUnit(0), 400.0);
}

TEST_F(ArrayParameter, BadInitializationLeavesTheArrayAsItWas) {
    CMC_ArrayParameter array = Make(VT_LONG, "mm", "1 2");
    CString error;
    EXPECT_FALSE(array.InitializeMotionParam(VT_LONG, "Y_TPOS", "mm", "3 abc", MC_UNSET_LIMIT,
                                             MC_UNSET_LIMIT, error));
    EXPECT_EQ(error, "Value 2 of entry \"Y_TPOS\" is not a number: \"abc\"!");
    EXPECT_FALSE(array.InitializeMotionParam(VT_LONG, "Y_TPOS", "rad", "3", MC_UNSET_LIMIT,
                                             MC_UNSET_LIMIT, error));
    EXPECT_FALSE(array.InitializeMotionParam(VT_LONG, "Y_TPOS", "furlong", "3", MC_UNSET_LIMIT,
                                             MC_UNSET_LIMIT, error));
    EXPECT_FALSE(
        array.InitializeMotionParam(9, "Y_TPOS", "mm", "3", MC_UNSET_LIMIT, MC_UNSET_LIMIT, error));
    EXPECT_EQ(array.GetName(), "X_TPOS");
    EXPECT_EQ(array.GetValuesCount(), 2);
    EXPECT_EQ(array.GetValueInInternalUnit(1), 800.0);
}

TEST_F(ArrayParameter, ValuesOutsideTheTypeOrLimitsAreRefused) {
    CMC_ArrayParameter array(&drive);
    CString error;
    EXPECT_FALSE(array.InitializeMotionParam(VT_FIXED, "CACC", "", "1 40000", MC_UNSET_LIMIT,
                                             MC_UNSET_LIMIT, error));
    EXPECT_EQ(error,
              "Value 2 of entry \"CACC\" is out of range: \"40000\" (allowed -32768 to "
              "32767.99998)!");
    EXPECT_FALSE(array.InitializeMotionParam(VT_LONG, "X", "mm", "1e400", MC_UNSET_LIMIT,
                                             MC_UNSET_LIMIT, error));
    EXPECT_NE(error.str().find("out of range"), std::string::npos);
    EXPECT_FALSE(array.InitializeMotionParam(VT_LONG, "X", "mm", "-1", 0, MC_UNSET_LIMIT, error));
    EXPECT_TRUE(array.InitializeMotionParam(VT_LONG, "X", "mm", "0 2", 0, MC_UNSET_LIMIT, error));
    EXPECT_EQ(array.GetMin(), 0.0);
    EXPECT_DOUBLE_EQ(array.GetMax(), 2147483647 * 0.0025);
    // The largest value, printed and typed back, is still inside the range.
    CString saved;
    array.SetValueInInternalUnit(1, 2147483647.0);
    array.SaveData(saved);
    EXPECT_TRUE(array.InitializeMotionParam(VT_LONG, "X", "mm", saved, 0, MC_UNSET_LIMIT, error))
        << error.GetString();
}

// A long list remembers the values of the tokens it read: every repeat of a token must hold
// what reading that token alone gives, whatever the type and unit, and a bad token after many
// remembered ones is still named by its place.
TEST_F(ArrayParameter, ALongListsRepeatedTokensHoldWhatEachReadsAlone) {
    const char* const tokens[] = {"-0", "+3", ".5", "3.", "0.0175", "1e-3", "-2.5", "0.0175"};
    const std::pair<int, const char*> columns[] = {
        {VT_LONG, "mm"}, {VT_LONG, "um"}, {VT_FIXED, "m/s"}, {VT_NONE, ""}, {VT_INT, ""}};
    for (const auto& [type, unit] : columns) {
        SCOPED_TRACE(unit);
        std::string list;
        std::vector<double> alone;
        for (int i = 0; i < 8000; ++i) {
            const char* token = tokens[i % std::size(tokens)];
            if (i < static_cast<int>(std::size(tokens)))
                alone.push_back(Make(type, unit, token).GetValueInInternalUnit(0));
            list += (i ? " " : "") + std::string(token);
        }
        const CMC_ArrayParameter array = Make(type, unit, list.c_str());
        ASSERT_EQ(array.GetValuesCount(), 8000);
        for (int i = 0; i < 8000; ++i) {
            ASSERT_EQ(array.GetValueInInternalUnit(i), alone[i % alone.size()]) << i;
            ASSERT_EQ(array.KeptValueText(i).Str(), array.ValueText(i).Str()) << i;
        }
    }
    CMC_ArrayParameter array(&drive);
    CString error;
    std::string list;
    for (int i = 0; i < 5000; ++i) list += "0.5 ";
    EXPECT_FALSE(array.InitializeMotionParam(VT_INT, "CACC", "", list + "99999", MC_UNSET_LIMIT,
                                             MC_UNSET_LIMIT, error));
    EXPECT_EQ(error,
              "Value 5001 of entry \"CACC\" is out of range: \"99999\" (allowed -32768 to "
              "32767)!");
}

TEST_F(ArrayParameter, UnsetLimitsFollowTheTypeAndCanBeSetInInternalUnits) {
    CMC_ArrayParameter array = Make(VT_FIXED, "IU/Ts", "1");
    EXPECT_EQ(array.GetMin(), -32768.0);
    array.SetMinInInternalUnit(0.0);
    EXPECT_EQ(array.GetMin(), 0.0);
    ASSERT_TRUE(array.ChangeUnit("mm/s"));
    EXPECT_DOUBLE_EQ(array.GetMax(), CMC_Value::MaxOf(VT_FIXED) * 2.5);
}

TEST_F(ArrayParameter, ChangeUnitKeepsTheMeaningOfTheValues) {
    CMC_ArrayParameter array = Make(VT_LONG, "mm", "2.5");
    ASSERT_TRUE(array.ChangeUnit("um"));
    EXPECT_EQ(array.GetValueInInternalUnit(0), 1000.0);
    EXPECT_EQ(array.PrintValue(0), "2500");
    ASSERT_TRUE(array.ChangeUnit("in"));
    EXPECT_EQ(array.GetUnitName(), "in");
    EXPECT_FALSE(array.ChangeUnit("rad"));
    EXPECT_FALSE(array.ChangeUnit("mm/s"));
    EXPECT_FALSE(array.ChangeUnit(""));
    ASSERT_TRUE(array.ChangeUnit("IU"));
    EXPECT_EQ(array.PrintValue(0), "1000");
    ASSERT_TRUE(array.ChangeUnit(""));
    EXPECT_EQ(array.GetValue(0), 1000.0);
}

TEST_F(ArrayParameter, PrintValueUsesTheFewestDigitsThatStoreTheSameValue) {
    CMC_ArrayParameter array = Make(VT_LONG, "mm", "1 0.0025 -12.3475 1234567.5 0");
    EXPECT_EQ(array.PrintValue(0), "1");
    EXPECT_EQ(array.PrintValue(1), "0.003");    // 1.2 IU still stores 1 IU
    EXPECT_EQ(array.PrintValue(2), "-12.348");  // -4939 IU; 12.35 would be 4940
    EXPECT_EQ(array.PrintValue(3), "1234567.5");
    EXPECT_EQ(array.PrintValue(4), "0");
    ASSERT_TRUE(array.ChangeUnit("m"));
    EXPECT_EQ(array.PrintValue(1), "0.000003");
    CMC_ArrayParameter plain = Make(VT_NONE, "", "1e300 -2.5e-9 0.1");
    EXPECT_EQ(plain.PrintValue(0), "1e300");
    EXPECT_EQ(plain.PrintValue(1), "-2.5e-9");
    EXPECT_EQ(plain.PrintValue(2), "0.1");
}

TEST_F(ArrayParameter, MotionLanguageLiteralsPerType) {
    EXPECT_EQ(Make(VT_LONG, "mm", "10 -0.03 0").PrintValueForZRL(0), "4000L");
    EXPECT_EQ(Make(VT_LONG, "mm", "10 -0.03 0").PrintValueForZRL(1), "-12L");
    EXPECT_EQ(Make(VT_LONG, "mm", "10 -0.03 0").PrintValueForZRL(2), "0L");
    EXPECT_EQ(Make(VT_ULONG, "", "4294967295").PrintValueForZRL(0), "4294967295L");
    EXPECT_EQ(Make(VT_INT, "", "-7").PrintValueForZRL(0), "-7");
    CMC_ArrayParameter fixed = Make(VT_FIXED, "", "0.5 -1.25 3 0.1 32767.9999847");
    EXPECT_EQ(fixed.PrintValueForZRL(0), "0.5");
    EXPECT_EQ(fixed.PrintValueForZRL(1), "-1.25");
    EXPECT_EQ(fixed.PrintValueForZRL(2), "3");
    EXPECT_EQ(fixed.PrintValueForZRL(3), "0.1");
    EXPECT_EQ(fixed.PrintValueForZRL(4), "32767.99998");
    // In a physical unit the literal is still the internal value.
    CMC_ArrayParameter speed = Make(VT_FIXED, "mm/s", "1");
    EXPECT_EQ(speed.PrintValueForZRL(0), "0.4");
    EXPECT_EQ(speed.PrintValue(0), "1");
}

TEST_F(ArrayParameter, SavedDataKeepsReadTextsAndTypedFixedValues) {
    CString saved;
    Make(VT_LONG, "mm", "0.0175 -12.3475 0.0025 1e-9").SaveData(saved);
    EXPECT_EQ(saved, "0.0175 -12.3475 0.0025 1e-9");
    Make(VT_FIXED, "m/s^2", "1 0.25 -3").SaveData(saved);
    EXPECT_EQ(saved, "1 0.25 -3");
    Make(VT_FIXED, "", "0.1 2").SaveData(saved);
    EXPECT_EQ(saved, "0.1 2");
}

TEST_F(ArrayParameter, SavedDataReadsBackExactly) {
    ExpectSaveRoundTrip(Make(VT_LONG, "mm", "1 -0.5 12.3475 5368709.1175 -5368709.12"));
    ExpectSaveRoundTrip(Make(VT_LONG, "in", "1 0.001 -3.33333"));
    ExpectSaveRoundTrip(Make(VT_FIXED, "m/s^2", "0.1 -3 1e-9 2"));
    ExpectSaveRoundTrip(Make(VT_FIXED, "", "0.1 -3 32767.9999847 -32768"));
    ExpectSaveRoundTrip(Make(VT_NONE, "", "0.1 1e-300 -1.7976931348623157e308"));
    ExpectSaveRoundTrip(Make(VT_ULONG, "IU", "4294967295 0"));

    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> mm(-5e6, 5e6);
    std::uniform_real_distribution<double> speed(-80000, 80000);
    CMC_ArrayParameter positions = Make(VT_LONG, "mm", "");
    CMC_ArrayParameter speeds = Make(VT_FIXED, "mm/s", "");
    for (int i = 0; i < 2000; ++i) {
        positions.InsertValueAt(i, mm(random));
        speeds.InsertValueAt(i, speed(random));
    }
    ExpectSaveRoundTrip(positions);
    ExpectSaveRoundTrip(speeds);
    ASSERT_TRUE(speeds.ChangeUnit("in/s"));
    ExpectSaveRoundTrip(speeds);
}

TEST_F(ArrayParameter, PlainDoublesStayFinite) {
    CMC_ArrayParameter array = Make(VT_NONE, "", "1 2");
    array.SetValueInInternalUnit(0, std::nan(""));
    array.SetValueInInternalUnit(1, -INFINITY);
    EXPECT_EQ(array.GetValueInInternalUnit(0), 0.0);
    EXPECT_EQ(array.GetValueInInternalUnit(1), -1.7976931348623157e308);
    ExpectSaveRoundTrip(array);
}

TEST_F(ArrayParameter, WithoutSetupOnlyPlainAndInternalUnitsWork) {
    CMC_ArrayParameter array(nullptr);
    EXPECT_TRUE(
        array.InitializeMotionParam(VT_LONG, "X", "", "1 2", MC_UNSET_LIMIT, MC_UNSET_LIMIT));
    EXPECT_TRUE(
        array.InitializeMotionParam(VT_LONG, "X", "IU", "1 2", MC_UNSET_LIMIT, MC_UNSET_LIMIT));
    EXPECT_FALSE(
        array.InitializeMotionParam(VT_LONG, "X", "mm", "1 2", MC_UNSET_LIMIT, MC_UNSET_LIMIT));
    EXPECT_EQ(array.GetValueInBaseUnit(1), 2.0);
}
