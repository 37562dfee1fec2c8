// Text from outside, escaped for a one-line message.
#include <gtest/gtest.h>

#include <string>

#include "base/EscapedText.h"

namespace {

TEST(EscapedText, ControlCharactersBecomeEscapes) {
    EXPECT_EQ(EscapeControls("a\nb\rc\td"), "a\\nb\\rc\\td");
    EXPECT_EQ(EscapeControls("\x1b[31mred"), "\\x1b[31mred");
    EXPECT_EQ(EscapeControls(std::string("nul\0del\x7f", 8)), "nul\\x00del\\x7f");
}

TEST(EscapedText, PrintableTextStaysAsItIs) {
    EXPECT_EQ(EscapeControls(""), "");
    EXPECT_EQ(EscapeControls("X_TPOS[mm] \"a\" C:\\dir ~"), "X_TPOS[mm] \"a\" C:\\dir ~");
    EXPECT_EQ(EscapeControls("\xC2\xB5m \xE2\x80\xA6 \xF0\x9F\x99\x82"),
              "\xC2\xB5m \xE2\x80\xA6 \xF0\x9F\x99\x82");  // µm … and an emoji
    EXPECT_EQ(EscapeControls("\xC2\xA0"), "\xC2\xA0");     // the first printable after C1
}

TEST(EscapedText, C1ControlsAndBytesThatAreNotUtf8AreEscapedByteByByte) {
    EXPECT_EQ(EscapeControls("\xC2\x9B"
                             "1m"),
              "\\xc2\\x9b1m");  // CSI as UTF-8
    EXPECT_EQ(EscapeControls("\x9B"
                             "1m"),
              "\\x9b1m");                                                   // CSI as one byte
    EXPECT_EQ(EscapeControls("\xC3"), "\\xc3");                             // cut short
    EXPECT_EQ(EscapeControls("\xC0\xAF"), "\\xc0\\xaf");                    // overlong "/"
    EXPECT_EQ(EscapeControls("\xE0\x80\xAF"), "\\xe0\\x80\\xaf");           // overlong "/"
    EXPECT_EQ(EscapeControls("\xED\xA0\x80"), "\\xed\\xa0\\x80");           // a surrogate
    EXPECT_EQ(EscapeControls("\xF4\x90\x80\x80"), "\\xf4\\x90\\x80\\x80");  // past U+10FFFF
    EXPECT_EQ(EscapeControls("\xE2\x80"
                             "a"),
              "\\xe2\\x80a");
    EXPECT_EQ(EscapeControls("\xC2\x80"), "\\xc2\\x80");  // the first C1 control
    EXPECT_EQ(EscapeControls("\xC2\x9F"), "\\xc2\\x9f");  // and the last
}

TEST(QuotedValue, ShortTextsAreQuotedWhole) {
    const std::string forty(40, 'b');
    EXPECT_EQ(Quoted(forty), "\"" + forty + "\"");
    EXPECT_EQ(Quoted("a\x1b"), "\"a\\x1b\"");
}

// A megabyte unit made a megabyte message line.
TEST(QuotedValue, LongTextsAreCutAfter40Bytes) {
    EXPECT_EQ(Quoted(std::string(1 << 20, 'b')), "\"" + std::string(40, 'b') + "...\"");
    EXPECT_EQ(QuoteForMessage(std::string(41, '\n')), [] {
        std::string escapes;
        for (int i = 0; i < 40; ++i) escapes += "\\n";
        return escapes + "...";
    }());
}

TEST(QuotedValue, TheCutNeverSplitsACharacter) {
    const std::string micro = "\xC2\xB5";  // two bytes
    std::string text(39, 'b');
    EXPECT_EQ(QuoteForMessage(text + micro + "m"), text + "...");
    EXPECT_EQ(QuoteForMessage(text + "b" + micro), text + "b...");
    EXPECT_EQ(QuoteForMessage(text + "\xFF\xFF"), text + "\\xff...");
}

TEST(QuotedName, NamesUpTo256BytesAreQuotedWholeWithControlsEscaped) {
    const std::string name = "/tmp/" + std::string(251, 'n');
    EXPECT_EQ(QuotedName(name), "\"" + name + "\"");
    EXPECT_EQ(QuotedName("a\nb"), "\"a\\nb\"");
}

TEST(QuotedName, LongerNamesKeepTheirStartAndEndAndSaySoWithTheLength) {
    const std::string name = "/start/" + std::string(1 << 20, 'n') + "/the.end";
    EXPECT_EQ(QuotedName(name), "\"/start/" + std::string(113, 'n') + "..." +
                                    std::string(112, 'n') + "/the.end\" (shortened from " +
                                    std::to_string(name.size()) + " bytes)");
}

TEST(QuotedName, TheShorteningNeverSplitsACharacter) {
    const std::string micro = "\xC2\xB5";  // two bytes
    const std::string name =
        std::string(119, 'a') + micro + std::string(100, 'b') + micro + std::string(119, 'c');
    EXPECT_EQ(QuotedName(name), "\"" + std::string(119, 'a') + "..." + std::string(119, 'c') +
                                    "\" (shortened from 342 bytes)");
}

}  // namespace
