#include "TestDialog.h"

#include <charconv>
#include <sstream>
#include <stdexcept>

#include "platform/HeadlessBackend.h"

BEGIN_MESSAGE_MAP(TestDialog, CDialog)
ON_BN_CLICKED(IDC_ADD, &TestDialog::OnAdd)
ON_BN_CLICKED(IDC_OPEN, &TestDialog::OnOpen)
ON_CBN_SELENDOK(IDC_KIND, &TestDialog::OnKind)
ON_LBN_SELCHANGE(IDC_ROWS, &TestDialog::OnRows)
ON_EN_KILLFOCUS(IDC_COUNT, &TestDialog::OnCountKillFocus)
ON_BN_CLICKED(IDC_ENABLED, &TestDialog::OnEnabled)
ON_COMMAND(ID_RESET, &TestDialog::OnReset)
END_MESSAGE_MAP()

BOOL TestDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    if (CWnd* rows = GetDlgItem(IDC_ROWS)) {
        for (const char* row : {"alpha", "beta", "gamma"}) {
            rows->SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
        }
    }
    if (initFocus == 0) return TRUE;
    GetDlgItem(initFocus)->SetFocus();
    return initResult;
}

void TestDialog::DoDataExchange(CDataExchange* pDX) {
    CWnd* edit = pDX->PrepareEditCtrl(IDC_COUNT);
    if (!pDX->m_bSaveAndValidate) {
        edit->SetWindowText(std::to_string(count).c_str());
        return;
    }
    std::string text;
    edit->GetWindowText(text);
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        AfxMessageBox("Count must be a whole number.", MB_ICONEXCLAMATION);
        pDX->Fail();
    }
    count = value;
}

void TestDialog::OnAdd() {
    CWnd* focus = GetFocus();
    log.push_back("add:" + std::to_string(focus ? focus->GetDlgCtrlID() : 0));
}

void TestDialog::OnOpen() {
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                       "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||", this);
    if (dialog.DoModal() == IDOK) openedPath = dialog.GetPathName();
    log.push_back("open");
}

void TestDialog::OnKind() { log.push_back("kind"); }
void TestDialog::OnRows() { log.push_back("rows"); }
void TestDialog::OnCountKillFocus() { log.push_back("count-killfocus"); }
void TestDialog::OnEnabled() { log.push_back("enabled"); }
void TestDialog::OnReset() {
    log.push_back("reset");
    if (onReset) onReset(*this);
}

BEGIN_MESSAGE_MAP(DerivedTestDialog, TestDialog)
ON_BN_CLICKED(IDC_ADD, &DerivedTestDialog::OnAddHere)
END_MESSAGE_MAP()

void DerivedTestDialog::OnAddHere() { log.push_back("derived-add"); }

ScriptRun RunScript(CDialog& dialog, const std::string& script) {
    std::ostringstream output;
    std::ostringstream messages;
    HeadlessBackend backend(script, "test.script", output, messages);
    SetActiveBackend(&backend);
    ScriptRun run;
    run.result = dialog.DoModal();
    SetActiveBackend(nullptr);
    run.output = output.str();
    run.messages = messages.str();
    run.error = backend.Error();
    return run;
}

std::vector<nlohmann::ordered_json> ScriptRun::Dumps() const {
    std::vector<nlohmann::ordered_json> dumps;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);)
        dumps.push_back(nlohmann::ordered_json::parse(line));
    return dumps;
}

const nlohmann::ordered_json& ControlIn(const nlohmann::ordered_json& dump,
                                        const std::string& symbol) {
    for (const nlohmann::ordered_json& control : dump.at("controls")) {
        if (control.at("name") == symbol) return control;
    }
    throw std::runtime_error("the dump has no control " + symbol);
}
