// The headless back end: script commands with a person's semantics, refusals naming the line,
// and the JSON state dump.
#include <gtest/gtest.h>

#include "TestDialog.h"
#include "platform/ActiveBackendGuard.h"
#include "platform/HeadlessBackend.h"

namespace {

using Log = std::vector<std::string>;
using Json = nlohmann::ordered_json;

TEST(Script, ClickingMovesTheFocusAndTheEditLosingItIsTold) {
    TestDialog dialog;
    HeadlessRun run = RunScript(dialog, "focus IDC_COUNT\nclick IDC_ADD\nclick 1010\n");
    EXPECT_EQ(dialog.log, (Log{"count-killfocus", "add:1010", "add:1010"}));
    EXPECT_EQ(run.result, IDCANCEL) << "a script that ends with the dialog open cancels it";
}

TEST(Script, CheckBoxesToggleAndRadioButtonsCheckWithinTheirGroup) {
    TestDialog dialog;
    HeadlessRun run = RunScript(dialog,
                                "click IDC_ENABLED\nclick IDC_FIRST\nclick IDC_SECOND\ndump\n"
                                "click IDC_ENABLED\ndump\n");
    EXPECT_EQ(dialog.log, (Log{"enabled", "enabled"}));
    std::vector<Json> dumps = run.Dumps();
    ASSERT_EQ(dumps.size(), 2u);
    for (const char* name : {"IDC_ENABLED", "IDC_FIRST", "IDC_SECOND"}) {
        EXPECT_EQ(ControlIn(dumps[0], name).at("enabled"), true) << name;
        EXPECT_EQ(ControlIn(dumps[0], name).at("visible"), true) << name;
    }
    EXPECT_EQ(ControlIn(dumps[0], "IDC_ENABLED").at("checked"), true);
    EXPECT_EQ(ControlIn(dumps[0], "IDC_FIRST").at("checked"), false);
    EXPECT_EQ(ControlIn(dumps[0], "IDC_SECOND").at("checked"), true);
    EXPECT_EQ(ControlIn(dumps[1], "IDC_ENABLED").at("checked"), false);
}

TEST(Script, SelectingSetsTheSelectionThenNotifies) {
    TestDialog dialog;
    HeadlessRun run = RunScript(dialog, "select IDC_KIND 1\nselect IDC_ROWS 2\ndump\n");
    EXPECT_EQ(dialog.log, (Log{"kind", "rows"}));
    const Json dump = run.Dumps().at(0);
    EXPECT_EQ(ControlIn(dump, "IDC_KIND"), (Json{{"id", IDC_KIND},
                                                 {"name", "IDC_KIND"},
                                                 {"class", "COMBOBOX"},
                                                 {"text", "two"},
                                                 {"enabled", true},
                                                 {"visible", true},
                                                 {"items", {"one", "two"}},
                                                 {"selection", 1}}));
    EXPECT_EQ(ControlIn(dump, "IDC_ROWS").at("items"), Json::array({"alpha", "beta", "gamma"}));
    EXPECT_EQ(ControlIn(dump, "IDC_ROWS").at("selection"), 2);
    EXPECT_EQ(dump.at("focus"), IDC_ROWS);
}

TEST(Script, SelectingByTextChoosesTheItemOfThatText) {
    TestDialog dialog;
    HeadlessRun run =
        RunScript(dialog, "select IDC_KIND two\nselect IDC_ROWS   beta   # the second row\ndump\n");
    EXPECT_EQ(run.error, "");
    EXPECT_EQ(dialog.log, (Log{"kind", "rows"}));
    const Json dump = run.Dumps().at(0);
    EXPECT_EQ(ControlIn(dump, "IDC_KIND").at("selection"), 1);
    EXPECT_EQ(ControlIn(dump, "IDC_ROWS").at("selection"), 1);
}

TEST(Script, MessageBoxesAreAlsoWrittenAsOneLineEach) {
    TestDialog dialog;
    dialog.onReset = [](TestDialog&) {
        AfxMessageBox("Two\r\nlines\n", MB_ICONERROR);
        AfxMessageBox("Escape \x1b[31m and\ttab", MB_OK);
        AfxMessageBox("Done.", MB_ICONINFORMATION);
    };
    HeadlessRun run = RunScript(dialog, "command ID_RESET\ntype IDC_COUNT x\nok\ndump\ncancel\n");
    EXPECT_EQ(run.messages,
              "error: Two lines\n"
              "message: Escape \\x1b[31m and\\ttab\n"
              "info: Done.\n"
              "warning: Count must be a whole number.\n");
    EXPECT_EQ(run.Dumps().at(0).at("messages").at(0),
              (Json{{"text", "Two\r\nlines\n"}, {"icon", "error"}}))
        << "the dump keeps the text as it is";
}

TEST(Script, EnterClicksAFocusedButtonFeedsAWantReturnEditOrPressesOk) {
    TestDialog dialog;
    HeadlessRun run = RunScript(dialog,
                                "focus IDC_ADD\nenter\n"
                                "type IDC_NOTES ab\nenter\ndump\n"
                                "focus IDC_NAME\nenter\n");
    EXPECT_EQ(dialog.log, (Log{"add:1010"}));
    EXPECT_EQ(ControlIn(run.Dumps().at(0), "IDC_NOTES").at("text"), "ab\r\n");
    EXPECT_EQ(run.result, IDOK);
}

TEST(Script, EnterDoesNothingWhileTheDefaultButtonIsDisabled) {
    TestDialog dialog;
    dialog.onReset = [](TestDialog& d) { d.GetDlgItem(IDOK)->EnableWindow(FALSE); };
    HeadlessRun run = RunScript(dialog, "command ID_RESET\nenter\ncommand IDCANCEL\n");
    EXPECT_EQ(run.result, IDCANCEL);
    EXPECT_EQ(run.error, "");
}

TEST(Script, CommentsBlankLinesAndTrailingCommentsAreSkipped) {
    TestDialog dialog;
    HeadlessRun run = RunScript(
        dialog, "# a comment\n\n   \nclick IDC_ADD   # add one\r\n  type IDC_NAME  a # b  \nok\n");
    EXPECT_EQ(run.error, "");
    EXPECT_EQ(dialog.log, (Log{"add:1010"}));
    EXPECT_EQ(run.result, IDOK);
}

// A script saved with CR line ends runs line by line, and its refusals name the right line.
TEST(Script, ALoneCarriageReturnEndsALine) {
    TestDialog dialog;
    HeadlessRun run = RunScript(dialog, "type IDC_NAME a\rdump\rclick IDC_ADD\rjump\rok\r");
    ASSERT_EQ(run.Dumps().size(), 1u);
    EXPECT_EQ(ControlIn(run.Dumps()[0], "IDC_NAME").at("text"), "a");
    EXPECT_EQ(dialog.log, (Log{"add:1010"}));
    EXPECT_EQ(run.error, "test.script:4: unknown command \"jump\"");
}

TEST(Script, TypeReplacesTheTextWithTheRestOfTheLine) {
    TestDialog dialog;
    HeadlessRun run =
        RunScript(dialog, "type IDC_NAME  two  words \t\ndump\ntype IDC_NAME\ndump\n");
    std::vector<Json> dumps = run.Dumps();
    ASSERT_EQ(dumps.size(), 2u);
    EXPECT_EQ(ControlIn(dumps[0], "IDC_NAME").at("text"), "two  words");
    EXPECT_EQ(ControlIn(dumps[1], "IDC_NAME").at("text"), "");
}

TEST(Script, OnlyDumpsRunAfterTheDialogEnded) {
    TestDialog dialog;
    HeadlessRun run = RunScript(dialog, "ok\nclick IDC_ADD\nnonsense here\ndump\n");
    EXPECT_EQ(run.result, IDOK);
    EXPECT_EQ(run.error, "");
    EXPECT_TRUE(dialog.log.empty());
    EXPECT_EQ(run.Dumps().size(), 1u);
}

struct Refusal {
    const char* script;
    const char* error;
};

// Test names and failures show the refused line rather than the structure's bytes.
void PrintTo(const Refusal& refusal, std::ostream* out) { *out << '"' << refusal.script << '"'; }

class ScriptRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(ScriptRefusal, StopsTheDialogWithTheLineAndTheProblem) {
    TestDialog dialog;
    dialog.onReset = [](TestDialog& d) {
        d.GetDlgItem(IDC_ADD)->EnableWindow(FALSE);
        d.GetDlgItem(IDC_KIND)->ShowWindow(SW_HIDE);
    };
    HeadlessRun run =
        RunScript(dialog, std::string("command ID_RESET\n") + GetParam().script + "\nok\n");
    EXPECT_EQ(run.result, -1);
    EXPECT_EQ(run.error, std::string("test.script:2: ") + GetParam().error);
    EXPECT_EQ(dialog.count, 3) << "OK never ran";
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ScriptRefusal,
    ::testing::Values(
        Refusal{"jump IDC_ADD", "unknown command \"jump\""},
        Refusal{"click IDC_NOPE", "unknown control \"IDC_NOPE\""},
        Refusal{"click 4711", "unknown control \"4711\""},
        Refusal{"click -1", "control \"-1\" is not unique"},
        Refusal{"click", "click needs a control"},
        Refusal{"select IDC_ROWS", "select needs a control and an index or an item's text"},
        Refusal{"click IDC_OPEN now", "unexpected argument \"now\""},
        Refusal{"select IDC_ROWS 3", "index 3 is out of range: control IDC_ROWS has 3 items"},
        Refusal{"select IDC_ROWS delta",
                "\"delta\" is no item of control IDC_ROWS, which has items "
                "\"alpha\", \"beta\", \"gamma\""},
        Refusal{"select IDC_ROWS 99999999999", "index 99999999999 does not fit in an integer"},
        Refusal{"select IDC_ROWS -99999999999999999999",
                "index -99999999999999999999 does not fit in an integer"},
        Refusal{"select IDC_NAME alpha", "control IDC_NAME is not a combo box or list box"},
        Refusal{"select IDC_KIND one", "control IDC_KIND is hidden"},
        Refusal{"click IDC_ADD", "control IDC_ADD is disabled"},
        Refusal{"select IDC_KIND 0", "control IDC_KIND is hidden"},
        Refusal{"type IDC_ENABLED 1", "control IDC_ENABLED is not an edit box"},
        Refusal{"type IDC_INFO text", "control IDC_INFO is read-only"},
        Refusal{"click IDC_NAME", "control IDC_NAME is not a button"},
        Refusal{"focus -1", "control \"-1\" is not unique"},
        Refusal{"command IDC_NOPE", "unknown command id \"IDC_NOPE\""},
        Refusal{"event soon", "event answer \"soon\" is not a number"},
        Refusal{"file", "file needs a path or cancel"}));

TEST(Script, StopsBeforeOpeningLaterDialogs) {
    std::ostringstream out;
    HeadlessBackend backend("bogus\nok\n", "s", out);
    ActiveBackendGuard active(backend);
    TestDialog first;
    TestDialog second;
    EXPECT_EQ(first.DoModal(), -1);
    EXPECT_EQ(second.DoModal(), -1);
    EXPECT_EQ(backend.Error(), "s:1: unknown command \"bogus\"");
}

TEST(Script, NestedDialogsTakeTheLinesWhileTheyRun) {
    TestDialog outer;
    TestDialog inner;
    INT_PTR innerResult = 0;
    outer.onReset = [&](TestDialog&) { innerResult = inner.DoModal(); };
    HeadlessRun run =
        RunScript(outer, "command ID_RESET\nclick IDC_ADD\nok\nclick IDC_ADD\ncancel\n");
    EXPECT_EQ(innerResult, IDOK);
    EXPECT_EQ(inner.log, (Log{"add:1010"}));
    EXPECT_EQ(outer.log, (Log{"reset", "add:1010"}));
    EXPECT_EQ(run.result, IDCANCEL);
}

TEST(Dump, ListsEveryControlInTemplateOrderWithItsFieldsInOrder) {
    TestDialog dialog;
    HeadlessRun run = RunScript(dialog, "dump\n");
    const Json dump = run.Dumps().at(0);
    std::vector<std::string> fields;
    for (const auto& field : dump.items()) fields.push_back(field.key());
    EXPECT_EQ(fields, (std::vector<std::string>{"focus", "controls", "messages"}));
    EXPECT_EQ(dump.at("focus"), IDC_NAME);
    EXPECT_EQ(dump.at("messages"), Json::array());
    const Json& controls = dump.at("controls");
    ASSERT_FALSE(controls.empty());
    EXPECT_EQ(controls[0], (Json{{"id", -1},
                                 {"name", nullptr},
                                 {"class", "STATIC"},
                                 {"text", "Name"},
                                 {"enabled", true},
                                 {"visible", true}}));
    std::vector<std::string> names;
    for (const Json& control : controls)
        names.push_back(control.at("name").is_null() ? "-" : control.at("name").get<std::string>());
    EXPECT_EQ(names,
              (std::vector<std::string>{"-", "IDC_NAME", "IDC_COUNT", "IDC_KIND", "IDC_ROWS", "-",
                                        "IDC_ENABLED", "IDC_FIRST", "IDC_SECOND", "IDC_NOTES",
                                        "IDC_INFO", "IDC_ADD", "IDC_OPEN", "IDOK", "IDCANCEL"}));
}

// Sets the name's text, dumps, and reads the text back from the dump.
std::string TextThroughDump(const std::string& text) {
    TestDialog dialog;
    dialog.onReset = [&text](TestDialog& d) {
        d.GetDlgItem(IDC_NAME)->SetWindowText(text.c_str());
    };
    HeadlessRun run = RunScript(dialog, "command ID_RESET\ndump\n");
    return ControlIn(run.Dumps().at(0), "IDC_NAME").at("text").get<std::string>();
}

TEST(Dump, TextsReadBackExactly) {
    const std::string escaped = "q\"b\\s\x01\t\b\f\r\n\x7f";
    EXPECT_EQ(TextThroughDump(escaped), escaped);
    EXPECT_EQ(TextThroughDump("\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"),
              "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80");
}

TEST(Dump, ShowsEachSequenceThatIsNotUtf8AsOneReplacementCharacter) {
    const std::string replacement = "\xEF\xBF\xBD";                     // U+FFFD
    EXPECT_EQ(TextThroughDump("caf\xE9"), "caf" + replacement);         // Latin-1
    EXPECT_EQ(TextThroughDump("\xE9\xE8"), replacement + replacement);  // two bytes
    EXPECT_EQ(TextThroughDump("\xE2\x82x"), replacement + "x");         // cut short
    EXPECT_EQ(TextThroughDump("end\xC3"), "end" + replacement);         // at the end
    EXPECT_EQ(TextThroughDump("\xC0\xAF"), replacement + replacement);  // overlong
}

TEST(Dump, ReportsNoFocusAsNull) {
    TestDialog dialog;
    dialog.onReset = [](TestDialog& d) { d.SetFocus(); };
    HeadlessRun run = RunScript(dialog, "command ID_RESET\ndump\n");
    EXPECT_TRUE(run.Dumps().at(0).at("focus").is_null());
}

}  // namespace
