#include "platform/CDialog.h"

#include <algorithm>
#include <vector>

#include "platform/CException.h"

namespace {
std::vector<CDialog*>& RunningDialogs() {
    static std::vector<CDialog*> dialogs;
    return dialogs;
}

UINT AddStringMessageOf(UINT dialogInitMessage) {
    switch (dialogInitMessage) {
        case DLGINIT_LB_ADDSTRING:
            return LB_ADDSTRING;
        case DLGINIT_CB_ADDSTRING:
            return CB_ADDSTRING;
        default:
            return 0;
    }
}
}  // namespace

// Keeps the dialog on the stack of running dialogs and its controls alive while it runs, also
// when a handler throws.
class CDialog::ModalScope {
  public:
    explicit ModalScope(CDialog& dialog) : m_dialog(dialog) { RunningDialogs().push_back(&dialog); }
    ~ModalScope() {
        auto& dialogs = RunningDialogs();
        dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), &m_dialog), dialogs.end());
        m_dialog.DestroyChildren();
        m_dialog.m_template.reset();
    }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

  private:
    CDialog& m_dialog;
};

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() = default;

CDialog* CDialog::GetRunningModal() {
    auto& dialogs = RunningDialogs();
    return dialogs.empty() ? nullptr : dialogs.back();
}

INT_PTR CDialog::DoModal() {
    Backend* backend = GetActiveBackend();
    m_template = AfxFindDialogTemplate(m_nIDTemplate);
    if (backend == nullptr || m_template == nullptr) {
        m_template.reset();
        return -1;
    }
    m_bEnded = false;
    m_nModalResult = -1;
    ModalScope scope(*this);
    CreateControls();
    return backend->RunModal(*this);
}

void CDialog::CreateControls() {
    InitDialogWindow(m_template->caption, m_template->style, m_pParentWnd);
    for (const DialogControlTemplate& control : m_template->controls) {
        AddChild(CreateControl(control, this));
    }
}

void CDialog::EndDialog(int nResult) {
    m_bEnded = true;
    m_nModalResult = nResult;
    ShowWindow(SW_HIDE);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange exchange(this, bSaveAndValidate);
    try {
        DoDataExchange(&exchange);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange* /*pDX*/) {}

BOOL CDialog::OnInitDialog() {
    ApplyDialogInit();
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::ApplyDialogInit() {
    if (m_template == nullptr) return;
    for (const DialogInitItem& item : m_template->initItems) {
        CWnd* control = GetDlgItem(item.controlId);
        UINT message = AddStringMessageOf(item.message);
        if (control == nullptr || message == 0) continue;
        // The data is a zero-terminated string; a missing terminator is tolerated.
        control->SendMessage(message, 0, reinterpret_cast<LPARAM>(item.data.c_str()));
    }
}

BOOL CDialog::RunInitDialog() {
    BOOL result = OnInitDialog();
    if (result && GetFocusedChild() == nullptr) FocusFirstTabStop();
    return result;
}

void CDialog::FocusFirstTabStop() {
    for (const auto& child : GetChildren()) {
        if ((child->GetStyle() & WS_TABSTOP) == 0 || !child->IsWindowVisible() ||
            !child->IsWindowEnabled()) {
            continue;
        }
        child->SetFocus();
        if (child->IsEdit()) child->SendMessage(EM_SETSEL, 0, -1);
        return;
    }
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }
