// Walking a text line by line, with the line numbers messages name.
#pragma once

#include <cstdint>
#include <string_view>

// Calls visit(line, number) for each line of text, numbered from 1, without its LF; a last
// line without LF counts.
template <class Visit>
void ForEachLine(std::string_view text, Visit visit) {
    std::uint32_t number = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        visit(text.substr(start, end - start), ++number);
        start = end + 1;
    }
}
