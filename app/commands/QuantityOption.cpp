#include "app/commands/QuantityOption.h"

#include <cmath>
#include <string_view>

#include "app/cli/AppError.h"
#include "base/CharClass.h"
#include "base/EscapedText.h"
#include "base/numbertext/Parse.h"
#include "host/CMC_Units.h"

namespace {

constexpr double kSecondsPerMinute = 60.0;

size_t SkipDigits(const std::string& text, size_t i) {
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i;
}

// Where the number at the start of text ends: sign, digits, a decimal point, an exponent.
size_t NumberEnd(const std::string& text) {
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    i = SkipDigits(text, i);
    if (i < text.size() && text[i] == '.') i = SkipDigits(text, i + 1);
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t exponent = i + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
        if (exponent < text.size() && IsDigit(text[exponent])) i = SkipDigits(text, exponent);
    }
    return i;
}

}  // namespace

Quantity ParseQuantity(const std::string& text, const char* option, const char* example) {
    const size_t end = NumberEnd(text);
    Quantity quantity;
    const size_t unitStart = text.find_first_not_of(' ', end);
    if (unitStart != std::string::npos) quantity.unit = text.substr(unitStart);
    const numbertext::ParseResult result =
        numbertext::ParseNumber(std::string_view(text).substr(0, end), quantity.value);
    const std::string allowed =
        "; give a number above 0, with or without a unit (such as " + std::string(example) + ")";
    if (result == numbertext::ParseResult::NotNumber)
        throw AppError(std::string(option) + ": " + Quoted(text) + " is not a number" + allowed);
    if (result != numbertext::ParseResult::Ok || !(quantity.value > 0.0) ||
        !std::isfinite(quantity.value))
        throw AppError(std::string(option) + ": " + Quoted(text) + " is out of range" + allowed);
    return quantity;
}

double Converted(const CMC_Units& units, Quantity quantity, const std::string& target,
                 const char* option) {
    if (target.empty())
        throw AppError(std::string(option) + ": the element's columns have no unit, so the value " +
                       "is an internal number; give it without a unit");
    if (!units.Convert(quantity.value, quantity.unit.c_str(), target.c_str()))
        throw AppError(std::string(option) + ": the unit " + Quoted(quantity.unit) +
                       " does not convert into " + target);
    return quantity.value;
}

bool TakePerMinute(std::string& unit) {
    constexpr std::string_view kPerMinute = "/min";
    if (!unit.ends_with(kPerMinute)) return false;
    unit.resize(unit.size() - kPerMinute.size());
    return true;
}

double SpeedIn(const CMC_Units& units, Quantity quantity, const std::string& target,
               const char* option) {
    if (!TakePerMinute(quantity.unit)) return Converted(units, quantity, target, option);
    // The length per minute in the target's length, per second: "mm/min" into "m/s".
    std::string targetLength = target;
    if (targetLength.ends_with("/s")) targetLength.resize(targetLength.size() - 2);
    return Converted(units, quantity, targetLength, option) / kSecondsPerMinute;
}
