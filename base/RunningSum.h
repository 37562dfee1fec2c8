// A compensated running sum: a million increments add up to what their exact sum rounds to,
// not to a value that has gathered a rounding error at every step.
#pragma once

#include <cmath>

class RunningSum {
  public:
    void Set(double value) {
        m_sum = value;
        m_compensation = 0.0;
    }
    void Add(double value) {
        const double total = m_sum + value;
        if (std::abs(m_sum) >= std::abs(value))
            m_compensation += (m_sum - total) + value;
        else
            m_compensation += (value - total) + m_sum;
        m_sum = total;
    }
    double Value() const { return m_sum + m_compensation; }

  private:
    double m_sum = 0.0;
    double m_compensation = 0.0;
};
