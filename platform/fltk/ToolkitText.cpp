#include "platform/fltk/ToolkitText.h"

#include <algorithm>
#include <sstream>

#include "base/CharClass.h"
#include "base/Trim.h"
#include "platform/CWnd.h"
#include "platform/fltk/DialogLayout.h"

namespace {
// Text smaller than this many pixels is not legible on screen; smaller fonts are shown at it.
constexpr int kSmallestFontSize = 11;
// The height of a line of dialog text, in dialog units.
constexpr int kLineHeight = 8;

// The first count characters of text, or all of them when it has fewer.
std::string_view Before(std::string_view text, int count) {
    return text.substr(0, static_cast<size_t>(std::max(count, 0)));
}

std::vector<std::string> SplitPatterns(const std::string& patterns) {
    std::vector<std::string> parts;
    std::istringstream stream(patterns);
    for (std::string part; std::getline(stream, part, ';');) {
        std::string_view pattern = Trim(part, " ");
        if (!pattern.empty()) parts.emplace_back(pattern);
    }
    return parts;
}

// The toolkit matches "*.*" only against names with a dot; a dialog filter means every name.
std::string ToolkitPattern(const std::string& pattern) { return pattern == "*.*" ? "*" : pattern; }

std::string JoinPatterns(const std::vector<std::string>& patterns) {
    if (patterns.size() == 1) return ToolkitPattern(patterns.front());
    std::string joined = "{";
    for (size_t i = 0; i < patterns.size(); ++i) {
        if (i) joined += ',';
        joined += ToolkitPattern(patterns[i]);
    }
    joined += '}';
    return joined;
}

// Tabs and line breaks separate the toolkit's filters, so a description must not hold them.
std::string FilterDescription(const std::string& description) {
    std::string cleaned = description;
    for (char& c : cleaned) {
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    }
    return cleaned;
}
}  // namespace

std::string LabelText(const std::string& text, bool keepMnemonics) {
    std::string label;
    for (char c : text) {
        if (c == '@' || (c == '&' && !keepMnemonics)) label += c;
        label += c;
    }
    return label;
}

std::string ToToolkitLineEnds(const std::string& text) {
    std::string converted;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        converted += text[i];
    }
    return converted;
}

std::string ToControlLineEnds(const std::string& text) {
    std::string converted;
    for (char c : text) {
        if (c == '\n') converted += '\r';
        converted += c;
    }
    return converted;
}

// Each LF in the widget's text stands for the CR LF of the control's text.
int ControlOffset(std::string_view toolkitText, int offset, bool multiLine) {
    if (!multiLine) return offset;
    std::string_view before = Before(toolkitText, offset);
    return offset + static_cast<int>(std::count(before.begin(), before.end(), '\n'));
}

// Only the CR of a CR LF is gone from the widget's text; ToToolkitLineEnds keeps a lone one.
int ToolkitOffset(std::string_view controlText, int offset, bool multiLine) {
    if (!multiLine) return offset;
    std::string_view before = Before(controlText, offset);
    int dropped = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        if (before[i] == '\r' && i + 1 < controlText.size() && controlText[i + 1] == '\n')
            ++dropped;
    }
    return offset - dropped;
}

std::string ToolkitFileFilter(const std::vector<std::pair<std::string, std::string>>& filters) {
    std::string result;
    for (const auto& [description, patterns] : filters) {
        std::vector<std::string> parts = SplitPatterns(patterns);
        if (parts.empty()) continue;
        if (!result.empty()) result += '\n';
        result += FilterDescription(description) + '\t' + JoinPatterns(parts);
    }
    return result;
}

bool IsMultiLineEdit(const CWnd& control) {
    return control.IsEdit() && (control.GetStyle() & ES_MULTILINE) != 0;
}

Fl_Align StaticAlignment(const CWnd& control) {
    Fl_Align align = FL_ALIGN_TOP | FL_ALIGN_INSIDE;
    if (control.GetTemplateHeight() >= 2 * kLineHeight) align |= FL_ALIGN_WRAP;
    switch (control.GetStyle() & 0x3) {
        case SS_CENTER:
            return align;
        case SS_RIGHT:
            return align | FL_ALIGN_RIGHT;
        default:
            return align | FL_ALIGN_LEFT;
    }
}

bool KeepsMnemonics(const CWnd& control) {
    return !(control.IsStatic() && (control.GetStyle() & SS_NOPREFIX) != 0);
}

bool IsFixedPitch(const LOGFONT& font) {
    std::string face = font.lfFaceName;
    std::transform(face.begin(), face.end(), face.begin(), ToLower);
    return (font.lfPitchAndFamily & 0x3) == FIXED_PITCH ||
           face.find("courier") != std::string::npos || face.find("mono") != std::string::npos;
}

// A negative height is the character height; a positive one the cell height, which includes
// the internal leading of about a fifth.
int FontPixels(const LOGFONT& font) {
    int pixels = font.lfHeight < 0   ? -font.lfHeight
                 : font.lfHeight > 0 ? font.lfHeight * 4 / 5
                                     : DialogLayout::kFontSize;
    return std::max(pixels, kSmallestFontSize);
}
