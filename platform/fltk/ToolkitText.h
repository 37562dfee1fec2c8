// Texts as the window toolkit wants them: labels, line ends, caret offsets and file-name
// filters; and how a control's style and font show in the toolkit's widgets.
#pragma once

#include <FL/Enumerations.H>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/WinDefs.h"

class CWnd;

// The format character of the toolkit's lists, one that no shown text holds, so that no line
// starts a formatting code.
inline constexpr char kNoFormatChar = '\x01';

// A widget label that shows text as it is. FLTK draws "@" codes as symbols and "&x" as an
// underlined mnemonic; with keepMnemonics the "&" marks stay, as a dialog control's text
// means them.
std::string LabelText(const std::string& text, bool keepMnemonics);
// Control texts end lines with CR LF; the toolkit's text fields with LF alone.
std::string ToToolkitLineEnds(const std::string& text);
std::string ToControlLineEnds(const std::string& text);
// A caret or selection offset into a multi-line edit's text in the widget (LF line ends) as
// one into the control's text (CR LF), and back; other controls' offsets are the same in both.
// A CR that does not start a CR LF is a character of its own in both texts.
int ControlOffset(std::string_view toolkitText, int offset, bool multiLine);
int ToolkitOffset(std::string_view controlText, int offset, bool multiLine);
// The file dialog's filters ("Text Files (*.txt)", "*.txt;*.text") as the toolkit's filter
// string ("Text Files (*.txt)\t{*.txt,*.text}"), one filter a line. "*.*" matches every name.
std::string ToolkitFileFilter(const std::vector<std::pair<std::string, std::string>>& filters);

// An edit with ES_MULTILINE: its text has line ends, and Enter may go into it.
bool IsMultiLineEdit(const CWnd& control);
// Where a static control's text stands, from its SS_ style; it wraps at word breaks when the
// control has room for more than one line.
Fl_Align StaticAlignment(const CWnd& control);
// Whether "&" in the control's text marks a mnemonic: everywhere but in SS_NOPREFIX statics.
bool KeepsMnemonics(const CWnd& control);
// Whether a font is shown in the toolkit's fixed-pitch face: fixed pitch asked for, or a face
// name that says so.
bool IsFixedPitch(const LOGFONT& font);
// The character height of a font in pixels, never below a size legible on screen.
int FontPixels(const LOGFONT& font);
