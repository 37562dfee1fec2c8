#include "toolpath/exchange/ExactText.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "base/Rounding.h"
#include "base/numbertext/FewestDigits.h"
#include "base/numbertext/Parse.h"
#include "host/CMC_Value.h"

namespace {
constexpr double kCountSlack = 1e-6;

// The powers of ten a double holds exactly.
constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMostExactPower = 22;
constexpr unsigned long long kMostExactWhole = 1ULL << 53;

// The value of a number text written here, which always reads; NaN if it ever did not.
double Parsed(std::string_view text) {
    double value = 0.0;
    if (numbertext::ParseNumber(text, value) != numbertext::ParseResult::Ok) return std::nan("");
    return value;
}
// The text of x with the fewest digits that accepts() takes, each candidate put to the test.
numbertext::NumberBuffer FewestDigits(double x, numbertext::ValueTest accepts) {
    const numbertext::Tolerance everyCandidateTested{0.0, std::numeric_limits<double>::infinity()};
    return numbertext::FewestDigits(x, everyCandidateTested, accepts);
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
           RoundHalfAway(m_scale.ToInternal(Reached(typed).Value())) == target;
}

// The value the text made from a count's digits reads as, without reading it: a whole number
// and a power of ten that a double holds exactly give it as one correctly rounded operation, as
// the reading rounds it. False where that does not hold.
bool CountTexts::ValueOfCountText(long long counts, const numbertext::FewestFound& found,
                                  double& typed) const {
    if (m_step.power < -kMostExactPower || m_step.power > kMostExactPower ||
        found.digits >= kMostExactWhole)
        return false;
    const double digits = static_cast<double>(found.digits);
    const double magnitude = m_step.power < 0 ? digits / kExactPowers[-m_step.power]
                                              : digits * kExactPowers[m_step.power];
    typed = counts < 0 ? -magnitude : magnitude;
    return true;
}

// Every text this accepts lies within a millionth of a count of the count, so where the
// fewest-digit text of those (found from the count's digits) is accepted, the search would find
// it too. Of a step such as 2.5 um only the count's own digits lie that near.
numbertext::NumberBuffer CountTexts::Next(std::int64_t position) {
    const double counts = static_cast<double>(m_increments ? position - m_last : position);
    const double target = static_cast<double>(position);
    const double exact = m_readAs.Typed(m_scale.FromInternal(counts));
    const auto whole = static_cast<long long>(counts);
    numbertext::NumberBuffer text;
    numbertext::FewestFound found;
    double typed = 0.0;
    const bool ofCount =
        m_step.multiple != 0 &&
        numbertext::FewestDigitsOfCount(exact, whole, m_step.multiple, m_step.power, text, found,
                                        kCountSlack) &&
        (ValueOfCountText(whole, found, typed) ||
         numbertext::ParseNumber(text.View(), typed) == numbertext::ParseResult::Ok) &&
        Accepts(typed, counts, target);
    if (!ofCount) {
        text = FewestDigits(exact,
                            [&](double candidate) { return Accepts(candidate, counts, target); });
        typed = Parsed(text.View());
    }
    m_sum = Reached(typed);
    m_last = position;
    return text;
}

std::string RateText(double stored, const CountScale& scale, ReadAs readAs) {
    const double exact = readAs.Typed(scale.FromInternal(stored));
    return FewestDigits(exact,
                        [&](double typed) {
                            return CMC_Value::Represent(
                                       VT_FIXED, scale.ToInternal(readAs.Apply(typed))) == stored;
                        })
        .Str();
}

const std::string& RateTexts::Of(double stored) {
    const auto key = std::bit_cast<std::uint64_t>(stored);
    if (const std::string* text = m_remembered.Find(key)) return *text;
    return m_remembered.Remember(key, stored == 0.0 ? "0" : RateText(stored, m_scale, m_readAs));
}
