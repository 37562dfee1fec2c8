// The resource script parser: the editor's template 214 control by control, the implied
// styles of each statement, refusals, and the generated registration.
#include <gtest/gtest.h>

#include <map>

#include "TestResource.h"
#include "platform/DialogTemplate.h"
#include "platform/WinDefs.h"
#include "platform/rc/ResourceScript.h"
#include "tests/support/BuiltFiles.h"

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kGroup = BS_GROUPBOX;
constexpr DWORD kTextL = WS_GROUP | SS_LEFT;
constexpr DWORD kTextR = WS_GROUP | SS_RIGHT;
constexpr DWORD kDrop = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kEdit = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kPush = BS_PUSHBUTTON | WS_TABSTOP;

struct Row {
    int id;
    const char* symbol;
    const char* className;
    const char* caption;
    int x, y, cx, cy;
    DWORD style;
};

// The editor's template, in template order (which is the tab order).
const Row kTemplate214[] = {
    {-1, "", "BUTTON", "Configuration", 6, 7, 242, 62, kGroup},
    {-1, "", "STATIC", "Type of Profile", 13, 19, 46, 8, kTextL},
    {12001, "IDC_PROFILE_TYPE", "COMBOBOX", "", 64, 17, 31, 51, kDrop},
    {1510, "IDC_CONFIGURE_MODE", "BUTTON", "Set X, Y and Z axes", 31, 32, 79, 10, kCheck},
    {1509, "IDC_CLEAR_BUFFER", "BUTTON", "Clear Buffer", 31, 45, 53, 10, kCheck},
    {1511, "IDC_INSERT_END_SEGMENT", "BUTTON", "Insert End Segment", 31, 58, 78, 10, kCheck},
    {12003, "IDC_X_AXIS_LABEL", "STATIC", "X-Axis", 149, 19, 20, 8, kTextL},
    {12002, "IDC_SLAVE_X", "COMBOBOX", "", 173, 17, 24, 55, kDrop},
    {12004, "IDC_Y_AXIS_LABEL", "STATIC", "Y-Axis", 149, 35, 20, 8, kTextL},
    {12005, "IDC_SLAVE_Y", "COMBOBOX", "", 173, 33, 24, 49, kDrop},
    {12006, "IDC_Z_AXIS_LABEL", "STATIC", "Z-Axis", 149, 51, 20, 8, kTextL},
    {12007, "IDC_SLAVE_Z", "COMBOBOX", "", 173, 49, 24, 45, kDrop},
    {-1, "", "BUTTON", "Trajectory", 6, 70, 242, 123, kGroup},
    {12008, "IDC_ACCELERATION_CHECK", "BUTTON", "Vector acceleration", 15, 81, 77, 10, kCheck},
    {1022, "IDC_ACCELERATION", "EDIT", "", 109, 79, 60, 14, kEdit},
    {1021, "IDC_ACCELERATION_UNIT", "COMBOBOX", "", 174, 80, 55, 66, kDrop},
    {12009, "IDC_SPEED_CHECK", "BUTTON", "Vector speed", 15, 96, 58, 10, kCheck},
    {1024, "IDC_SPEED", "EDIT", "", 109, 94, 60, 14, kEdit},
    {1025, "IDC_SPEED_UNIT", "COMBOBOX", "", 174, 95, 55, 66, kDrop},
    {12010, "IDC_POSITION_X_LABEL", "STATIC", "Position increment on axis X", 15, 112, 89, 8,
     kTextR},
    {1017, "IDC_POSITION_X", "EDIT", "", 109, 109, 60, 14, kEdit},
    {1019, "IDC_POSITION_X_UNIT", "COMBOBOX", "", 174, 110, 55, 66, kDrop},
    {12011, "IDC_POSITION_Y_LABEL", "STATIC", "Position increment on axis Y", 15, 127, 89, 8,
     kTextR},
    {1020, "IDC_POSITION_Y", "EDIT", "", 109, 124, 60, 14, kEdit},
    {1026, "IDC_POSITION_Y_UNIT", "COMBOBOX", "", 174, 125, 55, 66, kDrop},
    {12012, "IDC_POSITION_Z_LABEL", "STATIC", "Position increment on axis Z", 15, 142, 89, 8,
     kTextR},
    {1027, "IDC_POSITION_Z", "EDIT", "", 109, 139, 60, 14, kEdit},
    {1028, "IDC_POSITION_Z_UNIT", "COMBOBOX", "", 174, 140, 55, 66, kDrop},
    {1013, "IDC_PREVIOUS", "BUTTON", "Previous", 20, 158, 50, 14, kPush},
    {1014, "IDC_NEXT", "BUTTON", "Next", 74, 158, 50, 14, kPush},
    {1016, "IDC_MOVE_UP", "BUTTON", "Move Up", 128, 158, 50, 14, kPush},
    {1018, "IDC_MOVE_DOWN", "BUTTON", "Move Down", 182, 158, 50, 14, kPush},
    {1004, "IDC_INSERT_ABOVE", "BUTTON", "Insert Above", 20, 175, 50, 14, kPush},
    {1002, "IDC_INSERT_BELOW", "BUTTON", "Insert Below", 74, 175, 50, 14, kPush},
    {1001, "IDC_UPDATE", "BUTTON", "&Update", 128, 175, 50, 14, kPush},
    {1000, "IDC_REMOVE", "BUTTON", "&Remove", 182, 175, 50, 14, kPush},
    {1015, "IDC_LIST_HEADER", "STATIC", "HEADER", 10, 194, 357, 11, kTextL},
    {12013, "IDC_SEGMENT_LIST", "LISTBOX", "", 6, 207, 362, 88,
     WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT},
    {1003, "IDC_IMPORT", "BUTTON", "I&mport From File", 302, 178, 66, 14, kPush},
    {-1, "", "BUTTON", "Execute", 254, 7, 115, 125, kGroup},
    {1011, "IDC_IMMEDIATE", "BUTTON", "&Immediate", 258, 20, 46, 10, BS_AUTORADIOBUTTON | WS_GROUP},
    {1012, "IDC_ON_EVENT", "BUTTON", "&On event", 258, 48, 45, 10, BS_AUTORADIOBUTTON},
    {1503, "IDC_CHANGE_EVENT", "BUTTON", "Change Event", 304, 40, 60, 12, kPush},
    {1504, "IDC_EDIT_EVENT", "BUTTON", "Edit Event", 304, 54, 60, 12, kPush},
    {1505, "IDC_EVENT_DESCRIPTION", "EDIT", "", 258, 71, 106, 38,
     WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | ES_WANTRETURN},
    {1023, "IDC_WAIT_FOR_COMPLETION", "BUTTON", "Then wait until motion is completed", 258, 112,
     105, 15, kCheck | BS_MULTILINE},
    {1, "IDOK", "BUTTON", "OK", 96, 298, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {2, "IDCANCEL", "BUTTON", "Cancel", 162, 298, 50, 14, kPush},
    {57671, "ID_DEFAULT_HELP", "BUTTON", "Help", 228, 298, 50, 14, kPush},
};

ResourceScript Parse(const std::string& text,
                     const std::map<std::string, std::string>& files = {}) {
    return ResourceScript::Parse(text, "dir/test.rc",
                                 [&](const std::string& path, std::string& out) {
                                     auto it = files.find(path);
                                     if (it == files.end()) return false;
                                     out = it->second;
                                     return true;
                                 });
}

std::string ParseError(const std::string& text) {
    try {
        Parse(text);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "no error";
}

const char* const kDialogHead = "1 DIALOG 0, 0, 10, 10\nBEGIN\n";

TEST(EditorTemplate, HasEveryControlOfTheTableInOrder) {
    ResourceScript script = ResourceScript::Load(SourcePath("module/dialog/Vantrel.rc"));
    const DialogTemplate* dialog = script.FindDialog(214);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->symbol, "IDD_LINEAR_INTERPOLATION");
    EXPECT_EQ(dialog->language, 1033u);
    EXPECT_EQ(dialog->style,
              WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CONTEXTHELP);
    EXPECT_EQ(dialog->exStyle, 0u);
    EXPECT_EQ(std::tie(dialog->x, dialog->y, dialog->cx, dialog->cy),
              std::make_tuple(0, 0, 374, 316));
    EXPECT_EQ(dialog->caption, "Motion - Linear Interpolation");
    EXPECT_EQ(dialog->fontFace, "MS Sans Serif");
    EXPECT_EQ(dialog->fontPointSize, 8);
    EXPECT_EQ(dialog->fontWeight, 0);
    EXPECT_EQ(dialog->fontItalic, 0);
    EXPECT_EQ(dialog->fontCharSet, 1);

    ASSERT_EQ(dialog->controls.size(), std::size(kTemplate214));
    for (size_t i = 0; i < dialog->controls.size(); ++i) {
        const DialogControlTemplate& c = dialog->controls[i];
        const Row& want = kTemplate214[i];
        SCOPED_TRACE("control " + std::to_string(i) + " (" + want.caption + want.symbol + ")");
        EXPECT_EQ(c.id, want.id);
        EXPECT_EQ(c.symbol, want.symbol);
        EXPECT_EQ(c.className, want.className);
        EXPECT_EQ(c.text, want.caption);
        EXPECT_EQ(std::tie(c.x, c.y, c.cx, c.cy), std::tie(want.x, want.y, want.cx, want.cy));
        EXPECT_EQ(c.style, want.style | kChild) << std::hex << c.style;
        EXPECT_EQ(c.exStyle, 0u);
        EXPECT_EQ(c.helpId, 0u);
    }
}

TEST(EditorTemplate, AddsABlankItemToTheFourConfigurationCombos) {
    ResourceScript script = ResourceScript::Load(SourcePath("module/dialog/Vantrel.rc"));
    const DialogTemplate* dialog = script.FindDialog(214);
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->initItems.size(), 4u);
    const int combos[] = {12001, 12002, 12005, 12007};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(dialog->initItems[i].controlId, combos[i]);
        EXPECT_EQ(dialog->initItems[i].message, 0x0403u);
        EXPECT_EQ(dialog->initItems[i].data, std::string(" \0", 2));
    }
    bool updateCommand = false;
    for (const ResourceSymbol& symbol : dialog->symbols) {
        updateCommand |= symbol.name == "ID_UPDATE_SEGMENT" && symbol.value == 10041;
    }
    EXPECT_TRUE(updateCommand);
}

TEST(Statements, ImplyTheirStylesAndNotRemovesThem) {
    ResourceScript script = Parse(std::string(kDialogHead) +
                                  "LTEXT \"a\", 10, 0, 0, 1, 1\n"
                                  "CTEXT \"a\", 11, 0, 0, 1, 1, SS_NOPREFIX\n"
                                  "PUSHBUTTON \"a\", 12, 0, 0, 1, 1, NOT WS_TABSTOP\n"
                                  "EDITTEXT 13, 0, 0, 1, 1\n"
                                  "EDITTEXT 14, 0, 0, 1, 1, ES_READONLY | NOT WS_BORDER\n"
                                  "COMBOBOX 15, 0, 0, 1, 1, CBS_DROPDOWNLIST\n"
                                  "LISTBOX 16, 0, 0, 1, 1\n"
                                  "GROUPBOX \"g\", 17, 0, 0, 1, 1\n"
                                  "CONTROL \"c\", 18, \"Button\", BS_AUTOCHECKBOX, 0, 0, 1, 1\n"
                                  "AUTOCHECKBOX \"d\", 19, 0, 0, 1, 1\n"
                                  "END\n");
    const auto& c = script.FindDialog(1)->controls;
    ASSERT_EQ(c.size(), 10u);
    EXPECT_EQ(c[0].style, kChild | SS_LEFT | WS_GROUP);
    EXPECT_EQ(c[1].style, kChild | SS_CENTER | WS_GROUP | SS_NOPREFIX);
    EXPECT_EQ(c[2].style, kChild | BS_PUSHBUTTON);
    EXPECT_EQ(c[3].style, kChild | ES_LEFT | WS_BORDER | WS_TABSTOP);
    EXPECT_EQ(c[4].style, kChild | ES_READONLY | WS_TABSTOP);
    EXPECT_EQ(c[5].style, kChild | CBS_DROPDOWNLIST | WS_TABSTOP);
    EXPECT_EQ(c[6].style, kChild | LBS_NOTIFY | WS_BORDER);
    EXPECT_EQ(c[7].style, kChild | BS_GROUPBOX);
    EXPECT_EQ(c[8].style, kChild | BS_AUTOCHECKBOX);
    EXPECT_EQ(c[8].className, "BUTTON");
    EXPECT_EQ(c[9].style, kChild | BS_AUTOCHECKBOX | WS_TABSTOP);
}

TEST(Statements, DialogDefaultsCaptionAndFontStyles) {
    ResourceScript script =
        Parse("7 DIALOGEX 1, 2, 30, 40\nCAPTION \"T\"\nFONT 9, \"F\"\nBEGIN\nEND\n");
    const DialogTemplate* dialog = script.FindDialog(7);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->style, WS_POPUP | WS_BORDER | WS_SYSMENU | WS_CAPTION | DS_SETFONT);
    EXPECT_EQ(dialog->fontPointSize, 9);
    EXPECT_EQ(dialog->language, 0x409u);
}

TEST(Statements, LettersOfNumbersAndEscapesMayBeOfEitherCase) {
    ResourceScript script =
        Parse("1 DIALOG 0x1f, 0X1Fl, 7uL, 8Lu\nCAPTION \"\\x4a\\x4B\\x4g\\x414\"\nBEGIN\nEND\n");
    const DialogTemplate* dialog = script.FindDialog(1);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->x, 31);
    EXPECT_EQ(dialog->y, 31);
    EXPECT_EQ(dialog->cx, 7);
    EXPECT_EQ(dialog->cy, 8);
    EXPECT_EQ(dialog->caption, "JK\x04gA4");  // two hex digits at most
}

TEST(Preprocessor, TakesSymbolsFromIncludedHeadersAndConditionals) {
    std::map<std::string, std::string> files = {
        {"dir/ids.h",
         "#pragma once\n#define IDD_MAIN 5 // main\n#define IDC_A (100 + 1)\n"
         "#ifndef IDC_STATIC\n#define IDC_STATIC -1\n#endif\n"
         "#ifdef NOT_DEFINED\n#define IDC_B 7\n#else\n#define IDC_B 8\n#endif\n"}};
    ResourceScript script = Parse(
        "#include \"ids.h\"\n#include <windows.h>\n/* block\ncomment */\n"
        "IDD_MAIN DIALOG 0, 0, 1, 1\nBEGIN\n"
        "  LTEXT \"s\", IDC_STATIC, 0, 0, 1, 1\n"
        "  EDITTEXT IDC_A, 0, 0, 1, 1\n"
        "  EDITTEXT IDC_B, 0, 0, 1, 1\nEND\n",
        files);
    const DialogTemplate* dialog = script.FindDialog(5);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->symbol, "IDD_MAIN");
    EXPECT_EQ(dialog->controls[0].symbol, "");
    EXPECT_EQ(dialog->controls[0].id, -1);
    EXPECT_EQ(dialog->controls[1].id, 101);
    EXPECT_EQ(dialog->controls[1].symbol, "IDC_A");
    EXPECT_EQ(dialog->controls[2].id, 8);
    ASSERT_EQ(script.Symbols().size(), 3u);
}

TEST(Preprocessor, KnowsTheFrameworkConstantsWithoutAnIncludeAndLetsHeadersRedefineThem) {
    ResourceScript script = Parse(
        "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_UK\n"
        "1 DIALOG 0, 0, 10, 10\nSTYLE DS_MODALFRAME | WS_POPUP\nBEGIN\n"
        "  LTEXT \"a\", IDC_STATIC, 0, 0, 1, 1, SS_NOPREFIX\n"
        "  EDITTEXT IDOK, 0, 0, 1, 1, ES_NUMBER | ES_WANTRETURN\n"
        "  LISTBOX IDCANCEL, 0, 0, 1, 1, LBS_NOSEL\nEND\n");
    const DialogTemplate* dialog = script.FindDialog(1);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->language, static_cast<UINT>(SUBLANG_ENGLISH_UK << 10 | LANG_ENGLISH));
    EXPECT_EQ(dialog->style, DS_MODALFRAME | WS_POPUP);
    ASSERT_EQ(dialog->controls.size(), 3u);
    EXPECT_EQ(dialog->controls[0].id, IDC_STATIC);
    EXPECT_EQ(dialog->controls[0].style & SS_NOPREFIX, SS_NOPREFIX);
    EXPECT_EQ(dialog->controls[1].id, IDOK);
    EXPECT_EQ(dialog->controls[1].style & (ES_NUMBER | ES_WANTRETURN), ES_NUMBER | ES_WANTRETURN);
    EXPECT_EQ(dialog->controls[2].id, IDCANCEL);
    EXPECT_EQ(dialog->controls[2].style & LBS_NOSEL, LBS_NOSEL);

    script = Parse(
        "#include \"ids.h\"\n1 DIALOG 0, 0, 1, 1\nBEGIN\n  EDITTEXT IDCANCEL, 0, 0, 1, 1\nEND\n",
        {{"dir/ids.h", "#define IDCANCEL 42\n"}});
    EXPECT_EQ(script.FindDialog(1)->controls[0].id, 42);
}

TEST(Refusals, NameTheFileTheLineAndTheProblem) {
    EXPECT_EQ(ParseError("#include \"missing.h\"\n"), "dir/test.rc:1: cannot read dir/missing.h");
    EXPECT_EQ(ParseError(std::string(kDialogHead) + "EDITTEXT IDC_X, 0, 0, 1, 1\nEND\n"),
              "dir/test.rc:3: unknown symbol IDC_X");
    EXPECT_EQ(ParseError(std::string(kDialogHead) + "SLIDER 3, 0, 0, 1, 1\nEND\n"),
              "dir/test.rc:3: unsupported control statement SLIDER");
    EXPECT_EQ(ParseError(std::string(kDialogHead) +
                         "CONTROL \"\", 3, \"msctls_trackbar32\", 0, 0, 0, 1, 1\nEND\n"),
              "dir/test.rc:3: unsupported control class msctls_trackbar32");
    EXPECT_EQ(ParseError(std::string(kDialogHead) + "EDITTEXT 3, 0, 0, 1\nEND\n"),
              "dir/test.rc:4: expected ',' before END");
    EXPECT_EQ(ParseError(std::string(kDialogHead) + "EDITTEXT 3, 0, 0, 1, 99999\nEND\n"),
              "dir/test.rc:3: height 99999 is out of range 0 to 32767");
    EXPECT_EQ(ParseError(std::string(kDialogHead) + "LTEXT \"open, 3, 0, 0, 1, 1\nEND\n"),
              "dir/test.rc:3: string without closing quote");
    EXPECT_EQ(ParseError("1 MENU\nBEGIN\nEND\n"), "dir/test.rc:1: unsupported resource type MENU");
    EXPECT_EQ(ParseError("1 DIALOG 0, 0, 1, 1\nMENU 5\nBEGIN\nEND\n"),
              "dir/test.rc:2: unsupported dialog statement MENU");
    EXPECT_EQ(ParseError("#ifdef X\n"), "dir/test.rc:1: #ifdef or #ifndef without #endif");
    EXPECT_EQ(ParseError(std::string(kDialogHead) + "EDITTEXT 3, 0, 0, 1, 1\n"),
              "dir/test.rc:4: dialog without END");
}

TEST(Refusals, DialogInitDataMustBeWellFormed) {
    std::string dialog = std::string(kDialogHead) + "COMBOBOX 3, 0, 0, 1, 1\nEND\n";
    EXPECT_EQ(ParseError(dialog + "1 DLGINIT\nBEGIN\n3, 0x403, 2, 0\n\"a\\000\"\nEND\n"),
              "dir/test.rc:5: DLGINIT data must end with 0");
    EXPECT_EQ(ParseError(dialog + "1 DLGINIT\nBEGIN\n3, 0x403, 9, 0\n\"a\\000\"\n0\nEND\n"),
              "dir/test.rc:5: DLGINIT entry is longer than its data");
    EXPECT_EQ(ParseError(dialog + "1 DLGINIT\nBEGIN\n4, 0x403, 2, 0\n\"a\\000\"\n0\nEND\n"),
              "dir/test.rc:5: DLGINIT names control 4, which the dialog lacks");
    EXPECT_EQ(ParseError(dialog + "1 DLGINIT\nBEGIN\n3, 0x999, 2, 0\n\"a\\000\"\n0\nEND\n"),
              "dir/test.rc:5: unsupported DLGINIT message 2457");
    EXPECT_EQ(ParseError(dialog + "2 DLGINIT\nBEGIN\n0\nEND\n"),
              "dir/test.rc:5: DLGINIT 2 has no dialog");
    ResourceScript script =
        Parse(dialog + "1 DLGINIT\nBEGIN\n3, 0x403, 4L\n\"ab\\0\\0\", 0\nEND\n");
    ASSERT_EQ(script.FindDialog(1)->initItems.size(), 1u);
    EXPECT_EQ(script.FindDialog(1)->initItems[0].data, std::string("ab\0\0", 4));
    // Two blocks for one dialog add each of their items once.
    script = Parse(dialog + "1 DLGINIT\nBEGIN\n3, 0x403, 2, 0\n\"a\\000\"\n0\nEND\n" +
                   "1 DLGINIT\nBEGIN\n3, 0x403, 2, 0\n\"b\\000\"\n0\nEND\n");
    ASSERT_EQ(script.FindDialog(1)->initItems.size(), 2u);
    EXPECT_EQ(script.FindDialog(1)->initItems[1].data, std::string("b\0", 2));
}

TEST(GeneratedSource, RegistersTheTemplatesAsParsed) {
    ResourceScript script = ResourceScript::Load(SourcePath("tests/platform/TestDialog.rc"));
    const DialogTemplate* parsed = script.FindDialog(IDD_TEST);
    std::shared_ptr<const DialogTemplate> registered = AfxFindDialogTemplate(IDD_TEST);
    ASSERT_NE(parsed, nullptr);
    ASSERT_NE(registered, nullptr);
    EXPECT_EQ(registered->caption, parsed->caption);
    EXPECT_EQ(registered->style, parsed->style);
    ASSERT_EQ(registered->controls.size(), parsed->controls.size());
    for (size_t i = 0; i < parsed->controls.size(); ++i) {
        const DialogControlTemplate& a = registered->controls[i];
        const DialogControlTemplate& b = parsed->controls[i];
        EXPECT_EQ(std::tie(a.id, a.symbol, a.className, a.text, a.style, a.x, a.y, a.cx, a.cy),
                  std::tie(b.id, b.symbol, b.className, b.text, b.style, b.x, b.y, b.cx, b.cy));
    }
    ASSERT_EQ(registered->initItems.size(), 2u);
    EXPECT_EQ(registered->initItems[1].data, std::string("two\0", 4));
    EXPECT_EQ(registered->symbols.size(), parsed->symbols.size());
}

TEST(GeneratedSource, EscapesEveryByteOfTexts) {
    ResourceScript script =
        Parse("1 DIALOG 0, 0, 1, 1\nCAPTION \"a\"\"b\\\\c\\t\\x7f?\\303\\251\"\nBEGIN\nEND\n");
    EXPECT_EQ(script.FindDialog(1)->caption, "a\"b\\c\t\x7f?\xC3\xA9");
    std::string source = script.GenerateSource("t.rc");
    EXPECT_NE(source.find("t.caption = \"a\\\"b\\\\c\\011\\177\\077\\303\\251\";"),
              std::string::npos)
        << source;
}

}  // namespace
