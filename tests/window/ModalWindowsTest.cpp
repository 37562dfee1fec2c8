#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <optional>

#include "platform/fltk/ModalWindows.h"

// Windows that are never shown need no display.
class ModalWindowsTest : public ::testing::Test {
  protected:
    Fl_Window m_dialog{10, 10};
    Fl_Window m_prompt{10, 10};
    Fl_Window m_other{10, 10};
};

TEST_F(ModalWindowsTest, APromptCoversTheDialogBelowItUntilItEnds) {
    EXPECT_EQ(ModalWindows::Top(), nullptr);
    ModalWindows::Scope dialog(&m_dialog);
    EXPECT_FALSE(ModalWindows::IsCovered(&m_dialog));
    {
        ModalWindows::Scope prompt(&m_prompt);
        EXPECT_EQ(ModalWindows::Top(), &m_prompt);
        EXPECT_TRUE(ModalWindows::IsCovered(&m_dialog));
        EXPECT_FALSE(ModalWindows::IsCovered(&m_prompt));
        // A window that does not run modally, such as an open menu, is never held back.
        EXPECT_FALSE(ModalWindows::IsCovered(&m_other));
    }
    EXPECT_EQ(ModalWindows::Top(), &m_dialog);
    EXPECT_FALSE(ModalWindows::IsCovered(&m_dialog));
}

TEST_F(ModalWindowsTest, TheFileChooserPlaceholderCoversTheDialog) {
    ModalWindows::Scope dialog(&m_dialog);
    ModalWindows::Scope chooser(nullptr);
    EXPECT_EQ(ModalWindows::Top(), nullptr);
    EXPECT_TRUE(ModalWindows::IsCovered(&m_dialog));
    // The chooser's own windows are the toolkit's and pass.
    EXPECT_FALSE(ModalWindows::IsCovered(&m_other));
    EXPECT_FALSE(ModalWindows::IsCovered(nullptr));
}

TEST_F(ModalWindowsTest, AScopeEndingOutOfOrderRemovesOnlyItsOwnWindow) {
    ModalWindows::Scope dialog(&m_dialog);
    std::optional<ModalWindows::Scope> prompt(std::in_place, &m_prompt);
    ModalWindows::Scope other(&m_other);
    prompt.reset();
    EXPECT_EQ(ModalWindows::Top(), &m_other);
    EXPECT_TRUE(ModalWindows::IsCovered(&m_dialog));
    EXPECT_FALSE(ModalWindows::IsCovered(&m_prompt));
}
