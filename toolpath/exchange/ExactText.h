// Numbers written so that the import, reading them back, lands on exactly the counts and rates
// they stand for.
#pragma once

#include <cstdint>
#include <string>

#include "base/RunningSum.h"
#include "base/numbertext/DecimalStep.h"
#include "toolpath/element/UnitConversion.h"

// Texts of positions, or of the increments between them, that the import turns back into
// exactly the same counts. Each text is the exact value where that is short, else the fewest
// digits within a millionth of a count, checked against the import's own arithmetic (for
// increments, its running sum), so no error gathers over many lines.
class CountTexts {
  public:
    CountTexts(const CountScale& scale, ReadAs readAs, bool increments);

    // The text for the next absolute position in counts.
    std::string Next(std::int64_t position);

  private:
    RunningSum Reached(double typed) const;
    bool Accepts(double typed, double counts, double target) const;

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
