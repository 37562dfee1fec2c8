// Scanning numbers from a line as sscanf does, quickly for plain decimals.
#pragma once

#include "base/ShortTextMemo.h"

namespace numbertext {

// Scans up to most (1 to 6) numbers from text exactly as the C library's sscanf with the
// format "%lf %lf ..." of most conversions does, into values; returns what sscanf returns: the
// count converted, or EOF when text holds nothing but white space. Plain decimal lines are
// scanned here, anything else (hexadecimal, "inf", "nan", a cut-off exponent, text glued to a
// number) by sscanf itself. With read, the plain numbers' texts and values are remembered there
// and looked up first: the lines of a long file repeat their numbers.
int ScanNumbers(const char* text, double* values, int most, ShortTextMemo<double>* read = nullptr);

}  // namespace numbertext
