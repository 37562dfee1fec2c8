#include "platform/AfxMessageBox.h"

#include <string>

#include "platform/Backend.h"
#include "platform/StringTable.h"

int AfxMessageBox(const char* lpszText, UINT nType, UINT /*nIDHelp*/) {
    Backend* backend = GetActiveBackend();
    if (backend == nullptr) return AfxDefaultMessageBoxButton(nType);
    return backend->MessageBox(lpszText ? lpszText : "", nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    std::string text;
    if (!AfxLoadString(nIDPrompt, text)) {
        text = "(message " + std::to_string(nIDPrompt) + " is missing)";
    }
    return AfxMessageBox(text.c_str(), nType, nIDHelp);
}
