// A modal dialog built from a registered dialog template.
#pragma once

#include <memory>

#include "platform/CDataExchange.h"
#include "platform/CWnd.h"
#include "platform/DialogTemplate.h"

class CDialog : public CWnd {
  public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Creates the controls of the template and lets the active back end run the dialog.
    // Returns the result given to EndDialog, or -1 when there is no such template or no back
    // end. The controls are destroyed before DoModal returns.
    virtual INT_PTR DoModal();
    // Ends the modal dialog with nResult once the current handler returns.
    void EndDialog(int nResult);
    // Runs DoDataExchange in one direction; FALSE when a check failed (CDataExchange::Fail).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Applies the template's dialog-init data and loads the controls (UpdateData(FALSE)).
    // TRUE asks for the first tab-stop control to get the focus.
    virtual BOOL OnInitDialog();

    // For back ends: runs OnInitDialog and places the first focus. When OnInitDialog returns
    // TRUE and no control has the focus yet, the first visible, enabled tab-stop control gets
    // it; a focus that OnInitDialog set itself is kept either way.
    BOOL RunInitDialog();
    bool IsModalEnded() const { return m_bEnded; }
    INT_PTR GetModalResult() const { return m_nModalResult; }
    // The template of the running dialog, or null outside DoModal.
    const DialogTemplate* GetTemplate() const { return m_template.get(); }
    // The innermost dialog inside DoModal, or null.
    static CDialog* GetRunningModal();

  protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // OK: a successful save pass ends the dialog with IDOK.
    virtual void OnOK();
    // Cancel: ends the dialog with IDCANCEL.
    virtual void OnCancel();

    DECLARE_MESSAGE_MAP()

  private:
    class ModalScope;

    void CreateControls();
    void ApplyDialogInit();
    void FocusFirstTabStop();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    std::shared_ptr<const DialogTemplate> m_template;
    bool m_bEnded = false;
    INT_PTR m_nModalResult = -1;
};
