#include <gtest/gtest.h>

#include "platform/fltk/ToolkitText.h"

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
