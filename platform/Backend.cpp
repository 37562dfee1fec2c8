#include "platform/Backend.h"

#include "platform/WinDefs.h"

namespace {
Backend* activeBackend = nullptr;
}  // namespace

std::vector<int> AfxMessageBoxButtons(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return {IDOK, IDCANCEL};
        case MB_ABORTRETRYIGNORE:
            return {IDABORT, IDRETRY, IDIGNORE};
        case MB_YESNOCANCEL:
            return {IDYES, IDNO, IDCANCEL};
        case MB_YESNO:
            return {IDYES, IDNO};
        case MB_RETRYCANCEL:
            return {IDRETRY, IDCANCEL};
        default:
            return {IDOK};
    }
}

void SetActiveBackend(Backend* backend) { activeBackend = backend; }

Backend* GetActiveBackend() { return activeBackend; }

int AfxDefaultMessageBoxButton(UINT type) {
    std::vector<int> buttons = AfxMessageBoxButtons(type);
    size_t index = (type & MB_DEFMASK) >> 8;
    return index < buttons.size() ? buttons[index] : buttons.front();
}
