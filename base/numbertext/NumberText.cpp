#include "base/numbertext/NumberText.h"

#include "base/EscapedText.h"

namespace numbertext {
namespace {
constexpr size_t kQuoteLimit = 40;
}  // namespace

std::string QuoteForMessage(std::string_view text) {
    std::string out = EscapeControls(text.substr(0, kQuoteLimit));
    if (text.size() > kQuoteLimit) out += "...";
    return out;
}

std::string Quoted(std::string_view text) {
    std::string quoted(1, '"');
    quoted += QuoteForMessage(text);
    quoted += '"';
    return quoted;
}

}  // namespace numbertext
