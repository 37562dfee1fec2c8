// The character classes against <cctype> in the "C" locale, over every char.
#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <string_view>

#include "base/CharClass.h"
#include "base/Trim.h"

namespace {

TEST(CharClass, AgreesWithTheCLocaleOnEveryChar) {
    for (int value = CHAR_MIN; value <= CHAR_MAX; ++value) {
        const char c = static_cast<char>(value);
        const int byte = static_cast<unsigned char>(c);
        SCOPED_TRACE(byte);
        EXPECT_EQ(IsDigit(c), std::isdigit(byte) != 0);
        EXPECT_EQ(IsUpper(c), std::isupper(byte) != 0);
        EXPECT_EQ(IsLower(c), std::islower(byte) != 0);
        EXPECT_EQ(IsLetter(c), std::isalpha(byte) != 0);
        EXPECT_EQ(IsLetterOrDigit(c), std::isalnum(byte) != 0);
        EXPECT_EQ(IsBlank(c), std::isblank(byte) != 0);
        EXPECT_EQ(IsSpace(c), std::isspace(byte) != 0);
        EXPECT_EQ(ToLower(c), static_cast<char>(std::tolower(byte)));
        EXPECT_EQ(ToUpper(c), static_cast<char>(std::toupper(byte)));
    }
}

TEST(CharClass, BlankOrCrIsWhatTrimTakesOff) {
    for (int value = CHAR_MIN; value <= CHAR_MAX; ++value) {
        const char c = static_cast<char>(value);
        EXPECT_EQ(IsBlankOrCr(c), Trim(std::string_view(&c, 1)).empty()) << value;
    }
}

}  // namespace
