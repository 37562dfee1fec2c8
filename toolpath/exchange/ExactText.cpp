#include "toolpath/exchange/ExactText.h"

#include <cmath>
#include <limits>

#include "base/numbertext/FewestDigits.h"
#include "base/numbertext/Parse.h"
#include "host/CMC_Value.h"

namespace {
constexpr double kCountSlack = 1e-6;

// The value of a number text written here, which always reads; NaN if it ever did not.
double Parsed(const std::string& text) {
    double value = 0.0;
    if (numbertext::ParseNumber(text, value) != numbertext::ParseResult::Ok) return std::nan("");
    return value;
}
// The text of x with the fewest digits that accepts() takes, each candidate put to the test.
std::string FewestDigits(double x, numbertext::ValueTest accepts) {
    const numbertext::Tolerance everyCandidateTested{0.0, std::numeric_limits<double>::infinity()};
    return numbertext::FewestDigits(x, everyCandidateTested, accepts).Str();
}
}  // namespace

RunningSum CountTexts::Reached(double typed) const {
    RunningSum reached = m_sum;
    if (m_increments)
        reached.Add(m_readAs.Apply(typed));
    else
        reached.Set(m_readAs.Apply(typed));
    return reached;
}

CountTexts::CountTexts(const CountScale& scale, ReadAs readAs, bool increments)
    : m_scale(scale), m_readAs(readAs), m_increments(increments) {
    if (!numbertext::DecimalStepOf(m_readAs.Typed(m_scale.FromInternal(1.0)), m_step)) m_step = {};
}

bool CountTexts::Accepts(double typed, double counts, double target) const {
    const double internal = m_scale.ToInternal(m_readAs.Apply(typed));
    return std::abs(internal - counts) <= kCountSlack &&
           std::round(m_scale.ToInternal(Reached(typed).Value())) == target;
}

// Every text this accepts lies within half a step of the count, so where the fewest-digit text
// of those (found from the count's digits) is accepted, the search would find it too.
std::string CountTexts::Next(std::int64_t position) {
    const double counts = static_cast<double>(m_increments ? position - m_last : position);
    const double target = static_cast<double>(position);
    const double exact = m_readAs.Typed(m_scale.FromInternal(counts));
    numbertext::NumberBuffer digits;
    numbertext::FewestFound found;
    double typed = 0.0;
    std::string text;
    if (m_step.multiple != 0 &&
        numbertext::FewestDigitsOfCount(exact, static_cast<long long>(counts), m_step.multiple,
                                        m_step.power, digits, found) &&
        numbertext::ParseNumber(digits.View(), typed) == numbertext::ParseResult::Ok &&
        Accepts(typed, counts, target)) {
        text = digits.Str();
    } else {
        text = FewestDigits(exact,
                            [&](double candidate) { return Accepts(candidate, counts, target); });
        typed = Parsed(text);
    }
    m_sum = Reached(typed);
    m_last = position;
    return text;
}

std::string RateText(double stored, const CountScale& scale, ReadAs readAs) {
    const double exact = readAs.Typed(scale.FromInternal(stored));
    return FewestDigits(exact, [&](double typed) {
        return CMC_Value::Represent(VT_FIXED, scale.ToInternal(readAs.Apply(typed))) == stored;
    });
}
