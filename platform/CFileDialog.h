// The common open-file / save-file dialog, shown by the active back end.
#pragma once

#include <string>

#include "platform/Backend.h"
#include "platform/CObject.h"
#include "platform/WinDefs.h"

class CWnd;

class CFileDialog : public CObject {
  public:
    // lpszFilter: pairs of description and patterns separated by '|', ending with "||", e.g.
    // "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||".
    explicit CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt = nullptr,
                         const char* lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         const char* lpszFilter = nullptr, CWnd* pParentWnd = nullptr,
                         DWORD dwSize = 0, BOOL bVistaStyle = TRUE);

    // IDOK when the user chose a file, else IDCANCEL (also without a back end).
    virtual INT_PTR DoModal();
    // The full path of the chosen file, empty before a successful DoModal.
    const std::string& GetPathName() const { return m_strPathName; }
    // The request as the back end receives it.
    const FileDialogRequest& GetRequest() const { return m_request; }

  private:
    FileDialogRequest m_request;
    std::string m_strPathName;
};
