// The module's application object: one global instance while the module is loaded.
#pragma once

#include "platform/CWinApp.h"

class CVantrelApp : public CWinApp {
  public:
    CVantrelApp();

    DECLARE_MESSAGE_MAP()
};
