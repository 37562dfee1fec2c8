// Modal dialogs: templates, message maps, data exchange, focus, message boxes, file dialogs,
// prompts and the graphics helpers.
#include <gtest/gtest.h>

#include "TestDialog.h"
#include "platform/ActiveBackendGuard.h"
#include "platform/HeadlessBackend.h"
#include "tests/support/BuiltFiles.h"

namespace {

using Log = std::vector<std::string>;
using Json = nlohmann::ordered_json;

// The focused control's id in the script's first dump.
Json FirstDumpFocus(CDialog& dialog) {
    return RunScript(dialog, "dump\n").Dumps().at(0).at("focus");
}

TEST(ModalDialog, DoesNotRunWithoutBackendOrTemplate) {
    TestDialog dialog;
    EXPECT_EQ(dialog.DoModal(), -1);

    CDialog missing(4242);
    HeadlessRun run = RunScript(missing, "ok\n");
    EXPECT_EQ(run.result, -1);
    EXPECT_EQ(run.error, "");
}

TEST(ModalDialog, ReturnsTheEndDialogResultAndDestroysItsControls) {
    TestDialog dialog;
    EXPECT_EQ(RunScript(dialog, "ok\n").result, IDOK);
    EXPECT_EQ(dialog.GetDlgItem(IDC_NAME), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(CDialog::GetRunningModal(), nullptr);

    TestDialog cancelled;
    EXPECT_EQ(RunScript(cancelled, "cancel\n").result, IDCANCEL);
}

TEST(ModalDialog, AppliesDialogInitDataAndLoadsTheControls) {
    TestDialog dialog;
    dialog.count = 7;
    const Json dump = RunScript(dialog, "dump\n").Dumps().at(0);
    EXPECT_EQ(ControlIn(dump, "IDC_KIND").at("items"), Json::array({"one", "two"}));
    EXPECT_EQ(ControlIn(dump, "IDC_KIND").at("selection"), -1);
    EXPECT_EQ(ControlIn(dump, "IDC_COUNT").at("id"), IDC_COUNT);
    EXPECT_EQ(ControlIn(dump, "IDC_COUNT").at("class"), "EDIT");
    EXPECT_EQ(ControlIn(dump, "IDC_COUNT").at("text"), "7");
}

TEST(MessageMap, DispatchesToTheHandlerOfTheNotification) {
    TestDialog dialog;
    RunScript(dialog, "click IDC_ADD\nselect IDC_KIND 1\nselect IDC_ROWS 0\ncommand ID_RESET\n");
    EXPECT_EQ(dialog.log, (Log{"add:1010", "kind", "rows", "reset"}));
}

TEST(MessageMap, DerivedMapOverridesAndFallsThroughToTheBaseMap) {
    DerivedTestDialog dialog;
    RunScript(dialog, "click IDC_ADD\nselect IDC_KIND 0\nok\n");
    EXPECT_EQ(dialog.log, (Log{"derived-add", "kind"}));
    EXPECT_TRUE(dialog.OnCommand(MAKEWPARAM(ID_RESET, 0), 0));
    EXPECT_FALSE(dialog.OnCommand(MAKEWPARAM(ID_RESET, BN_CLICKED + 5), 0));
    EXPECT_FALSE(dialog.OnCommand(MAKEWPARAM(4321, 0), 0));
}

TEST(DataExchange, SavesOnOk) {
    TestDialog dialog;
    HeadlessRun run = RunScript(dialog, "type IDC_COUNT 12\nok\n");
    EXPECT_EQ(run.result, IDOK);
    EXPECT_EQ(dialog.count, 12);
}

TEST(DataExchange, FailureKeepsTheDialogOpenAndFocusesTheControl) {
    TestDialog dialog;
    HeadlessRun run = RunScript(dialog, "type IDC_COUNT 1x\nok\ndump\ncancel\n");
    EXPECT_EQ(run.result, IDCANCEL);
    EXPECT_EQ(dialog.count, 3);
    const Json dump = run.Dumps().at(0);
    EXPECT_EQ(dump.at("focus"), IDC_COUNT) << run.output;
    EXPECT_EQ(dump.at("messages"),
              (Json{{{"text", "Count must be a whole number."}, {"icon", "exclamation"}}}));
}

TEST(DataExchange, FailedEditGetsItsWholeTextSelected) {
    TestDialog dialog;
    int start = -1, end = -1;
    dialog.onReset = [&](TestDialog& d) {
        EXPECT_FALSE(d.UpdateData(TRUE));
        CWnd* edit = d.GetDlgItem(IDC_COUNT);
        EXPECT_EQ(GetFocus(), edit);
        start = edit->GetEditSelStart();
        end = edit->GetEditSelEnd();
    };
    RunScript(dialog, "type IDC_COUNT abc\nfocus IDC_NAME\ncommand ID_RESET\n");
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 3);
}

TEST(InitialFocus, GoesToTheFirstTabStopWhenInitDialogReturnsTrue) {
    TestDialog dialog;
    EXPECT_EQ(FirstDumpFocus(dialog), IDC_NAME);
}

TEST(InitialFocus, KeepsAFocusThatInitDialogSetWhateverItReturns) {
    for (BOOL result : {FALSE, TRUE}) {
        TestDialog dialog;
        dialog.initFocus = IDC_ADD;
        dialog.initResult = result;
        EXPECT_EQ(FirstDumpFocus(dialog), IDC_ADD);
    }
}

TEST(Focus, HiddenOrDisabledControlsCannotTakeItAndLoseIt) {
    TestDialog dialog;
    dialog.onReset = [](TestDialog& d) {
        CWnd* name = d.GetDlgItem(IDC_NAME);
        CWnd* count = d.GetDlgItem(IDC_COUNT);
        name->SetFocus();
        count->ShowWindow(SW_HIDE);
        EXPECT_EQ(count->SetFocus(), nullptr);
        EXPECT_EQ(GetFocus(), name);
        name->EnableWindow(FALSE);
        EXPECT_EQ(GetFocus(), nullptr);
        EXPECT_EQ(count->ShowWindow(SW_SHOW), FALSE);
        EXPECT_EQ(count->SetFocus(), nullptr);  // the previous focus: none
        EXPECT_EQ(GetFocus(), count);
    };
    RunScript(dialog, "command ID_RESET\n");
    EXPECT_EQ(dialog.log, (Log{"reset"}));
}

TEST(MessageBoxes, WithoutBackendAnswerTheDefaultButton) {
    EXPECT_EQ(AfxMessageBox("x"), IDOK);
    EXPECT_EQ(AfxMessageBox("x", MB_OKCANCEL), IDOK);
    EXPECT_EQ(AfxMessageBox("x", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(AfxMessageBox("x", MB_YESNO | MB_DEFBUTTON2), IDNO);
}

TEST(MessageBoxes, ShowTextsAndStringResourcesWithTheirIcons) {
    AfxRegisterString(31001, "From the table");
    TestDialog dialog;
    int answer = 0;
    dialog.onReset = [&](TestDialog&) {
        AfxMessageBox(31001, MB_ICONERROR);
        AfxMessageBox(31002);
        answer = AfxMessageBox("Sure?", MB_YESNO | MB_ICONQUESTION);
        AfxMessageBox("Note", MB_ICONINFORMATION);
    };
    HeadlessRun run = RunScript(dialog, "command ID_RESET\ndump\ndump\n");
    EXPECT_EQ(answer, IDYES);
    std::vector<Json> dumps = run.Dumps();
    ASSERT_EQ(dumps.size(), 2u);
    EXPECT_EQ(dumps[0].at("messages"),
              (Json{{{"text", "From the table"}, {"icon", "error"}},
                    {{"text", "(message 31002 is missing)"}, {"icon", "none"}},
                    {{"text", "Sure?"}, {"icon", "information"}},
                    {{"text", "Note"}, {"icon", "information"}}}));
    EXPECT_EQ(dumps[1].at("messages"), Json::array()) << "a dump clears them";
}

TEST(FileDialog, ParsesTheFilterAndCancelsWithoutBackend) {
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST,
                       "Text (*.txt)|*.txt;*.text|All|*.*||");
    const FileDialogRequest& request = dialog.GetRequest();
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0],
              (std::pair<std::string, std::string>{"Text (*.txt)", "*.txt;*.text"}));
    EXPECT_EQ(request.filters[1].second, "*.*");
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.GetPathName(), "");
}

TEST(FileDialog, ReturnsTheScriptedPathAsAFullPath) {
    TestDialog dialog;
    std::string script = "file " + SourcePath("module/dialog/../dialog/Vantrel.rc") + "\n" +
                         "click IDC_OPEN\nfile cancel\nclick IDC_OPEN\nclick IDC_OPEN\n";
    HeadlessRun run = RunScript(dialog, script);
    EXPECT_EQ(run.error, "");
    EXPECT_EQ(dialog.openedPath, SourcePath("module/dialog/Vantrel.rc"));
    EXPECT_EQ(dialog.log, (Log{"open", "open", "open"}));
}

TEST(FileDialog, HandsOnAPathThatDoesNotExistForTheOpenerToReport) {
    TestDialog dialog;
    HeadlessRun run = RunScript(dialog, "file /no/such/file.txt\nclick IDC_OPEN\nok\n");
    EXPECT_EQ(run.result, IDOK);
    EXPECT_EQ(run.error, "");
    EXPECT_EQ(dialog.openedPath, "/no/such/file.txt");
}

TEST(Prompts, CancelWithoutBackendOrAnswer) {
    int value = 5;
    EXPECT_EQ(AfxChooseItem("t", {"a", "b"}, 0), -1);
    EXPECT_FALSE(AfxAskInteger("t", "p", value, 0, 9));
    EXPECT_EQ(value, 5);

    TestDialog dialog;
    int chosen = 0;
    bool asked = true;
    dialog.onReset = [&](TestDialog&) {
        chosen = AfxChooseItem("t", {"a", "b"}, 0);
        asked = AfxAskInteger("t", "p", value, 0, 9);
    };
    RunScript(dialog, "event cancel\ncommand ID_RESET\n");
    EXPECT_EQ(chosen, -1);
    EXPECT_FALSE(asked);
}

TEST(Prompts, TakeTheQueuedAnswersInOrder) {
    TestDialog dialog;
    int chosen = -1;
    int value = 0;
    dialog.onReset = [&](TestDialog&) {
        chosen = AfxChooseItem("Kind", {"a", "b", "c"}, 0);
        AfxAskInteger("Edit", "Delay", value, 0, 1000);
    };
    HeadlessRun run = RunScript(dialog, "event 2\nevent 250\ncommand ID_RESET\nok\n");
    EXPECT_EQ(run.result, IDOK);
    EXPECT_EQ(chosen, 2);
    EXPECT_EQ(value, 250);
}

TEST(Prompts, AnAnswerOutOfRangeStopsTheScriptAtItsLine) {
    TestDialog dialog;
    int value = 7;
    dialog.onReset = [&](TestDialog&) { AfxAskInteger("Edit", "Input", value, 0, 15); };
    HeadlessRun run = RunScript(dialog, "# answers\nevent 16\ncommand ID_RESET\nok\n");
    EXPECT_EQ(run.result, -1);
    EXPECT_EQ(run.error, "test.script:2: event 16 is out of range: \"Input\" takes 0 to 15");
    EXPECT_EQ(value, 7);

    TestDialog choosing;
    choosing.onReset = [](TestDialog&) { AfxChooseItem("Kind", {"a", "b"}, 0); };
    run = RunScript(choosing, "event 2\ncommand ID_RESET\n");
    EXPECT_EQ(run.error, "test.script:1: event 2 is out of range: \"Kind\" offers choices 0 to 1");
}

TEST(Graphics, DeviceContextAndMulDiv) {
    HDC dc = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(dc, 12345), 0);
    EXPECT_EQ(ReleaseDC(nullptr, dc), 1);
    EXPECT_EQ(-MulDiv(6, 96, 72), -8);
    EXPECT_EQ(MulDiv(1, 1, 2), 1);  // halves round away from zero
    EXPECT_EQ(MulDiv(-1, 1, 2), -1);
    EXPECT_EQ(MulDiv(5, 1, -2), -3);
    EXPECT_EQ(MulDiv(7, 1, 3), 2);
    EXPECT_EQ(MulDiv(1, 2, 0), -1);
    EXPECT_EQ(MulDiv(0x40000000, 4, 1), -1);  // does not fit
    EXPECT_EQ(MulDiv(0x40000000, 4, 2), -1);
    EXPECT_EQ(MulDiv(0x40000000, 4, 4), 0x40000000);
}

TEST(Fonts, KeepTheirDescriptionUntilDeleted) {
    LOGFONT description{};
    description.lfHeight = -8;
    std::snprintf(description.lfFaceName, sizeof description.lfFaceName, "Courier");
    HFONT handle = nullptr;
    {
        CFont font;
        EXPECT_FALSE(font.CreateFontIndirect(nullptr));
        ASSERT_TRUE(font.CreateFontIndirect(&description));
        handle = font;
        LOGFONT back{};
        ASSERT_TRUE(CFont::GetLogFont(font.GetSafeHandle(), &back));
        EXPECT_EQ(back.lfHeight, -8);
        EXPECT_STREQ(back.lfFaceName, "Courier");
    }
    LOGFONT stale{};
    EXPECT_FALSE(CFont::GetLogFont(handle, &stale));
}

TEST(Application, AfxGetAppIsTheLatestLiveApplication) {
    EXPECT_EQ(AfxGetApp(), nullptr);
    {
        CWinApp first("first");
        auto second = std::make_unique<CWinApp>();
        EXPECT_EQ(AfxGetApp(), second.get());
        second.reset();
        EXPECT_EQ(AfxGetApp(), &first);
        EXPECT_EQ(first.GetAppName(), "first");
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
}

// Records what the framework reports to a window back end.
class RecordingBackend : public HeadlessBackend {
  public:
    using HeadlessBackend::HeadlessBackend;
    void WindowChanged(CWnd& window, WindowChange change) override {
        changes.push_back({window.GetDlgCtrlID(), change});
    }
    std::vector<std::pair<int, WindowChange>> changes;
};

TEST(BackendHook, HearsOfEveryStateChange) {
    std::ostringstream out;
    RecordingBackend backend("type IDC_NAME x\nclick IDC_ENABLED\nselect IDC_ROWS 1\n", "s", out);
    TestDialog dialog;
    {
        ActiveBackendGuard active(backend);
        dialog.DoModal();
    }
    auto has = [&](int id, WindowChange change) {
        return std::find(backend.changes.begin(), backend.changes.end(),
                         std::make_pair(id, change)) != backend.changes.end();
    };
    EXPECT_TRUE(has(IDC_KIND, WindowChange::Items));
    EXPECT_TRUE(has(IDC_NAME, WindowChange::Text));
    EXPECT_TRUE(has(IDC_ENABLED, WindowChange::Check));
    EXPECT_TRUE(has(IDC_ROWS, WindowChange::Selection));
    EXPECT_TRUE(has(0, WindowChange::Focus));
    EXPECT_TRUE(has(0, WindowChange::Visible)) << "EndDialog hides the dialog";
}

}  // namespace
