#include "platform/fltk/DialogLayout.h"

#include "platform/CWnd.h"
#include "platform/DialogTemplate.h"
#include "platform/WinApi.h"

// Rounded to the nearest pixel, as the platform's dialog-unit mapping does.
int DialogLayout::ToPixelsX(int dialogUnits) { return MulDiv(dialogUnits, kBaseUnitX, 4); }

int DialogLayout::ToPixelsY(int dialogUnits) { return MulDiv(dialogUnits, kBaseUnitY, 8); }

// Each edge is mapped on its own, so that neighbouring controls meet without gaps.
PixelRect DialogLayout::Map(int x, int y, int cx, int cy) {
    int left = ToPixelsX(x);
    int top = ToPixelsY(y);
    return {left, top, ToPixelsX(x + cx) - left, ToPixelsY(y + cy) - top};
}

PixelRect DialogLayout::DialogRect(const DialogTemplate& dialog) {
    return Map(dialog.x, dialog.y, dialog.cx, dialog.cy);
}

PixelRect DialogLayout::ControlRect(const CWnd& control) {
    int heightUnits = control.IsComboBox() ? kClosedComboHeight : control.GetTemplateHeight();
    return Map(control.GetTemplateX(), control.GetTemplateY(), control.GetTemplateWidth(),
               heightUnits);
}
