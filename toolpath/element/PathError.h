// A problem with an element's path on the host side: the message names it for the user, and
// the place in the file it was read from where that is known.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/SourcePlace.h"

class PathError : public std::runtime_error {
  public:
    // A problem of the path itself, where no file is known.
    explicit PathError(const std::string& problem)
        : std::runtime_error(problem), m_messages{problem} {}
    PathError(const SourcePlace& place, std::string_view problem)
        : PathError(PlaceMessage(place, problem)) {}
    PathError(const SourcePlace& place, std::string_view word, std::string_view problem)
        : PathError(PlaceMessage(place, word, problem)) {}
    // Several problems of one file found in one pass, each a message of its own; what() holds
    // them one a line.
    explicit PathError(std::vector<std::string> messages)
        : std::runtime_error(Joined(messages)), m_messages(std::move(messages)) {}

    const std::vector<std::string>& Messages() const { return m_messages; }

  private:
    static std::string Joined(const std::vector<std::string>& messages) {
        std::string text;
        for (const std::string& message : messages) text += (text.empty() ? "" : "\n") + message;
        return text;
    }

    std::vector<std::string> m_messages;
};
