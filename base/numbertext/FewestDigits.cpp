#include "base/numbertext/FewestDigits.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

#include "base/Rounding.h"
#include "base/numbertext/LayoutParts.h"
#include "base/numbertext/Parse.h"

namespace numbertext {
namespace {
using layout::Decimal;
using layout::RenderDecimal;
using layout::RenderWhole;
using layout::StripTrailingZeros;

// The powers of ten that doubles hold exactly: a whole number below 2^53 times or divided by
// one of them is correctly rounded, as parsing its decimal text is.
constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kLastExactPower = 22;

// whole * 10^power as parsing its text gives it; false when that needs more than one rounding.
bool ScaleExactly(double whole, int power, double& value) {
    if (power < -kLastExactPower || power > kLastExactPower || whole >= 9007199254740992.0)
        return false;
    value = power < 0 ? whole / kExactPowers[-power] : whole * kExactPowers[power];
    return true;
}

// std::pow(10.0, k) for the exponents of ordinary magnitudes, computed once when the library
// loads.
constexpr int kTablePower = 300;
const std::array<double, 2 * kTablePower + 1> kPowerTable = [] {
    std::array<double, 2 * kTablePower + 1> powers{};
    for (int k = -kTablePower; k <= kTablePower; ++k)
        powers[static_cast<size_t>(k + kTablePower)] = std::pow(10.0, k);
    return powers;
}();
const double* PowersOfTen() { return kPowerTable.data() + kTablePower; }

// A magnitude nearer than this, relatively, to a power of ten leaves its leading digit in doubt.
constexpr double kNearDecade = 1e-12;

// Whether magnitude lies where the table's powers of ten reach.
bool HasTableExponent(double magnitude) { return magnitude > 1e-290 && magnitude < 1e290; }

// The k whose table power of ten is the greatest not above magnitude (HasTableExponent).
int TableExponent(double magnitude) {
    const double* powers = PowersOfTen();
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const int binaryExponent = static_cast<int>((bits >> 52) & 0x7ff) - 1023;
    // floor(binaryExponent * log10(2)), off by at most one, which the loops mend.
    int k = (binaryExponent * 78913) >> 18;
    while (magnitude >= powers[k + 1]) ++k;
    while (magnitude < powers[k]) --k;
    return k;
}

// The exponent of magnitude's leading digit, when magnitude is far enough from a power of ten
// that std::floor(std::log10(magnitude)) is sure to give the same; false otherwise.
bool ClearDecimalExponent(double magnitude, int& exponent) {
    if (!HasTableExponent(magnitude)) return false;
    const double* powers = PowersOfTen();
    const int k = TableExponent(magnitude);
    exponent = k;
    return magnitude > powers[k] * (1 + kNearDecade) &&
           magnitude < powers[k + 1] * (1 - kNearDecade);
}

// x rounded to a number of significant digits by arithmetic: cheap, but only nearly exact.
class RoundingEstimate {
  public:
    // One digit count's rounding: |x| scaled to that many digits before the point, the whole
    // number nearest to it, and the power of ten that scales the whole number back.
    struct Rounding {
        double scaled = 0.0;
        double whole = 0.0;
        int power = 0;
    };

    // With clearExponent, the exponent of x's leading digit when ClearDecimalExponent() found it.
    explicit RoundingEstimate(double x, const int* clearExponent = nullptr);
    Rounding At(int digits) const;
    // x rounded to digits significant digits by arithmetic, near the value of its text.
    double Rounded(int digits) const;
    // Rounded() to within a few units in its last place, without a division.
    double RoundedNearly(int digits, const Rounding& rounding) const;
    // The digit counts (bit n for n digits, 1 to 17) whose Rounded() may lie within reach of
    // x; the others lie farther beyond doubt.
    unsigned WithinReach(double reach) const;
    // Significant(x, digits), where plain arithmetic gives it provably the same; false where it
    // cannot, and the caller formats. Near halfway the rounding is mended to the side x lies on.
    bool ExactText(int digits, Rounding& rounding, NumberBuffer& text) const;
    // The value that ExactText's text reads back as.
    double ExactValue(const Rounding& rounding) const;

  private:
    double m_x;
    double m_scale = 0.0;  // 10^-exponent of x's leading digit; 0 = no estimate
    int m_exponent = 0;    // the exponent of x's leading digit, where m_scale is set
};

RoundingEstimate::RoundingEstimate(double x, const int* clearExponent) : m_x(x) {
    if (!std::isfinite(x) || x == 0.0) return;
    const double magnitude = std::fabs(x);
    int exponent = 0;
    // The table holds std::pow's own results, so both ways give the same scale.
    double scale = 0.0;
    if (clearExponent) {
        exponent = *clearExponent;
        scale = PowersOfTen()[-exponent];
    } else if (ClearDecimalExponent(magnitude, exponent)) {
        scale = PowersOfTen()[-exponent];
    } else {
        const double leading = std::floor(std::log10(magnitude));
        scale = std::pow(10.0, -leading);
        exponent = static_cast<int>(leading);
    }
    if (!std::isfinite(scale)) return;
    m_scale = scale;
    m_exponent = exponent;
}

RoundingEstimate::Rounding RoundingEstimate::At(int digits) const {
    Rounding rounding;
    rounding.scaled = std::fabs(m_x) * (m_scale * kExactPowers[digits - 1]);
    rounding.whole = RoundHalfAway(rounding.scaled);
    rounding.power = m_exponent - digits + 1;
    return rounding;
}

double RoundingEstimate::Rounded(int digits) const {
    if (m_scale == 0.0 || digits < 1 || digits > 17) return m_x;
    const double scale = m_scale * kExactPowers[digits - 1];
    return RoundHalfAway(m_x * scale) / scale;
}

// The table's power of ten and the reciprocal of Rounded()'s scale each differ from the true
// power by about a unit in the last place, so the two results differ by a few.
double RoundingEstimate::RoundedNearly(int digits, const Rounding& rounding) const {
    if (m_scale == 0.0 || rounding.power < -kTablePower || rounding.power > kTablePower)
        return Rounded(digits);
    const double magnitude = rounding.whole * PowersOfTen()[rounding.power];
    return m_x < 0 ? -magnitude : magnitude;
}

// Up to twelve digits the scaled value is good to far better than a thousandth of a unit, and
// Rounded() divides it back with an error as small: a distance beyond reach by more than that
// is beyond reach for Rounded() too. The digit counts are independent of each other, so the
// loop has no chain from one to the next.
unsigned RoundingEstimate::WithinReach(double reach) const {
    constexpr int kMostDigits = 12;
    constexpr double kSlack = 1e-3;
    // Adding and taking away 2^52 rounds a smaller number to a whole one.
    constexpr double kRounder = 4503599627370496.0;
    constexpr unsigned kAll = ((1u << 18) - 1) & ~1u;
    if (m_scale == 0.0) return kAll;
    const double magnitude = std::fabs(m_x);
    unsigned within = 0;
    for (int digits = 1; digits <= kMostDigits; ++digits) {
        const double scale = m_scale * kExactPowers[digits - 1];
        const double limit = reach * scale * (1 + 1e-6) + kSlack;
        // No rounding lies farther than half a unit away: from here on all are within reach.
        if (limit >= 0.5) return within | (kAll & ~((1u << digits) - 1));
        const double scaled = magnitude * scale;
        const double nearest = (scaled + kRounder) - kRounder;
        within |= std::fabs(scaled - nearest) > limit ? 0u : 1u << digits;
    }
    return within | (kAll & ~((1u << (kMostDigits + 1)) - 1));
}

// The scaled value's error is a few units in its last place: up to twelve digits it stays far
// below a thousandth, so a rounding decided by more than that is the exact one. Nearer halfway,
// x itself decides, as formatting it does: compared with the halfway point correctly rounded,
// x lies on the same side as of the point itself, unless x is that very double.
bool RoundingEstimate::ExactText(int digits, Rounding& rounding, NumberBuffer& text) const {
    constexpr int kMostDigits = 12;
    constexpr double kTieMargin = 1e-3;
    constexpr double kDecadeMargin = 1e-9;
    if (m_scale == 0.0 || digits > kMostDigits) return false;
    // Near a power of ten the leading digit's place itself is in doubt.
    const double scaled = rounding.scaled;
    if (!(scaled > kExactPowers[digits - 1] * (1 + kDecadeMargin) &&
          scaled < kExactPowers[digits] * (1 - kDecadeMargin)))
        return false;
    if (rounding.power < -kLastExactPower || rounding.power > kLastExactPower) return false;
    const double below = static_cast<double>(static_cast<long long>(scaled));
    if (std::fabs(scaled - below - 0.5) < kTieMargin) {
        double halfway = 0.0;
        if (!ScaleExactly(2 * below + 1, rounding.power, halfway)) return false;
        halfway /= 2;
        const double magnitude = std::fabs(m_x);
        if (magnitude == halfway) return false;
        rounding.whole = magnitude > halfway ? below + 1 : below;
    }
    RenderWhole(m_x < 0, rounding.whole, rounding.power, text);
    return true;
}

double RoundingEstimate::ExactValue(const Rounding& rounding) const {
    double magnitude = 0.0;
    ScaleExactly(rounding.whole, rounding.power, magnitude);
    return m_x < 0 ? -magnitude : magnitude;
}

// Whether a value, known to within a few units in its last place as nearly, is taken: the band
// decides where it can, exactly() where it cannot.
template <class Exactly>
bool Takes(const Tolerance& tolerance, double x, double nearly, Exactly exactly) {
    const double distance = std::fabs(nearly - x);
    if (distance < tolerance.sure) return true;
    if (distance > tolerance.most) return false;
    return exactly();
}

// How far a candidate lies from a magnitude, against half a unit of the magnitude's fifteenth
// significant digit (exponent: that of its first digit); margins keep the rounding of the
// arithmetic out.
enum class FifteenDigitDistance { Within, Beyond, Unsure };

FifteenDigitDistance DistanceFromFifteenDigits(double magnitude, int exponent, double candidate) {
    constexpr int kTextDigits = 15;
    // The fifteenth digit of the tiniest magnitudes with a table exponent lies below the table.
    const int unitPower = exponent - kTextDigits + 1;
    if (unitPower < -kTablePower) return FifteenDigitDistance::Unsure;
    const double halfUnit = 0.5 * PowersOfTen()[unitPower];
    const double noise = magnitude * 2.3e-16;
    const double distance = std::fabs(magnitude - candidate);
    if (distance < halfUnit * (1 - 1e-9) - noise) return FifteenDigitDistance::Within;
    if (distance > halfUnit * (1 + 1e-9) + noise) return FifteenDigitDistance::Beyond;
    return FifteenDigitDistance::Unsure;
}

// |x| rounded to ten significant digits, whole * 10^power (whole of ten digits), what that reads
// back as, and how far it lies from x; Unsure where plain arithmetic cannot tell. On the way,
// the exponent of x's leading digit, where it is clear of the powers of ten.
struct TenDigits {
    double whole = 0.0;
    int power = 0;
    double back = 0.0;
    FifteenDigitDistance distance = FifteenDigitDistance::Unsure;
    bool clearExponent = false;
    int exponent = 0;
};

TenDigits RoundToTenDigits(double x) {
    constexpr int kDigits = 10;
    TenDigits rounding;
    int exponent = 0;
    if (!std::isfinite(x) || !ClearDecimalExponent(std::fabs(x), exponent)) return rounding;
    rounding.clearExponent = true;
    rounding.exponent = exponent;
    const int power = exponent - kDigits + 1;
    if (power < -kLastExactPower || power > kLastExactPower) return rounding;
    const double magnitude = std::fabs(x);
    const double scaled =
        power < 0 ? magnitude * kExactPowers[-power] : magnitude / kExactPowers[power];
    const double whole = RoundHalfAway(scaled);
    if (whole < kExactPowers[kDigits - 1] || whole > kExactPowers[kDigits]) return rounding;
    if (!ScaleExactly(whole, power, rounding.back)) return rounding;
    rounding.whole = whole;
    rounding.power = power;
    rounding.distance = DistanceFromFifteenDigits(magnitude, exponent, rounding.back);
    return rounding;
}

// |x| as the power of ten that it lies next to, 10^9 * 10^power, in the form of RoundToTenDigits;
// Unsure where it lies next to none. Half a unit of the fifteenth digit is taken from below the
// power, the smaller of the two sides.
TenDigits NearPowerOfTen(double x) {
    constexpr int kDigits = 10;
    TenDigits rounding;
    const double magnitude = std::fabs(x);
    if (!std::isfinite(x) || !HasTableExponent(magnitude)) return rounding;
    const double* powers = PowersOfTen();
    int k = TableExponent(magnitude);
    if (magnitude >= powers[k + 1] * (1 - kNearDecade)) {
        ++k;
    } else if (magnitude > powers[k] * (1 + kNearDecade)) {
        return rounding;
    }
    const double whole = kExactPowers[kDigits - 1];
    if (!ScaleExactly(whole, k - kDigits + 1, rounding.back)) return rounding;
    rounding.whole = whole;
    rounding.power = k - kDigits + 1;
    rounding.distance = DistanceFromFifteenDigits(magnitude, k - 1, rounding.back);
    return rounding;
}

// The text of x when x is a decimal of at most ten digits (to within half a unit of its
// fifteenth) that tolerance surely takes, while every rounding of x to fewer digits, a multiple
// of ten units of its last digit, lies farther than the tolerance's most: what the search of
// FewestDigits would find, without the search. Whole positions in a decimal unit, whole numbers
// and the short values people type are such decimals.
bool ShortExactDecimal(double x, const TenDigits& tenDigits, const Tolerance& tolerance,
                       NumberBuffer& text) {
    if (x == 0.0) return false;
    const TenDigits rounding =
        tenDigits.distance == FifteenDigitDistance::Unsure ? NearPowerOfTen(x) : tenDigits;
    if (rounding.distance != FifteenDigitDistance::Within) return false;
    const double magnitude = std::fabs(x);
    if (!(std::fabs(magnitude - rounding.back) + magnitude * 1e-15 < tolerance.sure)) return false;
    auto whole = static_cast<unsigned long long>(rounding.whole);
    int power = rounding.power;
    StripTrailingZeros(whole, power);
    const double lastUnit = PowersOfTen()[power];
    if (!(tolerance.most < lastUnit * (1 - 1e-9) - magnitude * 1e-14)) return false;
    RenderWhole(x < 0, static_cast<double>(whole), power, text);
    return true;
}

// Whether value is what Significant(x, 15) reads back as: x rounded to fifteen significant
// digits (tenDigits: RoundToTenDigits(x)). False also where cheap arithmetic cannot tell.
bool IsFifteenDigitRounding(double x, const TenDigits& tenDigits, double value) {
    if (x == 0.0 || value == 0.0) return x == value;
    if (!tenDigits.clearExponent || (x < 0) != (value < 0)) return false;
    return DistanceFromFifteenDigits(std::fabs(x), tenDigits.exponent, std::fabs(value)) ==
           FifteenDigitDistance::Within;
}

// The digit counts in turn, each decided by tolerance where it can and by accepts() where it
// cannot; text and value are left as they are when no count is taken.
bool SearchFewestDigits(double x, const TenDigits& tenDigits, const Tolerance& tolerance,
                        ValueTest accepts, NumberBuffer& text, double& value) {
    const RoundingEstimate estimate(x, tenDigits.clearExponent ? &tenDigits.exponent : nullptr);
    const unsigned candidates = estimate.WithinReach(tolerance.most);
    for (int digits = 1; digits <= 17; ++digits) {
        if ((candidates & (1u << digits)) == 0) continue;
        RoundingEstimate::Rounding rounding = estimate.At(digits);
        // A rounding beyond most is refused on its estimate; any other is decided by the value
        // of its text, since one exactly half a step away may read back to x or not.
        const double nearly = estimate.RoundedNearly(digits, rounding);
        if (digits < 17 && std::fabs(nearly - x) > tolerance.most) continue;
        if (estimate.ExactText(digits, rounding, text)) {
            // The text's value and its estimate are both within a few units of the same decimal.
            const double textNearly = estimate.RoundedNearly(digits, rounding);
            if (!Takes(tolerance, x, textNearly,
                       [&] { return accepts(estimate.ExactValue(rounding)); }))
                continue;
            value = estimate.ExactValue(rounding);
            return true;
        }
        text = Significant(x, digits);
        if (ParseNumber(text.View(), value) == ParseResult::Ok && accepts(value)) return true;
    }
    return false;
}
}  // namespace

NumberBuffer FewestDigits(double x, const Tolerance& tolerance, ValueTest accepts,
                          FewestFound* found) {
    // One buffer, returned as it is: the texts are written where the caller receives them.
    NumberBuffer text;
    FewestFound facts;
    const TenDigits tenDigits = x == 0.0 ? TenDigits{} : RoundToTenDigits(x);
    facts.significant15IsLong = tenDigits.distance == FifteenDigitDistance::Beyond;
    double value = x;
    if (ShortExactDecimal(x, tenDigits, tolerance, text)) {
        facts.isSignificant15 = true;
    } else if (SearchFewestDigits(x, tenDigits, tolerance, accepts, text, value)) {
        // Texts of at most fifteen digits that read back alike are the same text.
        constexpr size_t kFifteen = 15;
        facts.isSignificant15 =
            text.size <= kFifteen && IsFifteenDigitRounding(x, tenDigits, value);
    } else {
        text = Shortest(x);
    }
    if (found) *found = facts;
    return text;
}

// The nearest ten digits are the text when they lie within half a unit of the fifteenth digit
// of x, and cannot be when they lie farther.
ShortText ShortSignificant(double x, NumberBuffer& text, double& value) {
    if (x == 0.0) {
        RenderDecimal(Decimal{false, "0", 0}, text);
        value = 0.0;
        return ShortText::Short;
    }
    const TenDigits rounding = RoundToTenDigits(x);
    switch (rounding.distance) {
        case FifteenDigitDistance::Within:
            RenderWhole(x < 0, rounding.whole, rounding.power, text);
            value = x < 0 ? -rounding.back : rounding.back;
            return ShortText::Short;
        case FifteenDigitDistance::Beyond:
            return ShortText::Long;
        case FifteenDigitDistance::Unsure:
            break;
    }
    return ShortText::Unknown;
}

}  // namespace numbertext
