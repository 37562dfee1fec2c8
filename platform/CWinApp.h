// The application object of a program or module: one per module, reachable by AfxGetApp.
#pragma once

#include <string>

#include "platform/CCmdTarget.h"

class CWinApp : public CCmdTarget {
  public:
    explicit CWinApp(const char* lpszAppName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The name given to the constructor, or empty.
    const std::string& GetAppName() const { return m_strAppName; }

  protected:
    DECLARE_MESSAGE_MAP()

  private:
    std::string m_strAppName;
};

// The most recently constructed application object that still exists, or null.
CWinApp* AfxGetApp();
