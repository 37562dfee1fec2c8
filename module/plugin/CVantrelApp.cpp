#include "module/plugin/CVantrelApp.h"

CVantrelApp::CVantrelApp() : CWinApp(nullptr) {}

BEGIN_MESSAGE_MAP(CVantrelApp, CWinApp)
END_MESSAGE_MAP()

// Constructed when the module is loaded, destroyed when it is unloaded.
CVantrelApp theApp;
