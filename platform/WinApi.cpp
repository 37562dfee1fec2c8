#include "platform/WinApi.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

#include "platform/CDialog.h"

struct HDC__ {
    int dotsPerInch = 96;
};

namespace {
HDC__ screen;
}  // namespace

CWnd* GetFocus() {
    CDialog* dialog = CDialog::GetRunningModal();
    return dialog ? dialog->GetFocusedChild() : nullptr;
}

HDC GetDC(CWnd* /*pWnd*/) { return &screen; }

int ReleaseDC(CWnd* /*pWnd*/, HDC hdc) { return hdc == &screen ? 1 : 0; }

int GetDeviceCaps(HDC hdc, int index) {
    if (hdc == nullptr) return 0;
    return index == LOGPIXELSX || index == LOGPIXELSY ? hdc->dotsPerInch : 0;
}

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) return -1;
    std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    std::int64_t magnitude =
        (std::llabs(product) + std::llabs(denominator) / 2) / std::llabs(denominator);
    bool negative = (product < 0) != (denominator < 0);
    std::int64_t result = negative ? -magnitude : magnitude;
    if (result > INT_MAX || result < INT_MIN) return -1;
    return static_cast<int>(result);
}
