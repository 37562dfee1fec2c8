#include "platform/CWinApp.h"

#include <algorithm>
#include <vector>

namespace {
// Live application objects in order of construction; modules may unload in any order.
std::vector<CWinApp*>& LiveApps() {
    static std::vector<CWinApp*> apps;
    return apps;
}
}  // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(const char* lpszAppName) : m_strAppName(lpszAppName ? lpszAppName : "") {
    LiveApps().push_back(this);
}

CWinApp::~CWinApp() {
    auto& apps = LiveApps();
    apps.erase(std::remove(apps.begin(), apps.end(), this), apps.end());
}

CWinApp* AfxGetApp() { return LiveApps().empty() ? nullptr : LiveApps().back(); }
