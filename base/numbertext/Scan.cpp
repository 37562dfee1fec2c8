#include "base/numbertext/Scan.h"

#include <fast_float/fast_float.h>

#include <cstdio>

#include "base/CharClass.h"

namespace numbertext {
namespace {
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
        while (IsSpace(*p)) ++p;
        if (*p == '\0') {
            if (count == 0) count = EOF;
            return true;
        }
        const char* const end = PlainNumberEnd(p);
        if (end == nullptr || (*end != '\0' && !IsSpace(*end))) return false;
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

}  // namespace numbertext
