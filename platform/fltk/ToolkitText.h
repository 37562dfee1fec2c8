// Texts as the window toolkit wants them: labels, line ends and file-name filters.
#pragma once

#include <string>
#include <utility>
#include <vector>

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
// The file dialog's filters ("Text Files (*.txt)", "*.txt;*.text") as the toolkit's filter
// string ("Text Files (*.txt)\t{*.txt,*.text}"), one filter a line. "*.*" matches every name.
std::string ToolkitFileFilter(const std::vector<std::pair<std::string, std::string>>& filters);
