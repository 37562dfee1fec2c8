// Places a dialog template's controls in pixels. Dialog units are fractions of the dialog
// font's base units: a quarter of the average character width across, an eighth of the
// character height down.
#pragma once

class CWnd;
struct DialogTemplate;

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

class DialogLayout {
  public:
    // The base units of the template's 8-point sans-serif dialog font on a 96-dpi screen.
    static constexpr int kBaseUnitX = 6;
    static constexpr int kBaseUnitY = 13;
    // A drop-down list's template height is that of its open list; closed it is one line.
    static constexpr int kClosedComboHeight = 13;
    // The size, in pixels, at which a font of Helvetica's widths fills those base units.
    static constexpr int kFontSize = 10;

    static int ToPixelsX(int dialogUnits);
    static int ToPixelsY(int dialogUnits);
    // The client area of the dialog.
    static PixelRect DialogRect(const DialogTemplate& dialog);
    // Where the control stands in the dialog's client area, from its template.
    static PixelRect ControlRect(const CWnd& control);

  private:
    static PixelRect Map(int x, int y, int cx, int cy);
};
