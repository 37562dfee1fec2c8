// Numbers written so that the import, reading them back, lands on exactly the counts and rates
// they stand for.
#pragma once

#include <cstdint>
#include <string>

#include "base/KeyedMemo.h"
#include "base/RunningSum.h"
#include "base/numbertext/DecimalStep.h"
#include "base/numbertext/Layout.h"
#include "toolpath/element/UnitConversion.h"

// Texts of positions, or of the increments between them, that the import turns back into
// exactly the same counts. Each text is the exact value where that is short, else the fewest
// digits within a millionth of a count, checked against the import's own arithmetic (for
// increments, its running sum), so no error gathers over many lines.
class CountTexts {
  public:
    CountTexts(const CountScale& scale, ReadAs readAs, bool increments);

    // The text for the next absolute position in counts.
    numbertext::NumberBuffer Next(std::int64_t position);

  private:
    RunningSum Reached(double typed) const;
    bool Accepts(double typed, double counts, double target) const;
    bool ValueOfCountText(long long counts, const numbertext::FewestFound& found,
                          double& typed) const;

    CountScale m_scale;
    ReadAs m_readAs;
    bool m_increments;
    RunningSum m_sum;
    std::int64_t m_last = 0;
    // A count's step in the typed unit as a decimal; multiple 0 when it is none.
    numbertext::DecimalStep m_step;
};

// The text of a speed or acceleration that the import stores as exactly stored (its internal
// value as the columns' fixed point holds it), with the fewest digits.
std::string RateText(double stored, const CountScale& scale, ReadAs readAs);

// RateText of the values of one column, none (zero) as 0. A path has few feeds and
// accelerations, each met again and again: the texts of the last few dozen are remembered.
class RateTexts {
  public:
    RateTexts(const CountScale& scale, ReadAs readAs) : m_scale(scale), m_readAs(readAs) {}
    // The text, valid until the next call: a value met later may take its slot.
    const std::string& Of(double stored);

  private:
    CountScale m_scale;
    ReadAs m_readAs;
    KeyedMemo<std::string, 6> m_remembered;  // 64 slots
};
