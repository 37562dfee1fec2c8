#include "platform/CDataExchange.h"

#include "platform/CException.h"
#include "platform/CWnd.h"

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

CWnd* CDataExchange::PrepareCtrl(int nIDC) {
    m_idLastControl = nIDC;
    m_bEditLastControl = FALSE;
    return m_pDlgWnd ? m_pDlgWnd->GetDlgItem(nIDC) : nullptr;
}

CWnd* CDataExchange::PrepareEditCtrl(int nIDC) {
    CWnd* control = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return control;
}

void CDataExchange::Fail() {
    CWnd* control =
        m_pDlgWnd && m_idLastControl != 0 ? m_pDlgWnd->GetDlgItem(m_idLastControl) : nullptr;
    if (control != nullptr) {
        control->SetFocusForCorrection();
        if (m_bEditLastControl) control->SendMessage(EM_SETSEL, 0, -1);
    }
    throw CUserException();
}
