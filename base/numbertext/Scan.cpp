#include "base/numbertext/Scan.h"

#include <fast_float/fast_float.h>

#include <cstdio>
#include <cstring>
#include <system_error>

#include "base/ByteScan.h"
#include "base/CharClass.h"

namespace numbertext {
namespace {
// Scans a line of plain decimal numbers ([+-] digits [. digits] [e [+-] digits], with a digit
// in front of the exponent); false when the line holds anything else, so that the caller asks
// sscanf. fast_float checks each number's form as it reads it, and rounds as the C library does.
bool ScanPlainNumbers(const char* p, double* values, int most, int& count,
                      ShortTextMemo<double>* remembered) {
    const char* const last = p + std::strlen(p);
    count = 0;
    while (count < most) {
        while (IsSpace(*p)) ++p;
        if (*p == '\0') {
            if (count == 0) count = EOF;
            return true;
        }
        // Only a plain number is remembered, by its whole text: a token that holds other white
        // space than blanks is not found and is read.
        const char* const blank = remembered ? FindBlank(p, last) : p;
        if (const double* known =
                remembered ? remembered->Find({p, static_cast<size_t>(blank - p)}) : nullptr) {
            values[count++] = *known;
            p = blank;
            continue;
        }
        // Infinities and NaNs are left to sscanf, and fast_float reads no leading '+'.
        const char* const digits = *p == '+' || *p == '-' ? p + 1 : p;
        if (!IsDigit(*digits) && *digits != '.') return false;
        const char* const start = *p == '+' ? p + 1 : p;
        const auto read = fast_float::from_chars(start, last, values[count]);
        if (read.ec != std::errc() || (*read.ptr != '\0' && !IsSpace(*read.ptr))) return false;
        if (remembered) remembered->Remember({p, static_cast<size_t>(read.ptr - p)}, values[count]);
        ++count;
        p = read.ptr;
    }
    return true;
}
}  // namespace

int ScanNumbers(const char* text, double* values, int most, ShortTextMemo<double>* read) {
    static const char* const kFormats[] = {"%lf",
                                           "%lf %lf",
                                           "%lf %lf %lf",
                                           "%lf %lf %lf %lf",
                                           "%lf %lf %lf %lf %lf",
                                           "%lf %lf %lf %lf %lf %lf"};
    if (most < 1 || most > 6) return 0;
    int count = 0;
    if (ScanPlainNumbers(text, values, most, count, read)) return count;
    double v[6] = {0, 0, 0, 0, 0, 0};
    count = std::sscanf(text, kFormats[most - 1], &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
    std::copy(v, v + std::clamp(count, 0, most), values);
    return count;
}

}  // namespace numbertext
