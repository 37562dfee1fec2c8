#include <gtest/gtest.h>

#include "platform/CWnd.h"
#include "platform/DialogTemplate.h"
#include "platform/fltk/DialogLayout.h"

namespace {
std::unique_ptr<CWnd> Control(const char* className, int x, int y, int cx, int cy) {
    DialogControlTemplate tmpl;
    tmpl.className = className;
    tmpl.x = x;
    tmpl.y = y;
    tmpl.cx = cx;
    tmpl.cy = cy;
    return CWnd::CreateControl(tmpl, nullptr);
}
}  // namespace

TEST(DialogLayout, DialogUnitsScaleByTheBaseUnitsAndRound) {
    EXPECT_EQ(DialogLayout::ToPixelsX(4), 6);
    EXPECT_EQ(DialogLayout::ToPixelsY(8), 13);
    EXPECT_EQ(DialogLayout::ToPixelsX(1), 2);  // 1.5 rounds up
    EXPECT_EQ(DialogLayout::ToPixelsY(1), 2);  // 1.625
    EXPECT_EQ(DialogLayout::ToPixelsY(3), 5);  // 4.875
    EXPECT_EQ(DialogLayout::ToPixelsX(-4), -6);
    EXPECT_EQ(DialogLayout::ToPixelsX(0), 0);
}

TEST(DialogLayout, TheEditorDialogFitsItsClientArea) {
    DialogTemplate tmpl;
    tmpl.cx = 374;
    tmpl.cy = 316;
    PixelRect rect = DialogLayout::DialogRect(tmpl);
    EXPECT_EQ(rect.width, 561);
    EXPECT_EQ(rect.height, 514);
}

TEST(DialogLayout, NeighboursMeetWithoutGapsOrOverlap) {
    // Previous and Next stand 4 units apart; edges are mapped one by one, so the gap between
    // them is the mapped gap whatever the rounding of each width.
    auto previous = Control("BUTTON", 20, 158, 50, 14);
    auto next = Control("BUTTON", 74, 158, 50, 14);
    PixelRect left = DialogLayout::ControlRect(*previous);
    PixelRect right = DialogLayout::ControlRect(*next);
    EXPECT_EQ(left.x, 30);
    EXPECT_EQ(left.x + left.width, DialogLayout::ToPixelsX(70));
    EXPECT_EQ(right.x - (left.x + left.width),
              DialogLayout::ToPixelsX(74) - DialogLayout::ToPixelsX(70));
    EXPECT_EQ(left.height, right.height);
}

TEST(DialogLayout, ADropDownListIsOneLineHighWhateverItsListHeight) {
    auto combo = Control("COMBOBOX", 64, 17, 31, 51);
    auto edit = Control("EDIT", 109, 109, 60, 14);
    PixelRect closed = DialogLayout::ControlRect(*combo);
    EXPECT_EQ(closed.y, DialogLayout::ToPixelsY(17));
    EXPECT_EQ(closed.height, DialogLayout::ToPixelsY(17 + DialogLayout::kClosedComboHeight) -
                                 DialogLayout::ToPixelsY(17));
    EXPECT_EQ(DialogLayout::ControlRect(*edit).height, 23);
}
