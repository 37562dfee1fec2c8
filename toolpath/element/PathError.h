// A problem with an element's path on the host side: the message names it for the user.
#pragma once

#include <stdexcept>
#include <string>

class PathError : public std::runtime_error {
  public:
    explicit PathError(const std::string& message) : std::runtime_error(message) {}
};
