// The window messages on a control's state: list boxes, combo boxes, edits and buttons.
#include <gtest/gtest.h>

#include <string>

#include "platform/AfxWin.h"
#include "platform/DialogTemplate.h"

namespace {

std::unique_ptr<CWnd> Make(const char* className, DWORD style = 0) {
    DialogControlTemplate tmpl;
    tmpl.id = 77;
    tmpl.className = className;
    tmpl.text = "initial";
    tmpl.style = WS_CHILD | WS_VISIBLE | style;
    return CWnd::CreateControl(tmpl, nullptr);
}

LPARAM Text(const char* text) { return reinterpret_cast<LPARAM>(text); }
WPARAM Index(int index) { return static_cast<WPARAM>(index); }

std::string Row(CWnd& list, int index) {
    char buffer[64] = "untouched";
    LRESULT length = list.SendMessage(LB_GETTEXT, Index(index), reinterpret_cast<LPARAM>(buffer));
    return length == LB_ERR ? "ERR" : std::string(buffer) + "/" + std::to_string(length);
}

TEST(ListBox, InsertsAtAnIndexOrAppendsAndRefusesIndexesBeyondTheEnd) {
    auto list = Make("LISTBOX");
    EXPECT_NE(dynamic_cast<CListBox*>(list.get()), nullptr);
    EXPECT_EQ(list->SendMessage(LB_ADDSTRING, 0, Text("b")), 0);
    EXPECT_EQ(list->SendMessage(LB_INSERTSTRING, Index(0), Text("a")), 0);
    EXPECT_EQ(list->SendMessage(LB_INSERTSTRING, Index(-1), Text("c")), 2);
    EXPECT_EQ(list->SendMessage(LB_INSERTSTRING, Index(4), Text("x")), LB_ERR);
    EXPECT_EQ(list->SendMessage(LB_GETCOUNT), 3);
    EXPECT_EQ(Row(*list, 0), "a/1");
    EXPECT_EQ(Row(*list, 2), "c/1");
    EXPECT_EQ(Row(*list, 3), "ERR");
    EXPECT_EQ(Row(*list, -1), "ERR");
    EXPECT_EQ(list->SendMessage(LB_GETTEXT, 0, 0), LB_ERR) << "no buffer";
    EXPECT_EQ(list->SendMessage(LB_GETTEXTLEN, Index(1)), 1);
    EXPECT_EQ(list->SendMessage(LB_GETTEXTLEN, Index(9)), LB_ERR);
}

TEST(ListBox, DeleteReturnsTheNewCountAndTheSelectionFollowsItsRow) {
    auto list = Make("LISTBOX");
    for (const char* row : {"a", "b", "c", "d"}) list->SendMessage(LB_ADDSTRING, 0, Text(row));
    EXPECT_EQ(list->SendMessage(LB_GETCURSEL), LB_ERR);
    EXPECT_EQ(list->SendMessage(LB_SETCURSEL, Index(2)), 2);
    EXPECT_EQ(list->SendMessage(LB_DELETESTRING, Index(0)), 3);
    EXPECT_EQ(list->SendMessage(LB_GETCURSEL), 1) << "still row c";
    list->SendMessage(LB_INSERTSTRING, Index(0), Text("z"));
    EXPECT_EQ(list->SendMessage(LB_GETCURSEL), 2);
    list->SendMessage(LB_INSERTSTRING, Index(2), Text("y"));
    EXPECT_EQ(list->SendMessage(LB_GETCURSEL), 3) << "row c, pushed down by a row in its place";
    EXPECT_EQ(list->SendMessage(LB_DELETESTRING, Index(7)), LB_ERR);
    EXPECT_EQ(list->SendMessage(LB_DELETESTRING, Index(3)), 4);
    EXPECT_EQ(list->SendMessage(LB_GETCURSEL), LB_ERR) << "the selected row is gone";
    list->SendMessage(LB_SETCURSEL, Index(1));
    EXPECT_EQ(list->SendMessage(LB_SETCURSEL, Index(5)), LB_ERR);
    EXPECT_EQ(list->SendMessage(LB_GETCURSEL), LB_ERR);
    list->SendMessage(LB_SETCURSEL, Index(1));
    list->SendMessage(LB_RESETCONTENT);
    EXPECT_EQ(list->SendMessage(LB_GETCOUNT), 0);
    EXPECT_EQ(list->SendMessage(LB_GETCURSEL), LB_ERR);
}

TEST(ListBox, LongListsKeepEveryRowsTextAndDataThroughRemovals) {
    auto list = Make("LISTBOX");
    auto& box = *dynamic_cast<CListBox*>(list.get());
    const std::string longRow(100000, 'x');
    const auto text = [&](int i) { return i % 1000 == 7 ? longRow : "row " + std::to_string(i); };
    constexpr int kRows = 50000;
    for (int i = 0; i < kRows; ++i) {
        box.AddString(text(i).c_str());
        box.SetItemData(i, static_cast<DWORD_PTR>(i));
    }
    // Removing most rows frees the texts they held many times over.
    for (int count = kRows; count > 100; --count) ASSERT_EQ(box.DeleteString(count - 1), count - 1);
    for (int i = 0; i < 100; ++i) {
        std::string row;
        ASSERT_EQ(box.GetText(i, row), static_cast<int>(text(i).size()));
        ASSERT_EQ(row, text(i));
        ASSERT_EQ(box.GetItemData(i), static_cast<DWORD_PTR>(i));
    }
    box.InsertString(50, "");
    std::string row = "not empty";
    EXPECT_EQ(box.GetText(50, row), 0);
    EXPECT_EQ(row, "");
}

TEST(ListBox, StorageMadeBeforeAFillChangesNothingButTheRoom) {
    auto list = Make("LISTBOX");
    list->SendMessage(LB_ADDSTRING, 0, Text("first"));
    list->SendMessage(LB_SETCURSEL, Index(0));
    EXPECT_EQ(list->SendMessage(LB_INITSTORAGE, Index(1000), 5), 1001);
    EXPECT_EQ(list->SendMessage(LB_GETCOUNT), 1);
    EXPECT_EQ(list->SendMessage(LB_GETCURSEL), 0);
    // Texts beyond the bytes asked for, and more rows than asked for, still fit.
    for (int i = 1; i < 3000; ++i) {
        const std::string row = "row " + std::to_string(i);
        ASSERT_EQ(list->SendMessage(LB_ADDSTRING, 0, Text(row.c_str())), i);
    }
    EXPECT_EQ(Row(*list, 0), "first/5");
    EXPECT_EQ(Row(*list, 2999), "row 2999/8");
    EXPECT_EQ(list->SendMessage(LB_INITSTORAGE, ~WPARAM{0} / 2, 0), LB_ERRSPACE);
    EXPECT_EQ(list->SendMessage(LB_GETCOUNT), 3000) << "refused room leaves the list as it is";
    EXPECT_EQ(list->SendMessage(LB_INITSTORAGE, 0, LPARAM{1} << 60), 3000) << "made as needed";
    EXPECT_EQ(Row(*list, 1), "row 1/5");
}

TEST(ComboBox, KeepsItemDataAndShowsTheSelectedItemAsItsText) {
    auto combo = Make("COMBOBOX", CBS_DROPDOWNLIST);
    auto* typed = dynamic_cast<CComboBox*>(combo.get());
    ASSERT_NE(typed, nullptr);
    EXPECT_EQ(typed->AddString("mm"), 0);
    EXPECT_EQ(typed->AddString("in"), 1);
    EXPECT_EQ(combo->SendMessage(CB_SETITEMDATA, Index(1), 42), 0);
    EXPECT_EQ(combo->SendMessage(CB_GETITEMDATA, Index(1)), 42);
    EXPECT_EQ(combo->SendMessage(CB_GETITEMDATA, Index(2)), CB_ERR);
    EXPECT_EQ(combo->SendMessage(CB_SETITEMDATA, Index(2), 1), CB_ERR);

    std::string text;
    combo->GetWindowText(text);
    EXPECT_EQ(text, "") << "a drop-down list has no text of its own";
    EXPECT_EQ(typed->SetCurSel(1), 1);
    combo->GetWindowText(text);
    EXPECT_EQ(text, "in");
    char buffer[8] = {};
    EXPECT_EQ(combo->SendMessage(CB_GETLBTEXT, Index(0), reinterpret_cast<LPARAM>(buffer)), 2);
    EXPECT_STREQ(buffer, "mm");
    EXPECT_EQ(typed->GetLBText(5, text), CB_ERR);
    EXPECT_EQ(combo->SendMessage(CB_SETCURSEL, Index(-1)), CB_ERR);
    EXPECT_EQ(typed->GetCurSel(), CB_ERR);
    EXPECT_EQ(combo->SendMessage(CB_DELETESTRING, Index(0)), 1);
    EXPECT_EQ(combo->SendMessage(LB_ADDSTRING, 0, Text("list message")), 0) << "ignored";
    EXPECT_EQ(typed->GetCount(), 1);
}

TEST(Edit, SelectionIsClampedAndResetByNewText) {
    auto edit = Make("EDIT");
    edit->SetWindowText("hello");
    edit->SendMessage(EM_SETSEL, 0, -1);
    EXPECT_EQ(edit->GetEditSelStart(), 0);
    EXPECT_EQ(edit->GetEditSelEnd(), 5);
    edit->SendMessage(EM_SETSEL, 4, 2);
    EXPECT_EQ(edit->GetEditSelStart(), 2);
    EXPECT_EQ(edit->GetEditSelEnd(), 4);
    edit->SendMessage(EM_SETSEL, 9, 20);
    EXPECT_EQ(edit->GetEditSelStart(), 5);
    DWORD start = 0, end = 0;
    edit->SendMessage(EM_SETSEL, 1, 3);
    edit->SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 3u);
    edit->SendMessage(EM_SETSEL, Index(-1), 0);
    EXPECT_EQ(edit->GetEditSelStart(), 3) << "no selection: the caret stays";
    edit->SetWindowText("bye");
    EXPECT_EQ(edit->GetEditSelEnd(), 0);
    EXPECT_EQ(edit->SendMessage(EM_SCROLLCARET), TRUE);
}

TEST(Text, IsCopiedWithinTheBufferAndAlwaysTerminated) {
    auto edit = Make("EDIT");
    EXPECT_EQ(edit->GetWindowTextLength(), 7);
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(edit->GetWindowText(small, 4), 3);
    EXPECT_STREQ(small, "ini");
    EXPECT_EQ(edit->GetWindowText(small, 0), 0);
    EXPECT_EQ(edit->SendMessage(WM_GETTEXT, 4, reinterpret_cast<LPARAM>(small)), 3);
    EXPECT_EQ(edit->SendMessage(WM_SETTEXT, 0, Text("new")), TRUE);
    EXPECT_EQ(edit->SendMessage(WM_GETTEXTLENGTH), 3);
    edit->SetWindowText(nullptr);
    EXPECT_EQ(edit->GetWindowTextLength(), 0);
}

TEST(Buttons, KeepTheirCheckAndReportTheirKind) {
    auto check = Make("BUTTON", BS_AUTOCHECKBOX);
    EXPECT_TRUE(check->IsCheckBox());
    EXPECT_FALSE(check->IsPushButton());
    EXPECT_EQ(check->SendMessage(BM_GETCHECK), BST_UNCHECKED);
    check->SendMessage(BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ(check->SendMessage(BM_GETCHECK), BST_CHECKED);
    EXPECT_TRUE(Make("BUTTON", BS_AUTORADIOBUTTON)->IsRadioButton());
    EXPECT_TRUE(Make("BUTTON", BS_GROUPBOX)->IsGroupBox());
    EXPECT_TRUE(Make("BUTTON", BS_DEFPUSHBUTTON)->IsPushButton());
}

TEST(Windows, EnableAndShowReportThePreviousState) {
    auto edit = Make("EDIT", WS_DISABLED);
    EXPECT_FALSE(edit->IsWindowEnabled());
    EXPECT_TRUE(edit->EnableWindow(TRUE));
    EXPECT_FALSE(edit->EnableWindow(FALSE));
    EXPECT_TRUE(edit->ShowWindow(SW_HIDE));
    EXPECT_FALSE(edit->IsWindowVisible());
    EXPECT_FALSE(edit->ShowWindow(SW_SHOW));
}

TEST(Windows, RecordTheFontTheyAreGiven) {
    auto header = Make("STATIC");
    CFont font;
    LOGFONT description{};
    font.CreateFontIndirect(&description);
    header->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.GetSafeHandle()), TRUE);
    EXPECT_EQ(header->GetFont(), font.GetSafeHandle());
    EXPECT_EQ(header->SendMessage(WM_GETFONT), reinterpret_cast<LRESULT>(font.GetSafeHandle()));
}

}  // namespace
