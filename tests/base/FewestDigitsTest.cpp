// The fast number texts against the plain definitions they stand in for, on random values of
// every magnitude and on counts of the decimal steps drives use.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "base/numbertext/DecimalStep.h"
#include "base/numbertext/FewestDigits.h"
#include "base/numbertext/Parse.h"
#include "base/numbertext/Reference.h"

namespace {
using namespace numbertext;

// A value of random digits and a random magnitude from 1e-12 to 1e18, either sign.
double RandomValue(std::mt19937_64& random) {
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> power(-12, 18);
    const double x = mantissa(random) * std::pow(10.0, power(random));
    return random() % 2 == 0 ? x : -x;
}

// Whether ShortSignificant() answers for x; where it does, it must answer as the plain
// definition does.
bool AnswersAsThePlainDefinition(double x) {
    NumberBuffer fast;
    NumberBuffer plain;
    double fastValue = 0.0;
    double plainValue = 0.0;
    const ShortText answer = ShortSignificant(x, fast, fastValue);
    if (answer == ShortText::Unknown) return false;
    EXPECT_EQ(answer, PlainShortSignificant(x, plain, plainValue));
    if (answer != ShortText::Short) return true;
    EXPECT_EQ(fast.Str(), plain.Str());
    EXPECT_EQ(fastValue, plainValue);
    return true;
}

TEST(FewestDigits, MatchesThePlainDefinitionForStepsOfEveryDepth) {
    std::mt19937_64 random(11);
    for (int i = 0; i < 20000; ++i) {
        const double x = RandomValue(random);
        const double step = std::fabs(x) * std::pow(10.0, -static_cast<int>(random() % 12));
        const auto accepts = [&](double v) { return std::fabs(v - x) < step / 2; };
        const Tolerance tolerance{step * 0.4, step * 0.6};
        ASSERT_EQ(FewestDigits(x, tolerance, accepts).Str(), PlainFewestDigits(x, accepts))
            << x << " step " << step;
    }
}

// The tiniest and largest magnitudes the quick paths take, whose fifteenth digit lies beyond
// their table of powers of ten: the texts are still the plain definition's (and no power is read
// from outside the table, which the sanitizers' build checks).
TEST(FewestDigits, MatchesThePlainDefinitionAtTheEndsOfTheTable) {
    for (double magnitude :
         {2.0001855899068553e-289, 3.7e-290, 1.5e-288, 9.99e-286, 1.2e-284, 4.4e288, 8.7e289}) {
        for (double x : {magnitude, -magnitude}) {
            for (int depth = 0; depth < 12; ++depth) {
                const double step = std::fabs(x) * std::pow(10.0, -depth);
                const auto accepts = [&](double v) { return std::fabs(v - x) < step / 2; };
                FewestFound found;
                ASSERT_EQ(FewestDigits(x, {step * 0.4, step * 0.6}, accepts, &found).Str(),
                          PlainFewestDigits(x, accepts))
                    << x << " step " << step;
            }
        }
    }
}

struct Step {
    unsigned multiple;
    int power;
};

// Holds the texts of FewestDigitsOfCount(), where it answers, to the plain definition for
// counts of each step (a hundred about 0, the rest up to range either way), texts within
// `within` counts of the count, and expects it to answer most counts, or lists fall back to the
// search.
void ExpectCountTextsAsThePlainDefinition(std::initializer_list<Step> steps, long long range,
                                          double within) {
    std::mt19937_64 random(5);
    std::uniform_int_distribution<long long> counts(-range, range);
    for (const auto& [multiple, power] : steps) {
        const double step = multiple * std::pow(10.0, power);
        int answered = 0;
        for (int i = 0; i < 5000; ++i) {
            const long long count = i < 100 ? i - 50 : counts(random);
            const double x = static_cast<double>(count) * step;
            NumberBuffer text;
            FewestFound found;
            if (!FewestDigitsOfCount(x, count, multiple, power, text, found, within)) continue;
            ++answered;
            const auto accepts = [&](double v) {
                return within == 0.5 ? std::llround(v / step) == count
                                     : std::fabs(v / step - static_cast<double>(count)) <= within;
            };
            ASSERT_EQ(text.Str(), PlainFewestDigits(x, accepts))
                << count << " of " << multiple << "e" << power;
            // Long: the count's own digits, without their zeros, are more than ten.
            std::string digits =
                std::to_string(std::llabs(count) * static_cast<long long>(multiple));
            while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
            ASSERT_EQ(found.significant15IsLong, digits.size() > 10)
                << count << " of " << multiple << "e" << power;
        }
        EXPECT_GT(answered, 4000) << multiple << "e" << power;
    }
}

TEST(FewestDigits, CountsOfADecimalStepMatchThePlainDefinition) {
    // Steps such as 1 um, 2.5 um, 1.6 um, 3 um and 1/1024 mm in millimetres, a million counts
    // either way: within the fourteen digits that the whole-number way takes.
    ExpectCountTextsAsThePlainDefinition(
        {{1, -3}, {25, -4}, {16, -4}, {3, -3}, {9765625, -13}, {5, -1}, {1, 0}}, 1000000, 0.5);
}

TEST(FewestDigitsOfCount, WithinAMillionthOfACountAnswersAsTheSearchWhereverItAnswers) {
    // The export's texts: a 2.5 um count has no text nearer than its own digits, a 1/1024 mm
    // count may drop a digit. A 4096-count encoder's counts beyond about 139 turns are left to
    // the search.
    ExpectCountTextsAsThePlainDefinition(
        {{1, -3}, {25, -4}, {9765625, -10}, {9765625, -13}, {87890625, -9}}, 300000, 1e-6);
}

TEST(ShortSignificant, AnswersAsTheFifteenDigitTextWhereverItAnswers) {
    std::mt19937_64 random(3);
    std::uniform_int_distribution<int> decimals(0, 9);
    std::uniform_int_distribution<long long> typed(-9999999, 9999999);
    int answered = 0;
    for (int i = 0; i < 20000; ++i) {
        // Half of the values have few digits, as typed values do.
        const double x = i % 2 == 0
                             ? static_cast<double>(typed(random)) / std::pow(10.0, decimals(random))
                             : RandomValue(random);
        answered += AnswersAsThePlainDefinition(x) ? 1 : 0;
        ASSERT_FALSE(HasFailure()) << x;
    }
    EXPECT_GT(answered, 5000);
}

// Values whose ten-digit rounding lies half a unit of the fifteenth digit away, ten digits then
// five zeros and a five: the fifteen-digit text is those ten digits or one unit more, as the
// double falls on either side of the tie, and arithmetic that cannot tell must not answer.
std::vector<double> TiesOfTheFifteenthDigit() {
    std::mt19937_64 random(13);
    std::uniform_int_distribution<long long> tenDigits(1000000000LL, 9999999999LL);
    std::uniform_int_distribution<int> exponent(-10, 14);
    std::vector<double> ties;
    for (int i = 0; i < 2000; ++i) {
        const std::string digits = std::to_string(tenDigits(random));
        const std::string text = digits.substr(0, 1) + "." + digits.substr(1) + "000005e" +
                                 std::to_string(exponent(random));
        double x = 0.0;
        if (ParseNumber(text, x) == ParseResult::Ok) ties.push_back(i % 2 == 0 ? x : -x);
    }
    // Just below a power of ten, the ten digits round up to the power itself.
    for (int power = -10; power <= 14; ++power) {
        double x = 0.0;
        const std::string text = "9.999999999999995e" + std::to_string(power);
        if (ParseNumber(text, x) == ParseResult::Ok) ties.push_back(x);
    }
    return ties;
}
}  // namespace

TEST(ShortSignificant, LeavesTiesOfTheFifteenthDigitToTheFullText) {
    for (double x : TiesOfTheFifteenthDigit()) {
        AnswersAsThePlainDefinition(x);
        ASSERT_FALSE(HasFailure()) << x;
    }
}

// A save writes the shown text where FewestDigits() says it is Significant(x, 15): it must be.
TEST(FewestDigits, CallsATextTheFifteenDigitOneOnlyWhereItIs) {
    for (double x : TiesOfTheFifteenthDigit()) {
        const double step = std::fabs(x) * 1e-11;
        const auto accepts = [&](double v) { return std::fabs(v - x) < step / 2; };
        FewestFound found;
        const NumberBuffer text = FewestDigits(x, {step * 0.4, step * 0.6}, accepts, &found);
        ASSERT_EQ(text.Str(), PlainFewestDigits(x, accepts)) << x;
        if (!found.isSignificant15) continue;
        ASSERT_EQ(text.Str(), Significant(x, 15).Str()) << x;
    }
}

namespace {
// A drive's step in a unit: counts per unit, and the step as the whole number multiple times
// 10^power that FewestDigitsOfCount() takes.
struct DecimalDrive {
    double countsPerUnit;
    unsigned multiple;
    int power;
};

// Steps of 0.4, 0.8, 1.6 (also 0.0016 in) and 4 um (also 0.004 in) in millimetres, and 4 mil in
// mils: their counts' digits often lie exactly half a step from a rounding of fewer digits.
constexpr DecimalDrive kTieDrives[] = {
    {2500, 4, -4}, {1250, 8, -4}, {625, 16, -4}, {250, 4, -3}, {0.25, 4, 0}};

// Whether some rounding of the count's digits lies exactly half a step away.
bool HasTie(long long count, unsigned multiple) {
    if (multiple % 2 != 0) return false;
    const unsigned long long digits =
        static_cast<unsigned long long>(count < 0 ? -count : count) * multiple;
    for (unsigned long long unit = 10; unit <= digits; unit *= 10) {
        const unsigned long long below = digits % unit;
        if (2 * below == multiple || 2 * (unit - below) == multiple) return true;
    }
    return false;
}

// The tolerance and conversion that a column of whole counts uses: a typed value stores the
// count it rounds to, halves away from zero.
NumberBuffer FewestDigitsOfTheCount(double x, double countsPerUnit, long long count,
                                    std::string& plain) {
    const double halfStep = 0.5 / countsPerUnit;
    const double noise = std::fabs(x) * 1e-14;
    const Tolerance tolerance{halfStep * (1 - 1e-9) - noise, halfStep * (1 + 1e-9) + noise};
    const auto accepts = [&](double v) {
        return std::round(v * countsPerUnit) == static_cast<double>(count);
    };
    plain = PlainFewestDigits(x, accepts);
    return FewestDigits(x, tolerance, accepts);
}
}  // namespace

TEST(PlainFewestDigits, TakesATextHalfAStepAwayThatReadsBackToTheCount) {
    // 63122463 counts of 1.6 um: 100995.94 is 63122462.5 counts, which rounds to the count.
    const auto accepts = [](double v) { return std::round(v * 625) == 63122463.0; };
    EXPECT_EQ(PlainFewestDigits(63122463 / 625.0, accepts), "100995.94");
}

TEST(FewestDigits, TiesOfHalfAStepMatchThePlainDefinition) {
    std::mt19937_64 random(23);
    std::uniform_int_distribution<long long> counts(-100000000, 100000000);
    for (const auto& [countsPerUnit, multiple, power] : kTieDrives) {
        int ties = 0;
        for (int i = 0; i < 20000 && ties < 3000; ++i) {
            const long long count = i < 2000 ? i - 1000 : counts(random);
            if (!HasTie(count, multiple)) continue;
            ++ties;
            const double x = static_cast<double>(count) / countsPerUnit;
            std::string plain;
            const NumberBuffer fast = FewestDigitsOfTheCount(x, countsPerUnit, count, plain);
            ASSERT_EQ(fast.Str(), plain) << count << " counts of " << multiple << "e" << power;
        }
        EXPECT_GT(ties, 1000) << multiple << "e" << power;
    }
}
