#include "base/EscapedText.h"

#include <algorithm>

#include "base/Utf8.h"

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void AppendByteEscape(std::string& out, unsigned char byte) {
    out += "\\x";
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0xf];
}

// The length of the well-formed UTF-8 sequence of a printable character at the start of text,
// or 0 when it is malformed or a C1 control (U+0080 to U+009F).
std::size_t PrintableSequenceLength(std::string_view text) {
    const Utf8Char read = ReadUtf8Char(text);
    return read.code <= 0x9f ? 0 : read.length;
}

}  // namespace

std::string EscapeControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const auto byte = static_cast<unsigned char>(text[0]);
        std::size_t length = 1;
        if (byte == '\n') {
            out += "\\n";
        } else if (byte == '\r') {
            out += "\\r";
        } else if (byte == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7f) {
            AppendByteEscape(out, byte);
        } else if (byte < 0x80) {
            out += text[0];
        } else if ((length = PrintableSequenceLength(text)) > 0) {
            out.append(text.substr(0, length));
        } else {
            length = 1;
            AppendByteEscape(out, byte);
        }
        text.remove_prefix(length);
    }
    return out;
}

namespace {
constexpr std::size_t kQuoteLimit = 40;
constexpr std::size_t kNameLimit = 256;
constexpr std::size_t kNameEndsKept = 120;

// How many of text's first bytes, at most limit, end on a whole character: a message never
// shows a character cut in two as broken bytes.
std::size_t WholeCharactersWithin(std::string_view text, std::size_t limit) {
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t length = std::max<std::size_t>(1, ReadUtf8Char(text.substr(at)).length);
        if (at + length > limit) break;
        at += length;
    }
    return at;
}

// Where the last bytes of text, at most limit of them, begin on a whole character.
std::size_t LastWholeCharactersFrom(std::string_view text, std::size_t limit) {
    std::size_t at = text.size() - limit;
    // A character has at most three continuation bytes (10xxxxxx) after its first.
    for (int i = 0; i < 3 && at < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[at]) & 0xc0) != 0x80) break;
        ++at;
    }
    return at;
}
}  // namespace

std::string QuotedName(std::string_view name) {
    if (name.size() <= kNameLimit) return '"' + EscapeControls(name) + '"';
    const std::string_view head = name.substr(0, WholeCharactersWithin(name, kNameEndsKept));
    const std::string_view tail = name.substr(LastWholeCharactersFrom(name, kNameEndsKept));
    return '"' + EscapeControls(head) + "..." + EscapeControls(tail) + "\" (shortened from " +
           std::to_string(name.size()) + " bytes)";
}

std::string QuoteForMessage(std::string_view text) {
    if (text.size() <= kQuoteLimit) return EscapeControls(text);
    return EscapeControls(text.substr(0, WholeCharactersWithin(text, kQuoteLimit))) + "...";
}

std::string Quoted(std::string_view text) {
    std::string quoted(1, '"');
    quoted += QuoteForMessage(text);
    quoted += '"';
    return quoted;
}
