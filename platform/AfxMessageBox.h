// Message boxes, shown by the active back end. Without a back end nobody is asked and the box
// answers its default button (IDOK for MB_OK and MB_OKCANCEL, IDYES for MB_YESNO).
#pragma once

#include "platform/WinDefs.h"

int AfxMessageBox(const char* lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The text is string resource nIDPrompt; a missing resource is shown as such, not as blank.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));
