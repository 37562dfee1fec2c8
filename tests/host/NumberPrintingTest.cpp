// The fast paths of number printing against the plain definitions they stand in for: the
// texts of long lists must be byte for byte what formatting each value in full gives, also when
// a list shows the values first and the save writes the texts it kept.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "base/numbertext/FewestDigits.h"
#include "base/numbertext/Reference.h"
#include "host/CMC_ArrayParameter.h"
#include "host/CMC_Setup.h"
#include "host/CMC_Value.h"

namespace {
using numbertext::NumberBuffer;
using numbertext::PlainFewestDigits;
using numbertext::Significant;

// What the array shows for value index, by the plain definition.
std::string PlainShown(const CMC_ArrayParameter& array, int index) {
    const double internal = array.GetValueInInternalUnit(index);
    return PlainFewestDigits(array.GetValue(index), [&](double typed) {
        array.UnitToIU(typed);
        return CMC_Value::RoundToStep(array.GetType(), typed) == internal;
    });
}

std::vector<std::string> SavedTokens(const CMC_ArrayParameter& array) {
    CString saved;
    array.SaveData(saved);
    std::vector<std::string> tokens;
    std::string token;
    for (char c : saved.str() + " ") {
        if (c != ' ') {
            token += c;
        } else if (!token.empty()) {
            tokens.push_back(token);
            token.clear();
        }
    }
    return tokens;
}

class NumberPrinting : public ::testing::Test {
  protected:
    NumberPrinting() {
        micrometres.SetUnits(CMC_Units(DriveScale{"mm", 2000, 2, 0.001}));
        millimetres.SetUnits(CMC_Units(DriveScale{"mm", 2000, 5, 0.001}));
        degrees.SetUnits(CMC_Units(DriveScale{"deg", 4096, 360, 0.001}));
        inches.SetUnits(CMC_Units(DriveScale{"in", 1000, 0.2, 0.00025}));
        sixteenths.SetUnits(CMC_Units(DriveScale{"mm", 5000, 8, 0.001}));
        threeMicrons.SetUnits(CMC_Units(DriveScale{"mm", 1000, 3, 0.001}));
        binary.SetUnits(CMC_Units(DriveScale{"mm", 4096, 4, 0.0005}));
        fastSamples.SetUnits(CMC_Units(DriveScale{"mm", 4000, 1, 0.0001}));
    }

    // Fills an array of type in unit with values and checks every shown and saved text.
    void ExpectPlainTexts(CMC_Setup* setup, int type, const char* unit,
                          const std::vector<double>& values) {
        CMC_ArrayParameter array(setup);
        ASSERT_TRUE(
            array.InitializeMotionParam(type, "A", unit, "", MC_UNSET_LIMIT, MC_UNSET_LIMIT));
        for (double value : values) array.InsertValueAt(array.GetValuesCount(), value);
        const std::vector<std::string> saved = SavedTokens(array);
        ASSERT_EQ(saved.size(), values.size());
        // Whole numbers and plain doubles in their own unit save as they are.
        const bool converted = *unit != 0 || type == VT_FIXED;
        for (int i = 0; i < array.GetValuesCount(); ++i) {
            ASSERT_EQ(array.PrintValue(i).str(), PlainShown(array, i))
                << "value " << values[static_cast<size_t>(i)] << " in " << unit;
            if (converted) {
                ASSERT_EQ(saved[static_cast<size_t>(i)], PlainShown(array, i))
                    << "value " << values[static_cast<size_t>(i)] << " in " << unit;
            }
        }
        ExpectListedTextsSavedAlike(array, saved);
    }

    // A list shows the values (not every one: an empty cell shows none, and it shows values
    // again) before the save, which then writes the texts it kept: the same texts.
    static void ExpectListedTextsSavedAlike(const CMC_ArrayParameter& array,
                                            const std::vector<std::string>& saved) {
        const CMC_ArrayParameter listed = array;
        for (int i = 0; i < listed.GetValuesCount(); ++i) {
            if (i % 7 == 3) continue;
            ASSERT_EQ(listed.KeptValueText(i).Str(), array.PrintValue(i).str()) << i;
            if (i % 5 == 0) {
                ASSERT_EQ(listed.KeptValueText(i).Str(), array.PrintValue(i).str()) << "again";
            }
        }
        ASSERT_EQ(SavedTokens(listed), saved);
    }

    CMC_Setup micrometres{"um"};  // a count is a micrometre
    CMC_Setup millimetres{"mm"};
    CMC_Setup degrees{"deg"};
    CMC_Setup inches{"in"};
    CMC_Setup sixteenths{"1.6um"};   // a count is 1.6 um: ties between its digits' roundings
    CMC_Setup threeMicrons{"3um"};   // roundings of a count's digits lie a third of a step away
    CMC_Setup fastSamples{"0.1ms"};  // an acceleration count is 25000 mm/s^2: a positive power
    CMC_Setup binary{"1/1024mm"};    // a count is 0.0009765625 mm: positions of many digits
};

// Values as people type them, values with long digit runs, and values close to powers of ten
// and to halves, where a shortcut would first go wrong.
std::vector<double> Values(double magnitude, unsigned seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> uniform(-magnitude, magnitude);
    std::uniform_int_distribution<int> decimals(0, 6);
    std::vector<double> values;
    for (int i = 0; i < 3000; ++i) {
        const double scale = std::pow(10.0, decimals(random));
        values.push_back(std::round(uniform(random) * scale) / scale);
        values.push_back(uniform(random));
    }
    for (int e = -8; e <= 9; ++e) {
        const double power = std::pow(10.0, e);
        for (double near : {power, std::nextafter(power, 0.0), std::nextafter(power, 1e300),
                            power * (1 - 1e-12), power * (1 + 1e-12), 9.5 * power, 0.5 * power,
                            1.5 * power, 2.5 * power, 9.9999999999 * power}) {
            values.push_back(near);
            values.push_back(-near);
        }
    }
    values.push_back(0.0);
    return values;
}

}  // namespace

TEST_F(NumberPrinting, ConvertedPositionsShowAndSaveAsFormattedInFull) {
    ExpectPlainTexts(&micrometres, VT_LONG, "mm", Values(5e6, 12));
    ExpectPlainTexts(&micrometres, VT_LONG, "um", Values(5e8, 13));
    ExpectPlainTexts(&micrometres, VT_LONG, "m", Values(5e3, 14));
    ExpectPlainTexts(&millimetres, VT_LONG, "mm", Values(5e6, 1));
    ExpectPlainTexts(&millimetres, VT_LONG, "um", Values(5e8, 2));
    ExpectPlainTexts(&millimetres, VT_LONG, "m", Values(5e3, 3));
    ExpectPlainTexts(&millimetres, VT_LONG, "in", Values(2e5, 4));
    ExpectPlainTexts(&degrees, VT_LONG, "deg", Values(1e8, 5));
    ExpectPlainTexts(&inches, VT_LONG, "mil", Values(1e8, 6));
    ExpectPlainTexts(&sixteenths, VT_LONG, "mm", Values(5e3, 17));
    ExpectPlainTexts(&sixteenths, VT_ULONG, "um", Values(5e6, 18));
    ExpectPlainTexts(&threeMicrons, VT_LONG, "mm", Values(3e3, 19));
    ExpectPlainTexts(&binary, VT_LONG, "mm", Values(2e3, 20));
    ExpectPlainTexts(&binary, VT_LONG, "um", Values(2e8, 21));
    ExpectPlainTexts(&fastSamples, VT_LONG, "mm/s^2", Values(5e13, 22));
}

namespace {
// Counts whose digits lie exactly half a step from a rounding of fewer digits, in the unit of
// countsPerUnit: whether that rounding reads back depends on how the conversion rounds.
std::vector<double> TieValues(double countsPerUnit, unsigned multiple, unsigned seed) {
    std::mt19937_64 random(seed);
    std::uniform_int_distribution<long long> counts(-100000000, 100000000);
    std::vector<double> values;
    while (values.size() < 2000) {
        const long long count = counts(random);
        const unsigned long long digits =
            static_cast<unsigned long long>(count < 0 ? -count : count) * multiple;
        for (unsigned long long unit = 10; unit <= digits; unit *= 10) {
            const unsigned long long twiceBelow = 2 * (digits % unit);
            if (twiceBelow != multiple && 2 * unit - twiceBelow != multiple) continue;
            values.push_back(static_cast<double>(count) / countsPerUnit);
            break;
        }
    }
    return values;
}
}  // namespace

TEST_F(NumberPrinting, TiesOfHalfAStepShowTheFewestDigitsThatReadBack) {
    CMC_Setup drive{"1.6um"};
    drive.SetUnits(CMC_Units(DriveScale{"mm", 625, 1, 0.001}));
    CMC_ArrayParameter array(&drive);
    ASSERT_TRUE(array.InitializeMotionParam(VT_LONG, "X", "mm", "100995.9408", MC_UNSET_LIMIT,
                                            MC_UNSET_LIMIT));
    ASSERT_EQ(array.GetValueInInternalUnit(0), 63122463.0);
    EXPECT_EQ(array.PrintValue(0), "100995.94");  // 63122462.5 counts, rounded away from zero

    const struct {
        DriveScale scale;
        const char* unit;
        double countsPerUnit;
        unsigned multiple;
    } drives[] = {{{"mm", 2500, 1, 0.001}, "mm", 2500, 4}, {{"mm", 1250, 1, 0.001}, "mm", 1250, 8},
                  {{"mm", 625, 1, 0.001}, "mm", 625, 16},  {{"mm", 250, 1, 0.001}, "mm", 250, 4},
                  {{"mm", 250, 1, 0.001}, "um", 0.25, 4},  {{"in", 625, 1, 0.001}, "in", 625, 16},
                  {{"in", 250, 1, 0.001}, "in", 250, 4},   {{"in", 250, 1, 0.001}, "mil", 0.25, 4}};
    unsigned seed = 30;
    for (const auto& [scale, unit, countsPerUnit, multiple] : drives) {
        SCOPED_TRACE(std::to_string(scale.countsPerRev) + " counts per " +
                     scale.positionUnit.str() + " in " + unit);
        CMC_Setup tied{"tied"};
        tied.SetUnits(CMC_Units(scale));
        ExpectPlainTexts(&tied, VT_LONG, unit, TieValues(countsPerUnit, multiple, ++seed));
    }
}

TEST_F(NumberPrinting, FixedPointDynamicsShowAndSaveAsFormattedInFull) {
    ExpectPlainTexts(&micrometres, VT_FIXED, "m/s^2", Values(30, 15));
    ExpectPlainTexts(&micrometres, VT_FIXED, "mm/s", Values(3e4, 16));
    ExpectPlainTexts(&millimetres, VT_FIXED, "m/s", Values(80, 7));
    ExpectPlainTexts(&millimetres, VT_FIXED, "mm/s^2", Values(1e5, 8));
    ExpectPlainTexts(&degrees, VT_FIXED, "rpm", Values(1e4, 9));
    ExpectPlainTexts(&millimetres, VT_FIXED, "", Values(32000, 10));
}

TEST_F(NumberPrinting, PlainDoublesShowAsFormattedInFull) {
    std::vector<double> values = Values(1e6, 11);
    for (double huge : {1e300, -2.5e-300, 1.7976931348623157e308, 4.9e-324, 1e-310, 123e200})
        values.push_back(huge);
    ExpectPlainTexts(&millimetres, VT_NONE, "", values);
}

// Plain notation runs from the sixth negative power of ten up to, not including, the fifteenth;
// outside, a number shows with an exponent, whichever way its text is made.
TEST_F(NumberPrinting, TheFifteenthPowerOfTenIsTheFirstShownWithAnExponent) {
    const std::vector<std::pair<double, std::string>> cases = {
        {1e15, "1e15"},
        {-1.5e15, "-1.5e15"},
        {999999999999999.0, "999999999999999"},
        {1e14, "100000000000000"},
        {-2.5e14, "-250000000000000"},
        {1e-6, "0.000001"},
        {-1.5e-7, "-1.5e-7"}};
    std::string texts;
    for (const auto& [x, text] : cases) {
        EXPECT_EQ(numbertext::Shortest(x).Str(), text);
        EXPECT_EQ(Significant(x, 15).Str(), text);
        texts += (texts.empty() ? "" : " ") + text;
    }
    // Ten significant digits or fewer, away from a power of ten, take the short way.
    for (const auto& [x, text] : {cases[1], cases[4]}) {
        NumberBuffer shortText;
        double value = 0.0;
        ASSERT_EQ(numbertext::ShortSignificant(x, shortText, value), numbertext::ShortText::Short);
        EXPECT_EQ(shortText.Str(), text);
        EXPECT_EQ(value, x);
    }
    CMC_ArrayParameter plain(&millimetres);
    ASSERT_TRUE(plain.InitializeMotionParam(VT_NONE, "A", "", texts.c_str(), MC_UNSET_LIMIT,
                                            MC_UNSET_LIMIT));
    for (int i = 0; i < plain.GetValuesCount(); ++i)
        EXPECT_EQ(plain.PrintValue(i).str(), cases[static_cast<size_t>(i)].second);
    CString saved;
    plain.SaveData(saved);
    EXPECT_EQ(saved.str(), texts);
}
