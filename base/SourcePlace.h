// Where in a source text a problem was found, and the one way messages name it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct SourcePlace {
    std::string file;
    std::uint32_t line = 0;    // from 1; 0 when the problem is the whole file's
    std::uint32_t column = 0;  // from 1, in characters; 0 when not known
};

// "file", "file:line" or "file:line:column", as far as place is known.
std::string PlaceText(const SourcePlace& place);

// "place: word: problem", or "place: problem" when there is no word. The word is shown as the
// caller gives it, so each reader quotes it as its format needs.
std::string PlaceMessage(const SourcePlace& place, std::string_view word, std::string_view problem);
std::string PlaceMessage(const SourcePlace& place, std::string_view problem);
