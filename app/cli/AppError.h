// A failure that ends the program with a one-line message and ExitStatus::Failure.
#pragma once

#include <stdexcept>
#include <string>

class AppError : public std::runtime_error {
  public:
    explicit AppError(const std::string& message) : std::runtime_error(message) {}
};
