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

std::string CountTexts::Next(std::int64_t position) {
    const double counts = static_cast<double>(m_increments ? position - m_last : position);
    const double target = static_cast<double>(position);
    const double exact = m_readAs.Typed(m_scale.FromInternal(counts));
    const std::string text = FewestDigits(exact, [&](double typed) {
        const double internal = m_scale.ToInternal(m_readAs.Apply(typed));
        return std::abs(internal - counts) <= kCountSlack &&
               std::round(m_scale.ToInternal(Reached(typed).Value())) == target;
    });
    m_sum = Reached(Parsed(text));
    m_last = position;
    return text;
}

std::string RateText(double stored, const CountScale& scale, ReadAs readAs) {
    const double exact = readAs.Typed(scale.FromInternal(stored));
    return FewestDigits(exact, [&](double typed) {
        return CMC_Value::Represent(VT_FIXED, scale.ToInternal(readAs.Apply(typed))) == stored;
    });
}
