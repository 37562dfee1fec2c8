// Walking a text line by line, with the line numbers messages name. Every reader of lines uses
// this one rule: a line ends at LF, at CR LF or at a CR alone, so a file written with CR line
// ends is read as the lines it shows, never as one line; a CR is never part of a line.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

// Where a line ends: at end (its line end, or the text's end) and the next line starts at next.
struct LineBounds {
    size_t end = 0;
    size_t next = 0;
};

// The bounds of the line that starts at start. A CR that is the text's last byte is a line end
// of its own: a reader of pieces that may continue with an LF looks at the next piece itself.
// Two memchr scans, not find_first_of: the library's find_first_of looks each byte up in the
// set one call at a time, and element lines run to megabytes.
inline LineBounds FindLineEnd(std::string_view text, size_t start) {
    if (start >= text.size()) return {text.size(), text.size()};
    const char* const first = text.data() + start;
    const size_t length = text.size() - start;
    const void* lf = std::memchr(first, '\n', length);
    const size_t lineFeed = lf ? static_cast<size_t>(static_cast<const char*>(lf) - first) : length;
    const void* cr = std::memchr(first, '\r', lineFeed);
    const size_t end =
        start + (cr ? static_cast<size_t>(static_cast<const char*>(cr) - first) : lineFeed);
    if (end == text.size()) return {text.size(), text.size()};
    const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    return {end, end + (crLf ? 2 : 1)};
}

// Calls visit(line, number) for each line of text, numbered from 1, without its line end; a
// last line without a line end counts. A visit that returns bool stops the walk with false.
template <class Visit>
void ForEachLine(std::string_view text, Visit visit) {
    std::uint32_t number = 0;
    size_t start = 0;
    while (start < text.size()) {
        const LineBounds bounds = FindLineEnd(text, start);
        const std::string_view line = text.substr(start, bounds.end - start);
        if constexpr (std::is_same_v<std::invoke_result_t<Visit, std::string_view, std::uint32_t>,
                                     bool>) {
            if (!visit(line, ++number)) return;
        } else {
            visit(line, ++number);
        }
        start = bounds.next;
    }
}
