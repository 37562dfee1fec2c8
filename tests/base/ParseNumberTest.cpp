// Reading a whole token as a number: every decimal the readers meet gives the correctly rounded
// double, bit for bit what the C library gives.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "base/numbertext/Parse.h"

using numbertext::ParseNumber;
using numbertext::ParseResult;

namespace {
void ExpectAsTheLibraryReads(const std::string& token) {
    double ours = 0.0;
    ASSERT_EQ(ParseNumber(token, ours), ParseResult::Ok) << token;
    double library = std::strtod(token.c_str(), nullptr);
    if (library == 0.0) library = 0.0;  // a zero is read without its sign
    ASSERT_EQ(std::memcmp(&ours, &library, sizeof ours), 0)
        << token << ": " << ours << " against " << library;
}
}  // namespace

TEST(ParseNumber, DecimalsOfEveryLengthAndPlaceReadAsTheLibraryReadsThem) {
    // Up to twenty digits with the point anywhere: beyond fifteen digits, a whole number over a
    // power of ten is no longer exact.
    std::mt19937 random(42);
    for (int round = 0; round < 200000; ++round) {
        const int digits = 1 + static_cast<int>(random() % 20);
        std::string token = random() % 2 ? "-" : "";
        const int point = static_cast<int>(random() % (digits + 2)) - 1;  // -1: none
        for (int i = 0; i < digits; ++i) {
            if (i == point) token += '.';
            token += static_cast<char>('0' + random() % 10);
        }
        if (point == digits) token += '.';
        ExpectAsTheLibraryReads(token);
    }
    for (const char* token :
         {"0", "-0", "-0.000", "+1.5", ".5", "5.", "999999999999999", "9007199254740993", "0.1",
          "0.30000000000000004", "123456789012345.6"})
        ExpectAsTheLibraryReads(token);
}

TEST(ParseNumber, RefusesWhatIsNoPlainNumber) {
    double value = 7.0;
    for (const char* token : {"", "-", ".", "-.", "1.2.3", "1-", "--1", "+-1", "1 2", "x1", "inf",
                              "nan", "0x10", "1e"}) {
        EXPECT_EQ(ParseNumber(token, value), ParseResult::NotNumber) << '"' << token << '"';
    }
    EXPECT_EQ(value, 7.0) << "a refused token leaves the value";
    EXPECT_EQ(ParseNumber("1e999", value), ParseResult::OutOfRange);
    EXPECT_EQ(ParseNumber("2.5e-3", value), ParseResult::Ok);
    EXPECT_EQ(value, 0.0025);
}

TEST(ExactQuotient, IsTheDecimalOfTheDigitsAndPlacesCorrectlyRounded) {
    std::mt19937_64 random(5);
    for (int round = 0; round < 100000; ++round) {
        const std::uint64_t whole = random() >> (11 + random() % 50);  // below 2^53
        const int places = static_cast<int>(random() % 23);
        double value = 0.0;
        ASSERT_TRUE(numbertext::ExactQuotient(whole, places, value));
        const std::string text = std::to_string(whole) + "e-" + std::to_string(places);
        const double library = std::strtod(text.c_str(), nullptr);
        ASSERT_EQ(std::memcmp(&value, &library, sizeof value), 0) << text;
    }
    double value = 7.0;
    EXPECT_FALSE(numbertext::ExactQuotient(std::uint64_t{1} << 53, 1, value)) << "not exact";
    EXPECT_FALSE(numbertext::ExactQuotient(5, 23, value)) << "10^23 is no exact double";
    EXPECT_EQ(value, 7.0);
}
