// The text of a number with the fewest significant digits that still stands for its value.
#pragma once

#include "base/numbertext/Layout.h"

namespace numbertext {

// What ShortSignificant() found out about Significant(x, 15).
enum class ShortText {
    Short,    // it has at most ten significant digits: in text, with the value it reads as
    Long,     // it has more than ten significant digits
    Unknown,  // cheap arithmetic cannot tell; format it in full
};
ShortText ShortSignificant(double x, NumberBuffer& text, double& value);

// Which values stand for the same stored value as a number x: those nearer than sure to x do,
// those farther than most do not; between the two only an exact test can tell.
struct Tolerance {
    double sure = 0.0;
    double most = 0.0;
};

// A reference to a test of a value, such as a lambda, that costs no allocation.
class ValueTest {
  public:
    template <class Test>
    ValueTest(const Test& test)  // NOLINT: stands for any callable
        : m_test(&test), m_call([](const void* t, double v) {
              return static_cast<bool>((*static_cast<const Test*>(t))(v));
          }) {}
    bool operator()(double value) const { return m_call(m_test, value); }

  private:
    const void* m_test;
    bool (*m_call)(const void*, double);
};

// What FewestDigits() found out on the way about Significant(x, 15), the exact text of x that a
// save writes when it is short.
struct FewestFound {
    bool isSignificant15 = false;      // the text found is also Significant(x, 15)
    bool significant15IsLong = false;  // it has more than ten digits (ShortSignificant: Long)
    // FewestDigitsOfCount() only: the text's digits, a whole number of its step's power of ten.
    unsigned long long digits = 0;
};

// The text of x with the fewest significant digits whose value accepts() takes; the shortest
// round-trip text when none does. The digit counts are tried with a cheap rounding estimate
// first, as if Significant() and ParseNumber() were asked for each; tolerance decides most of
// them without calling accepts(), so long lists stay fast.
NumberBuffer FewestDigits(double x, const Tolerance& tolerance, ValueTest accepts,
                          FewestFound* found = nullptr);

}  // namespace numbertext
