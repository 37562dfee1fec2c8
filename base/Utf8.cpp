#include "base/Utf8.h"

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xc0) == 0x80; }

// The length of the sequence a lead byte starts, 0 for a byte that starts none.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead < 0xc2) return 0;  // a continuation byte, or the lead of an overlong pair
    if (lead < 0xe0) return 2;
    if (lead < 0xf0) return 3;
    return lead <= 0xf4 ? 4 : 0;
}

}  // namespace

Utf8Char ReadUtf8Char(std::string_view text) {
    if (text.empty()) return {};
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = SequenceLength(lead);
    if (length == 0 || text.size() < length) return {};
    char32_t code = length == 1 ? lead : lead & (0x3fu >> (length - 1));
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if (!IsContinuation(next)) return {};
        code = (code << 6) | (next & 0x3fu);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
        return {};
    return {code, length};
}
