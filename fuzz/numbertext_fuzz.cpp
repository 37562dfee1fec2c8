// Holds the number text fast paths to their plain definitions: the input's first bytes give a
// double and a count of a decimal step (by the whole-number way and by the search), the whole
// input is also scanned as a line of numbers.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/Rounding.h"
#include "base/numbertext/DecimalStep.h"
#include "base/numbertext/FewestDigits.h"
#include "base/numbertext/Reference.h"
#include "base/numbertext/Scan.h"

namespace {
using namespace numbertext;

template <class T>
T Take(const std::uint8_t*& data, size_t& size) {
    T value{};
    const size_t n = size < sizeof value ? size : sizeof value;
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

void Check(bool holds) {
    if (!holds) std::abort();
}

// Values within half a step of x stand for it; the tolerance leaves a margin either side. The
// step stays far above the rounding error of a double, as the steps of drives do: the fast
// path decides by its estimate where the tolerance says it may.
void CheckFewestDigits(double x, double step) {
    if (!std::isfinite(x) || !(step > 0.0) || !std::isfinite(step)) return;
    const auto accepts = [&](double v) { return std::fabs(v - x) < step / 2; };
    const Tolerance tolerance{step * 0.4, step * 0.6};
    Check(FewestDigits(x, tolerance, accepts).Str() == PlainFewestDigits(x, accepts));
}

void CheckShortSignificant(double x) {
    if (!std::isfinite(x)) return;
    NumberBuffer fast;
    NumberBuffer plain;
    double fastValue = 0.0;
    double plainValue = 0.0;
    const ShortText answer = ShortSignificant(x, fast, fastValue);
    if (answer == ShortText::Unknown) return;
    Check(PlainShortSignificant(x, plain, plainValue) == answer);
    if (answer == ShortText::Short) Check(fast.Str() == plain.Str() && fastValue == plainValue);
}

// A count of multiple * 10^power, converted back by rounding to the nearest count; and, as the
// export asks, within a millionth of the count.
void CheckCountOfStep(long long count, unsigned multiple, int power) {
    if (multiple == 0) return;
    const double step = multiple * std::pow(10.0, power);
    const double x = static_cast<double>(count) * step;
    NumberBuffer text;
    FewestFound found;
    if (FewestDigitsOfCount(x, count, multiple, power, text, found)) {
        const auto accepts = [&](double v) { return std::llround(v / step) == count; };
        Check(text.Str() == PlainFewestDigits(x, accepts));
    }
    constexpr double kWithin = 1e-6;
    if (FewestDigitsOfCount(x, count, multiple, power, text, found, kWithin)) {
        const auto near = [&](double v) {
            return std::fabs(v / step - static_cast<double>(count)) <= kWithin;
        };
        Check(text.Str() == PlainFewestDigits(x, near));
    }
}

// The same count through the fewest-digit search, with the tolerance a column of whole counts
// gives it: the texts exactly half a step away, which the whole-number way leaves to the search,
// read back to the count or not as the conversion rounds them.
void CheckSearchOfCount(long long count, unsigned multiple, int power) {
    if (multiple == 0) return;
    const double step = multiple * std::pow(10.0, power);
    const double x = static_cast<double>(count) * step;
    const double halfStep = step / 2;
    const double noise = std::fabs(x) * 1e-14;
    const Tolerance tolerance{halfStep * (1 - 1e-9) - noise, halfStep * (1 + 1e-9) + noise};
    const auto accepts = [&](double v) {
        return RoundHalfAway(v / step) == static_cast<double>(count);
    };
    Check(FewestDigits(x, tolerance, accepts).Str() == PlainFewestDigits(x, accepts));
}

void CheckScan(const std::uint8_t* data, size_t size, int most) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    double fast[6] = {};
    double plain[6] = {};
    const int count = ScanNumbers(line.c_str(), fast, most);
    const int expected = std::sscanf(line.c_str(), "%lf %lf %lf %lf %lf %lf", &plain[0], &plain[1],
                                     &plain[2], &plain[3], &plain[4], &plain[5]);
    const int wanted = expected > most ? most : expected;
    Check(count == wanted);
    for (int i = 0; i < count; ++i) Check(std::memcmp(&fast[i], &plain[i], sizeof fast[i]) == 0);
    // With the numbers of every input before remembered, as the import scans a file.
    static ShortTextMemo<double> remembered;
    double again[6] = {};
    Check(ScanNumbers(line.c_str(), again, most, &remembered) == wanted);
    for (int i = 0; i < count; ++i) Check(std::memcmp(&again[i], &plain[i], sizeof again[i]) == 0);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::uint8_t* whole = data;
    const size_t wholeSize = size;
    const auto x = Take<double>(data, size);
    const auto count = Take<std::int32_t>(data, size);
    const auto multiple = Take<std::uint16_t>(data, size);
    const auto power = Take<std::uint8_t>(data, size);
    CheckShortSignificant(x);
    CheckFewestDigits(x, std::fabs(x) * std::pow(10.0, -(power % 12)));
    CheckCountOfStep(count, multiple, -(power % 10));
    CheckSearchOfCount(count, multiple, -(power % 10));
    CheckScan(whole, wholeSize, power % 6 + 1);
    return 0;
}
