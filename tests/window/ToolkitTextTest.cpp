#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "platform/CWnd.h"
#include "platform/DialogTemplate.h"
#include "platform/fltk/DialogLayout.h"
#include "platform/fltk/ToolkitText.h"

namespace {
std::unique_ptr<CWnd> Control(const char* className, DWORD style, int height = 8) {
    DialogControlTemplate tmpl;
    tmpl.className = className;
    tmpl.style = style;
    tmpl.cy = height;
    return CWnd::CreateControl(tmpl, nullptr);
}

LOGFONT Font(const char* face, LONG height, BYTE pitch = DEFAULT_PITCH) {
    LOGFONT font{};
    std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    font.lfHeight = height;
    font.lfPitchAndFamily = pitch;
    return font;
}
}  // namespace

TEST(ToolkitText, LabelsShowSymbolsAndAmpersandsLiterally) {
    EXPECT_EQ(LabelText("@ home", true), "@@ home");
    EXPECT_EQ(LabelText("I&mport From File", true), "I&mport From File");
    EXPECT_EQ(LabelText("Save & close", false), "Save && close");
    EXPECT_EQ(LabelText("", false), "");
}

TEST(ToolkitText, LineEndsConvertBothWays) {
    EXPECT_EQ(ToToolkitLineEnds("after\r\n250 ms\r\n"), "after\n250 ms\n");
    EXPECT_EQ(ToToolkitLineEnds("lone\rcarriage"), "lone\rcarriage");
    EXPECT_EQ(ToControlLineEnds("a\nb"), "a\r\nb");
    EXPECT_EQ(ToControlLineEnds(ToToolkitLineEnds("x\r\ny\r\n")), "x\r\ny\r\n");
}

TEST(ToolkitText, CaretOffsetsSkipOnlyTheCrOfACrLf) {
    // Control "a\rb\r\nc" shows as "a\rb\nc": the lone CR stays a character.
    const std::string control = "a\rb\r\nc";
    const std::string shown = ToToolkitLineEnds(control);
    ASSERT_EQ(shown, "a\rb\nc");
    EXPECT_EQ(ToolkitOffset(control, 2, true), 2);  // after the lone CR
    EXPECT_EQ(ToolkitOffset(control, 5, true), 4);  // before c
    EXPECT_EQ(ToolkitOffset(control, 6, true), 5);  // the end
    EXPECT_EQ(ToolkitOffset(control, 4, true), 3);  // inside the CR LF: before the line end
    for (int offset = 0; offset <= static_cast<int>(shown.size()); ++offset) {
        EXPECT_EQ(ToolkitOffset(control, ControlOffset(shown, offset, true), true), offset)
            << offset;
    }
}

TEST(ToolkitText, CaretOffsetsOfSingleLineControlsAndOutOfRangeOffsetsStayAsTheyAre) {
    EXPECT_EQ(ControlOffset("a\nb", 3, false), 3);
    EXPECT_EQ(ToolkitOffset("a\r\nb", 4, false), 4);
    EXPECT_EQ(ControlOffset("a\nb", 9, true), 10);  // counts only the line ends the text has
    EXPECT_EQ(ToolkitOffset("a\r\nb", -1, true), -1);
}

TEST(ToolkitText, FileFiltersBecomeToolkitFilters) {
    EXPECT_EQ(ToolkitFileFilter({{"Text Files (*.txt)", "*.txt"}, {"All Files (*.*)", "*.*"}}),
              "Text Files (*.txt)\t*.txt\nAll Files (*.*)\t*");
    EXPECT_EQ(ToolkitFileFilter({{"Segments", "*.txt; *.seg"}}), "Segments\t{*.txt,*.seg}");
    // Separators of the toolkit's syntax cannot leak in from a description.
    EXPECT_EQ(ToolkitFileFilter({{"Odd\tname\n", "*.a"}}), "Odd name \t*.a");
    // A filter without patterns offers nothing to match and is left out.
    EXPECT_EQ(ToolkitFileFilter({{"Empty", " ; "}, {"Any", "*.*"}}), "Any\t*");
    EXPECT_EQ(ToolkitFileFilter({}), "");
}

TEST(ToolkitText, OnlyEditsWithTheMultiLineStyleAreMultiLine) {
    EXPECT_TRUE(IsMultiLineEdit(*Control("EDIT", ES_MULTILINE | ES_READONLY)));
    EXPECT_FALSE(IsMultiLineEdit(*Control("EDIT", ES_AUTOHSCROLL)));
    EXPECT_FALSE(IsMultiLineEdit(*Control("STATIC", ES_MULTILINE)));  // the same bit
}

TEST(ToolkitText, StaticTextAlignsByItsStyleAndWrapsWhenTwoLinesFit) {
    const Fl_Align top = FL_ALIGN_TOP | FL_ALIGN_INSIDE;
    EXPECT_EQ(StaticAlignment(*Control("STATIC", SS_LEFT)), top | FL_ALIGN_LEFT);
    EXPECT_EQ(StaticAlignment(*Control("STATIC", SS_RIGHT)), top | FL_ALIGN_RIGHT);
    EXPECT_EQ(StaticAlignment(*Control("STATIC", SS_CENTER)), top);
    EXPECT_EQ(StaticAlignment(*Control("STATIC", SS_LEFT, 15)), top | FL_ALIGN_LEFT);
    EXPECT_EQ(StaticAlignment(*Control("STATIC", SS_LEFT, 16)),
              top | FL_ALIGN_LEFT | FL_ALIGN_WRAP);
}

TEST(ToolkitText, AmpersandsAreMnemonicsExceptInStaticsWithoutPrefix) {
    EXPECT_TRUE(KeepsMnemonics(*Control("BUTTON", BS_PUSHBUTTON)));
    EXPECT_TRUE(KeepsMnemonics(*Control("STATIC", SS_LEFT)));
    EXPECT_FALSE(KeepsMnemonics(*Control("STATIC", SS_LEFT | SS_NOPREFIX)));
}

TEST(ToolkitText, FontsShowFixedPitchAndAtALegibleSize) {
    EXPECT_TRUE(IsFixedPitch(Font("Courier New", -12)));
    EXPECT_TRUE(IsFixedPitch(Font("DejaVu Sans Mono", -12)));
    EXPECT_TRUE(IsFixedPitch(Font("Terminal", -12, FIXED_PITCH)));
    EXPECT_FALSE(IsFixedPitch(Font("MS Sans Serif", -12, VARIABLE_PITCH)));

    EXPECT_EQ(FontPixels(Font("Arial", -16)), 16);  // character height
    EXPECT_EQ(FontPixels(Font("Arial", 20)), 16);   // cell height, less the leading
    EXPECT_EQ(FontPixels(Font("Arial", -8)), 11);   // too small to read
    EXPECT_EQ(FontPixels(Font("Arial", 0)), std::max(DialogLayout::kFontSize, 11));
}
