// The state of one data exchange between a dialog's controls and its data (UpdateData).
#pragma once

#include "platform/AfxTypes.h"

class CWnd;

class CDataExchange {
  public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    // Names the control that the following checks are about; returns it, or null when the
    // dialog has no such control.
    CWnd* PrepareCtrl(int nIDC);
    // As PrepareCtrl, for an edit: on failure its whole text is selected too.
    CWnd* PrepareEditCtrl(int nIDC);
    // Abandons the exchange: the last prepared control gets the focus, and UpdateData returns
    // FALSE. The caller has told the user why.
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;  // TRUE: controls to data; FALSE: data to controls
    CWnd* m_pDlgWnd;
    int m_idLastControl = 0;
    BOOL m_bEditLastControl = FALSE;
};
