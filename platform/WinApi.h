// The free functions of the user-interface and graphics interface that dialog code calls.
#pragma once

#include "platform/WinDefs.h"

class CWnd;

// The control with the focus in the innermost running modal dialog, or null.
CWnd* GetFocus();

// A device context for a window's screen; release it with ReleaseDC.
HDC GetDC(CWnd* pWnd);
// Returns 1 when hdc was a device context from GetDC, else 0.
int ReleaseDC(CWnd* pWnd, HDC hdc);
// LOGPIXELSX and LOGPIXELSY give 96 dots per inch; other capabilities 0.
int GetDeviceCaps(HDC hdc, int index);

// number * numerator / denominator with a 64-bit intermediate, rounded half away from zero;
// -1 when denominator is 0 or the result does not fit an int.
int MulDiv(int number, int numerator, int denominator);
