#include "base/SourcePlace.h"

std::string PlaceText(const SourcePlace& place) {
    std::string text = place.file;
    if (place.line == 0) return text;
    text += ":" + std::to_string(place.line);
    if (place.column == 0) return text;
    return text + ":" + std::to_string(place.column);
}

std::string PlaceMessage(const SourcePlace& place, std::string_view word,
                         std::string_view problem) {
    std::string message = PlaceText(place) + ": ";
    if (!word.empty()) message.append(word).append(": ");
    return message.append(problem);
}

std::string PlaceMessage(const SourcePlace& place, std::string_view problem) {
    return PlaceMessage(place, {}, problem);
}
