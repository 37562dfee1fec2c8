// ScanNumbers against the C library's sscanf with "%lf %lf ...": the import's lines must give
// the same count and the same values, bit for bit, whichever of the two reads them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "base/numbertext/Scan.h"

namespace {

int LibraryScan(const std::string& line, double* v, int most) {
    static const char* const kFormats[] = {"%lf %lf %lf %lf %lf", "%lf %lf %lf %lf %lf  %lf"};
    return std::sscanf(line.c_str(), kFormats[most - 5], &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
}

// Scanned alone, and with the numbers of every line scanned before remembered: a remembered
// text must give what scanning it gives.
void ExpectSameAsLibrary(const std::string& line) {
    static ShortTextMemo<double> remembered;
    for (int most : {5, 6}) {
        for (ShortTextMemo<double>* memo :
             {static_cast<ShortTextMemo<double>*>(nullptr), &remembered}) {
            double ours[6] = {0, 0, 0, 0, 0, 0};
            double library[6] = {0, 0, 0, 0, 0, 0};
            const int count = numbertext::ScanNumbers(line.c_str(), ours, most, memo);
            ASSERT_EQ(count, LibraryScan(line, library, most)) << '"' << line << '"';
            for (int i = 0; i < count; ++i) {
                ASSERT_EQ(std::memcmp(&ours[i], &library[i], sizeof(double)), 0)
                    << '"' << line << "\" value " << i << ": " << ours[i] << " vs " << library[i]
                    << (memo ? ", remembered" : "");
            }
        }
    }
}

// A token that is a number, nearly one, or something else, as segment files may hold.
std::string RandomToken(std::mt19937& random) {
    static const char* const kOddities[] = {
        "inf", "-infinity", "nan",      "nan(12)", "0x1p3", "0x",  "0X1.8P-1", "1e",   "1e+",
        "1E-", "1.2.3",     "+-1",      ".",       "-.",    "5.",  ".5",       "e5",   "1e400",
        "-0",  "1e-400",    "4.9e-324", "x",       "1x",    "--2", "+.5e+2",   "0012", "1,5"};
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<int> digitCount(1, 40);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> exponent(-330, 330);
    auto digits = [&](int count) {
        std::string text;
        for (int i = 0; i < count; ++i) text += static_cast<char>('0' + digit(random));
        return text;
    };
    const int choice = kind(random);
    if (choice == 0) return kOddities[random() % std::size(kOddities)];
    std::string token = choice == 1 ? "-" : choice == 2 ? "+" : "";
    token += digits(digitCount(random) % (choice == 3 ? 40 : 6) + 1);
    if (choice % 2 == 0) token += "." + digits(digitCount(random) % 8);
    if (choice >= 7) token += (choice == 7 ? "e" : "E") + std::to_string(exponent(random));
    return token;
}

std::string RandomSeparator(std::mt19937& random) {
    static const char* const kSeparators[] = {" ", "  ", "\t", " \t ", "\r", "\v", "\f", ""};
    return kSeparators[random() % std::size(kSeparators)];
}

}  // namespace

TEST(ScanNumbers, HandWrittenLinesScanAsTheLibraryScansThem) {
    const std::string overlong = "1" + std::string(300, '7') + ".5";
    const char* const lines[] = {"",
                                 "   ",
                                 "\r",
                                 "\r\n",
                                 "1 2 3",
                                 "1 2 3\r\n",
                                 "  -1.5\t+2.25 3e2 4E-2 .5",
                                 "1 2 3 4 5 6 7",
                                 "1 2 3 4 5 6",
                                 "10 20 30 fast",
                                 "x 1 2",
                                 "1 x 2",
                                 "1e 2 3",
                                 "1ex 2 3",
                                 "1e+ 2 3",
                                 "1E- 2 3",
                                 "1.2.3",
                                 "1.2.3 4",
                                 "0x1p3 2 3",
                                 "0x 2 3",
                                 "0X1.8P1 2 3",
                                 "inf 2 3",
                                 "-inf 2 3",
                                 "infinity 2 3",
                                 "infx 2 3",
                                 "nan 2 3",
                                 "nan(abc) 2 3",
                                 "NaN 2 3",
                                 "+-1 2 3",
                                 ". 2 3",
                                 "-. 2 3",
                                 "5. 6. 7.",
                                 ".5 .6 .7",
                                 "1,5 2,5 0",
                                 "1,2,3",
                                 "1e400 2 3",
                                 "1e-400 2 3",
                                 "4.9e-324 2 3",
                                 "-0 -0.0 +0",
                                 "0012 00.5 3",
                                 "1\v2\f3",
                                 "1\t\t2\t3\r",
                                 "1 2 3\n4",
                                 "-1e-5 +1e+5 1e05",
                                 "9007199254740993 2 3",
                                 "0.1 0.2 0.30000000000000004"};
    for (const char* line : lines) ExpectSameAsLibrary(line);
    ExpectSameAsLibrary(overlong + " " + overlong + " 3");
    ExpectSameAsLibrary("0." + std::string(400, '0') + "1 2 3");
}

TEST(ScanNumbers, GeneratedLinesScanAsTheLibraryScansThem) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> tokenCount(0, 8);
    for (int n = 0; n < 20000; ++n) {
        std::string line = RandomSeparator(random);
        const int count = tokenCount(random);
        for (int i = 0; i < count; ++i) {
            line += RandomToken(random);
            line += i + 1 < count ? (random() % 10 ? " " : RandomSeparator(random))
                                  : RandomSeparator(random);
        }
        if (random() % 4 == 0) line += "\r\n";
        ExpectSameAsLibrary(line);
    }
}
