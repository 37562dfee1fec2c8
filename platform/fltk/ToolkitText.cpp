#include "platform/fltk/ToolkitText.h"

#include <sstream>

namespace {
std::vector<std::string> SplitPatterns(const std::string& patterns) {
    std::vector<std::string> parts;
    std::istringstream stream(patterns);
    for (std::string part; std::getline(stream, part, ';');) {
        size_t start = part.find_first_not_of(' ');
        size_t end = part.find_last_not_of(' ');
        if (start != std::string::npos) parts.push_back(part.substr(start, end - start + 1));
    }
    return parts;
}

// The toolkit matches "*.*" only against names with a dot; a dialog filter means every name.
std::string ToolkitPattern(const std::string& pattern) { return pattern == "*.*" ? "*" : pattern; }

std::string JoinPatterns(const std::vector<std::string>& patterns) {
    if (patterns.size() == 1) return ToolkitPattern(patterns.front());
    std::string joined = "{";
    for (size_t i = 0; i < patterns.size(); ++i)
        joined += (i ? "," : "") + ToolkitPattern(patterns[i]);
    return joined + "}";
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
