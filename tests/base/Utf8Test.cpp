// Reading UTF-8 one character at a time.
#include <gtest/gtest.h>

#include <string>

#include "base/Utf8.h"

namespace {

// The shortest form of code, written here independently of the reader.
std::string Encode(char32_t code) {
    const auto byte = [](char32_t bits) { return static_cast<char>(bits); };
    if (code < 0x80) return {byte(code)};
    if (code < 0x800) return {byte(0xc0 | code >> 6), byte(0x80 | (code & 0x3f))};
    if (code < 0x10000)
        return {byte(0xe0 | code >> 12), byte(0x80 | (code >> 6 & 0x3f)),
                byte(0x80 | (code & 0x3f))};
    return {byte(0xf0 | code >> 18), byte(0x80 | (code >> 12 & 0x3f)),
            byte(0x80 | (code >> 6 & 0x3f)), byte(0x80 | (code & 0x3f))};
}

bool IsSurrogate(char32_t code) { return code >= 0xd800 && code <= 0xdfff; }

TEST(Utf8, ReadsEveryCodePointBackFromItsShortestForm) {
    for (char32_t code = 0; code <= 0x10ffff; ++code) {
        const std::string text = Encode(code) + "x";
        const Utf8Char read = ReadUtf8Char(text);
        if (IsSurrogate(code)) {
            ASSERT_EQ(read.length, 0u) << std::hex << static_cast<unsigned>(code);
            continue;
        }
        ASSERT_EQ(read.length, text.size() - 1) << std::hex << static_cast<unsigned>(code);
        ASSERT_EQ(read.code, code);
    }
}

TEST(Utf8, TakesNoPairThatIsNotTheShortestFormOfACodePoint) {
    for (int first = 0x80; first <= 0xff; ++first) {
        for (int second = 0; second <= 0xff; ++second) {
            const std::string text{static_cast<char>(first), static_cast<char>(second)};
            const Utf8Char read = ReadUtf8Char(text);
            ASSERT_EQ(read.length != 0, read.length == 2 && Encode(read.code) == text)
                << std::hex << first << " " << second;
        }
    }
}

TEST(Utf8, RefusesMalformedSequences) {
    for (const char* text : {
             "\x80",              // a continuation byte first
             "\xC0\xAF",          // overlong "/" in two bytes
             "\xE0\x80\xAF",      // in three
             "\xF0\x80\x80\xAF",  // in four
             "\xF0\x8F\xBF\xBF",  // overlong U+FFFF
             "\xED\xA0\x80",      // a surrogate
             "\xF4\x90\x80\x80",  // past U+10FFFF
             "\xF5\x80\x80\x80",  // a lead byte of nothing
             "\xF8\x90\x80\x80",  // nor this, though its bits read as U+10000
             "\xFF",
             "\xE2\x80"
             "a",  // a continuation missing
         })
        EXPECT_EQ(ReadUtf8Char(text).length, 0u) << text;
}

TEST(Utf8, RefusesASequenceCutShortByTheEnd) {
    const std::string smile = "\xF0\x9F\x99\x82";
    for (size_t kept = 0; kept < smile.size(); ++kept)
        EXPECT_EQ(ReadUtf8Char(std::string_view(smile).substr(0, kept)).length, 0u) << kept;
    EXPECT_EQ(ReadUtf8Char(smile).length, 4u);
}

}  // namespace
