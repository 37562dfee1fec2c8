// The Help button: a short guide to the editor in a message box.
#include <string>

#include "module/dialog/CEditorDlg.h"

namespace {

const char* const kHelpText =
    "Linear Interpolation moves two or three axes together through a list of straight "
    "segments.\n"
    "\n"
    "Segments: type the position increments (and, with their check boxes ticked, the vector "
    "acceleration and speed) into the edits, then press Update to overwrite the current "
    "segment, or Insert Above or Insert Below to add one. Typed values reach the list only "
    "through these buttons. Previous, Next and a click in the list choose the current "
    "segment; Move Up, Move Down and Remove act on it. OK refuses a segment whose increments "
    "are all 0.\n"
    "\n"
    "Keys: Enter in X moves to Y, in Y to Z, and in Z (in Y for two axes) inserts the segment "
    "below the current one; elsewhere Enter presses OK and Escape Cancel. Alt and the "
    "underlined letter press a button: Alt+U Update, Alt+R Remove, Alt+M Import From File, "
    "Alt+I Immediate, Alt+O On event.\n"
    "\n"
    "Import From File replaces the list with the segments of a text file, one a line: X Y "
    "[Z] [acceleration [speed]], numbers separated by blanks or tabs, in the units of the "
    "list's header; a decimal comma reads as a point. A line that does not hold such numbers "
    "(an empty one too) stops the import and adds a zero segment.\n"
    "\n"
    "More in README.md, installed in " VANTREL_DOC_DIR ", and in the vantrel(1) manual page.";

}  // namespace

void CEditorDlg::OnHelp() { AfxMessageBox(kHelpText, MB_OK | MB_ICONINFORMATION); }
