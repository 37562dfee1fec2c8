#include "base/numbertext/NumberText.h"

#include <fast_float/fast_float.h>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>

#include "base/EscapedText.h"
#include "base/Rounding.h"

namespace numbertext {
namespace {
constexpr int kPlainMinExponent = -6;
constexpr int kPlainMaxExponent = 15;
constexpr size_t kQuoteLimit = 40;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A leading '+' is accepted as a sign, but not before another sign.
std::string_view WithoutPlus(std::string_view token) {
    if (token.size() > 1 && token[0] == '+' && token[1] != '-' && token[1] != '+') {
        return token.substr(1);
    }
    return token;
}

bool StartsLikeDigits(std::string_view token) {
    if (!token.empty() && token[0] == '-') token.remove_prefix(1);
    return !token.empty() && (IsDigit(token[0]) || token[0] == '.');
}

// Writes a buffer's text from its start; the buffer is always large enough for the texts
// written here. The size is set once, at the end, so that the loops keep the cursor in a
// register.
class Writer {
  public:
    explicit Writer(NumberBuffer& buffer) : m_buffer(buffer), m_next(buffer.data) {}
    ~Writer() { m_buffer.size = static_cast<size_t>(m_next - m_buffer.data); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    void Put(char c) { *m_next++ = c; }
    void Put(std::string_view text) {
        std::memcpy(m_next, text.data(), text.size());
        m_next += text.size();
    }
    void Repeat(char c, size_t count) {
        std::memset(m_next, c, count);
        m_next += count;
    }

  private:
    NumberBuffer& m_buffer;
    char* m_next;
};

// A decimal number as its significant digits (no leading or trailing zeros) and the exponent
// of the first of them: 1250 is "125" with exponent 3.
struct Decimal {
    bool negative = false;
    std::string_view digits;
    int exponent = 0;
};

// Writes a decimal in plain notation, or with an exponent outside the plain range.
void RenderDecimal(const Decimal& number, NumberBuffer& buffer) {
    Writer out(buffer);
    const std::string_view digits = number.digits;
    if (digits.empty() || digits == "0") return out.Put('0');
    if (number.negative) out.Put('-');
    const int exponent = number.exponent;
    if (exponent < kPlainMinExponent || exponent >= kPlainMaxExponent) {
        out.Put(digits[0]);
        if (digits.size() > 1) {
            out.Put('.');
            out.Put(digits.substr(1));
        }
        char exponentText[8];
        const auto end = std::to_chars(exponentText, exponentText + sizeof exponentText, exponent);
        out.Put('e');
        out.Put(std::string_view(exponentText, static_cast<size_t>(end.ptr - exponentText)));
        return;
    }
    if (exponent < 0) {
        out.Put("0.");
        out.Repeat('0', static_cast<size_t>(-exponent - 1));
        out.Put(digits);
        return;
    }
    const size_t integerDigits = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= integerDigits) {
        out.Put(digits);
        out.Repeat('0', integerDigits - digits.size());
        return;
    }
    out.Put(digits.substr(0, integerDigits));
    out.Put('.');
    out.Put(digits.substr(integerDigits));
}

std::string_view WithoutTrailingZeros(std::string_view digits) {
    while (digits.size() > 1 && digits.back() == '0') digits.remove_suffix(1);
    return digits;
}

// Rewrites scientific text such as "-1.2500e+03" as "-1250", dropping trailing zeros; an
// exponent is kept only outside the plain range.
void RenderScientific(std::string_view scientific, NumberBuffer& buffer) {
    Decimal number;
    if (!scientific.empty() && scientific[0] == '-') {
        number.negative = true;
        scientific.remove_prefix(1);
    }
    const size_t e = scientific.find('e');
    char digitStore[32];
    size_t count = 0;
    for (char c : scientific.substr(0, e)) {
        if (IsDigit(c) && count < sizeof digitStore) digitStore[count++] = c;
    }
    number.digits = WithoutTrailingZeros(std::string_view(digitStore, count));
    if (e != std::string_view::npos) {
        std::string_view text = scientific.substr(e + 1);
        if (!text.empty() && text[0] == '+') text.remove_prefix(1);
        std::from_chars(text.data(), text.data() + text.size(), number.exponent);
    }
    RenderDecimal(number, buffer);
}

// 10^k for k from 0 to 19, exactly. (kExactPowers below are the doubles that hold powers of
// ten exactly; PowersOfTen() are the library's own results.)
constexpr std::array<unsigned long long, 20> kWholePowers = [] {
    std::array<unsigned long long, 20> powers{1};
    for (size_t k = 1; k < powers.size(); ++k) powers[k] = powers[k - 1] * 10;
    return powers;
}();

// Takes zeros trailing zeros off value into power if it has them. The divisor is a constant
// of each call, so the compiler multiplies instead of dividing: a division costs tens of cycles.
template <int zeros>
void StripZeros(unsigned long long& value, int& power) {
    constexpr unsigned long long kDivisor = kWholePowers[zeros];
    if (value % kDivisor != 0) return;
    value /= kDivisor;
    power += zeros;
}

// Takes the trailing zeros off value (below 10^16, not zero) into power, in four steps.
void StripTrailingZeros(unsigned long long& value, int& power) {
    StripZeros<8>(value, power);
    StripZeros<4>(value, power);
    StripZeros<2>(value, power);
    StripZeros<1>(value, power);
}

// The count of decimal digits of value (not zero).
int DigitCount(unsigned long long value) {
    // log10(2) is about 1233 / 4096: a first guess from the bit length, one too high at most.
    const int guess = (64 - std::countl_zero(value)) * 1233 >> 12;
    return guess + 1 - (value < kWholePowers[static_cast<size_t>(guess)] ? 1 : 0);
}

// A word of eight ASCII characters, the first in the lowest byte, as memory holds it on this
// little-endian machine.
using CharWord = std::uint64_t;
constexpr int kWordChars = 8;
constexpr CharWord kZeroChars = 0x3030303030303030ull;

void StoreWord(char* out, CharWord word) { std::memcpy(out, &word, sizeof word); }

// The eight digits of value (below 10^8, with leading zeros) in a word, computed side by side:
// the halves of four digits, their pairs, then the single digits, each split by multiplying
// with a reciprocal that is exact for the range.
CharWord EightDigits(unsigned long long value) {
    const CharWord halves = value / 10000 | (value % 10000) << 32;
    const CharWord hundreds = (halves * 10486 >> 20) & 0x0000007F0000007Full;
    const CharWord pairs = hundreds | (halves - 100 * hundreds) << 16;
    const CharWord tens = (pairs * 103 >> 10) & 0x000F000F000F000Full;
    return (tens | (pairs - 10 * tens) << 8) + kZeroChars;
}

// RenderWhole() for plain notation and at most eight digits: the text is composed in words and
// stored whole, so that whoever copies it next reads what whole stores wrote.
void RenderShortPlain(bool negative, unsigned long long value, int count, int power,
                      NumberBuffer& buffer) {
    char* out = buffer.data;
    if (negative) *out++ = '-';
    // The digits in the low bytes, zero bytes above them.
    const CharWord digits = EightDigits(value) >> (8 * (kWordChars - count));
    const int exponent = power + count - 1;
    if (power >= 0) {
        const CharWord zerosAbove = count < kWordChars ? kZeroChars << (8 * count) : 0;
        StoreWord(out, digits | zerosAbove);
        StoreWord(out + kWordChars, kZeroChars);
        out += count + power;
    } else if (exponent >= 0) {
        // The integer digits stay; the fraction moves up a byte behind the point, its last
        // digit out of the word when there are eight.
        const int integerDigits = exponent + 1;
        const CharWord integerMask = (CharWord{1} << (8 * integerDigits)) - 1;
        StoreWord(out, (digits & integerMask) | CharWord{'.'} << (8 * integerDigits) |
                           (digits & ~integerMask) << 8);
        out[kWordChars] = static_cast<char>(digits >> 56);
        out += count + 1;
    } else {
        std::memcpy(out, "0.000000", kWordChars);
        out += 1 - exponent;
        StoreWord(out, digits);
        out += count;
    }
    buffer.size = static_cast<size_t>(out - buffer.data);
}

// Renders whole * 10^power, whole a positive integral double below 2^53.
void RenderWhole(bool negative, double whole, int power, NumberBuffer& buffer) {
    auto value = static_cast<unsigned long long>(whole);
    if (value == 0) return RenderDecimal(Decimal{false, "0", 0}, buffer);
    StripTrailingZeros(value, power);
    const int count = DigitCount(value);
    const int exponent = power + count - 1;
    const bool plain = exponent >= kPlainMinExponent && exponent < kPlainMaxExponent;
    if (plain && count <= kWordChars && std::endian::native == std::endian::little)
        return RenderShortPlain(negative, value, count, power, buffer);
    // Fixed-size copies: the stores are larger than any text written here, and copies of a
    // known size need no call.
    constexpr size_t kCopy = 24;
    char digits[2 * kCopy] = {};
    std::to_chars(digits, digits + kCopy, value);
    if (!plain)
        return RenderDecimal(Decimal{negative, {digits, static_cast<size_t>(count)}, exponent},
                             buffer);
    char* out = buffer.data;
    if (negative) *out++ = '-';
    if (power >= 0) {
        std::memcpy(out, digits, kCopy);
        std::memset(out + count, '0', kCopy);
        out += count + power;
    } else if (exponent >= 0) {
        const int integerDigits = exponent + 1;
        std::memcpy(out, digits, kCopy);
        out[integerDigits] = '.';
        std::memcpy(out + integerDigits + 1, digits + integerDigits, kCopy);
        out += count + 1;
    } else {
        std::memcpy(out, "0.000000", 8);
        out += 1 - exponent;
        std::memcpy(out, digits, kCopy);
        out += count;
    }
    buffer.size = static_cast<size_t>(out - buffer.data);
}

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

void NonFiniteText(double x, NumberBuffer& buffer) {
    Writer out(buffer);
    if (std::isnan(x)) return out.Put("nan");
    out.Put(x < 0 ? "-inf" : "inf");
}
}  // namespace

ParseResult ParseNumber(std::string_view token, double& value) {
    token = WithoutPlus(token);
    if (token.empty()) return ParseResult::NotNumber;
    const char* last = token.data() + token.size();
    double parsed = 0.0;
    const auto result = fast_float::from_chars(token.data(), last, parsed);
    if (result.ec != std::errc() || result.ptr != last) return ParseResult::NotNumber;
    if (!std::isfinite(parsed)) {
        return StartsLikeDigits(token) ? ParseResult::OutOfRange : ParseResult::NotNumber;
    }
    value = parsed == 0.0 ? 0.0 : parsed;
    return ParseResult::Ok;
}

ParseResult ParseWhole(std::string_view token, long long& value) {
    token = WithoutPlus(token);
    const char* last = token.data() + token.size();
    long long parsed = 0;
    const auto result = std::from_chars(token.data(), last, parsed);
    if (result.ptr != last || result.ec == std::errc::invalid_argument || token.empty()) {
        return ParseResult::NotNumber;
    }
    if (result.ec == std::errc::result_out_of_range) return ParseResult::OutOfRange;
    value = parsed;
    return ParseResult::Ok;
}

namespace {
// White space as the C library's isspace() knows it in the "C" locale.
bool IsScanSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

const char* SkipDigits(const char* p) {
    while (IsDigit(*p)) ++p;
    return p;
}

// The end of a plain decimal number at p ([+-] digits [. digits] [e [+-] digits], with a digit
// in front of the exponent), or null when what stands at p is anything else.
const char* PlainNumberEnd(const char* p) {
    if (*p == '+' || *p == '-') ++p;
    const char* const digits = p;
    p = SkipDigits(p);
    bool anyDigit = p != digits;
    if (*p == '.') {
        const char* const fraction = p + 1;
        p = SkipDigits(fraction);
        anyDigit = anyDigit || p != fraction;
    }
    if (!anyDigit) return nullptr;
    if (*p != 'e' && *p != 'E') return p;
    const char* exponent = p + 1;
    if (*exponent == '+' || *exponent == '-') ++exponent;
    const char* const end = SkipDigits(exponent);
    return end == exponent ? nullptr : end;
}

// Scans a line of plain decimal numbers; false when the line holds anything else, so that the
// caller asks sscanf.
bool ScanPlainNumbers(const char* p, double* values, int most, int& count) {
    count = 0;
    while (count < most) {
        while (IsScanSpace(*p)) ++p;
        if (*p == '\0') {
            if (count == 0) count = EOF;
            return true;
        }
        const char* const end = PlainNumberEnd(p);
        if (end == nullptr || (*end != '\0' && !IsScanSpace(*end))) return false;
        // fast_float reads no leading '+'; it rounds as the C library does.
        const char* const start = *p == '+' ? p + 1 : p;
        if (fast_float::from_chars(start, end, values[count]).ptr != end) return false;
        ++count;
        p = end;
    }
    return true;
}
}  // namespace

int ScanNumbers(const char* text, double* values, int most) {
    static const char* const kFormats[] = {"%lf",
                                           "%lf %lf",
                                           "%lf %lf %lf",
                                           "%lf %lf %lf %lf",
                                           "%lf %lf %lf %lf %lf",
                                           "%lf %lf %lf %lf %lf %lf"};
    if (most < 1 || most > 6) return 0;
    int count = 0;
    if (ScanPlainNumbers(text, values, most, count)) return count;
    double v[6] = {0, 0, 0, 0, 0, 0};
    count = std::sscanf(text, kFormats[most - 1], &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
    std::copy(v, v + std::clamp(count, 0, most), values);
    return count;
}

NumberBuffer Significant(double x, int digits) {
    NumberBuffer buffer;
    if (!std::isfinite(x)) {
        NonFiniteText(x, buffer);
        return buffer;
    }
    char text[64];
    const auto result =
        std::to_chars(text, text + sizeof text, x, std::chars_format::scientific, digits - 1);
    RenderScientific(std::string_view(text, static_cast<size_t>(result.ptr - text)), buffer);
    return buffer;
}

int CountSignificantDigits(std::string_view text) {
    text = text.substr(0, text.find('e'));
    const size_t first = text.find_first_of("123456789");
    if (first == std::string_view::npos) return 0;
    const size_t last = text.find_last_of("123456789");
    int count = 0;
    for (char c : text.substr(first, last - first + 1)) count += IsDigit(c) ? 1 : 0;
    return count;
}

namespace {
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
    // x rounded to digits significant digits, as the estimate was first defined.
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
    const double halfUnit = 0.5 * PowersOfTen()[exponent - kTextDigits + 1];
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
        const double nearly = estimate.RoundedNearly(digits, rounding);
        if (digits < 17 &&
            !Takes(tolerance, x, nearly, [&] { return accepts(estimate.Rounded(digits)); }))
            continue;
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

namespace {
using Wide = unsigned __int128;

bool MultiplyWide(Wide& value, Wide factor) {
    return !__builtin_mul_overflow(value, factor, &value);
}

bool ShiftWide(Wide& value, int bits) {
    if (bits >= 128 || (bits > 0 && value >> (128 - bits) != 0)) return false;
    value <<= bits;
    return true;
}

// The sign of magnitude - whole * 10^power, exactly; nullopt where the numbers are out of reach.
std::optional<int> CompareWithDecimal(double magnitude, unsigned long long whole, int power) {
    constexpr int kMostPower = 19;
    constexpr int kMantissaBits = 53;
    if (!std::isfinite(magnitude) || power < -kMostPower || power > kMostPower) return std::nullopt;
    int exponent = 0;
    const double fraction = std::frexp(magnitude, &exponent);
    Wide left = static_cast<unsigned long long>(std::ldexp(fraction, kMantissaBits));
    exponent -= kMantissaBits;
    Wide right = whole;
    const Wide ten = kWholePowers[static_cast<size_t>(std::abs(power))];
    if (!MultiplyWide(power >= 0 ? right : left, ten)) return std::nullopt;
    if (!ShiftWide(exponent >= 0 ? left : right, std::abs(exponent))) return std::nullopt;
    return left < right ? -1 : left > right ? 1 : 0;
}
}  // namespace

// The digit counts as SearchFewestDigits() tries them, fewest first: the text is the count's
// digits rounded to the fewest places that stay within half a step of them, a tie rounded to
// the side x lies on. A rounding takes the count back when its conversion lands on the right
// side of the half count, which the margin keeps clear of the conversion's rounding errors. The
// roundings are taken from the last digit up, so that every division is by the constant ten;
// the multiples of a coarser unit are among those of a finer one, so once a rounding lies
// beyond half a step, every coarser one does too and the walk ends.
bool FewestDigitsOfCount(double x, long long count, unsigned multiple, int power,
                         NumberBuffer& text, FewestFound& found) {
    // Up to fourteen digits, x lies within a unit of the last one: the roundings of x and of
    // its digits agree except at ties, and a text of eleven to fourteen digits is long.
    constexpr unsigned long long kMostDigits = kWholePowers[14];
    constexpr int kShortDigits = 10;
    constexpr double kConversionError = 1e-14;  // of the count, ten times what it can be
    if (multiple == 0) return false;
    if (count == 0) {
        RenderWhole(false, 0.0, power, text);
        found = {true, false};
        return true;
    }
    const auto magnitude = static_cast<unsigned long long>(count);
    const unsigned long long steps = count < 0 ? 0 - magnitude : magnitude;
    if (steps >= kMostDigits / multiple) return false;
    const unsigned long long digits = steps * multiple;
    // Twice a rounding's distance and a step are whole numbers: apart, they differ by one or
    // more, which must be more than the conversion's error (in the same measure).
    if (2.0 * multiple * static_cast<double>(steps) * kConversionError >= 1.0) return false;
    // Rounded to unit, a power of ten: the digits above it, and what lies below.
    unsigned long long above = digits;
    unsigned long long below = 0;
    unsigned long long unit = 1;
    // The rounding that drops the most digits and stays within half a step.
    unsigned long long fewestAbove = digits;
    unsigned long long fewestBelow = 0;
    unsigned long long fewestUnit = 1;
    while (above >= 10) {
        below += above % 10 * unit;
        above /= 10;
        unit *= 10;
        // Twice the distance of the nearer rounding against a step: below takes the count
        // back, above does not.
        const unsigned long long twiceAway = std::min(2 * below, 2 * (unit - below));
        if (twiceAway == multiple) return false;
        if (twiceAway > multiple) break;
        fewestAbove = above;
        fewestBelow = below;
        fewestUnit = unit;
    }
    unsigned long long rounded = fewestAbove;
    if (2 * fewestBelow > fewestUnit) {
        ++rounded;
    } else if (2 * fewestBelow == fewestUnit) {
        const std::optional<int> side = CompareWithDecimal(std::fabs(x), digits, power);
        if (!side || *side == 0) return false;
        if (*side > 0) ++rounded;
    }
    rounded *= fewestUnit;
    RenderWhole(count < 0, static_cast<double>(rounded), power, text);
    unsigned long long significant = digits;
    int ignored = 0;
    StripTrailingZeros(significant, ignored);
    const bool longText = DigitCount(significant) > kShortDigits;
    found.isSignificant15 = rounded == digits;
    found.significant15IsLong = longText;
    return true;
}

NumberBuffer Shortest(double x) {
    NumberBuffer buffer;
    if (!std::isfinite(x)) {
        NonFiniteText(x, buffer);
        return buffer;
    }
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, x, std::chars_format::scientific);
    RenderScientific(std::string_view(text, static_cast<size_t>(result.ptr - text)), buffer);
    return buffer;
}

std::string QuoteForMessage(std::string_view text) {
    std::string out = EscapeControls(text.substr(0, kQuoteLimit));
    if (text.size() > kQuoteLimit) out += "...";
    return out;
}

std::string Quoted(std::string_view text) {
    std::string quoted(1, '"');
    quoted += QuoteForMessage(text);
    quoted += '"';
    return quoted;
}

}  // namespace numbertext
