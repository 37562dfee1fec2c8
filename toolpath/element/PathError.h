// A problem with an element's path on the host side: the message names it for the user, and
// the place in the file it was read from where that is known.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "base/SourcePlace.h"

class PathError : public std::runtime_error {
  public:
    // A problem of the path itself, where no file is known.
    explicit PathError(const std::string& problem) : std::runtime_error(problem) {}
    PathError(const SourcePlace& place, std::string_view problem)
        : std::runtime_error(PlaceMessage(place, problem)) {}
    PathError(const SourcePlace& place, std::string_view word, std::string_view problem)
        : std::runtime_error(PlaceMessage(place, word, problem)) {}
};
