// Where the problems of an element that the module refuses lie: the segment, the entry and its
// value, or the slave and why it cannot be used. The module's messages name none of that.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolpath/element/ElementPath.h"

class CMC_Setup;
class CMC_Motion;
class CString;

struct ElementProblem {
    long long segment = -1;  // counted from 0; -1 when the problem is not one segment's
    std::string entry;       // "X_TPOS", "SlaveY"; empty when the problem is not one entry's
    std::string value;       // the value as written, for a bad value or slave
    std::string problem;     // what is wrong with it

    // "segment 4123: all increments are 0", "segment 2: X_TPOS value "abc" is not a number",
    // "SlaveY: slave 26 has no axis letter (...)".
    std::string Text() const;
};

struct ElementProblems {
    std::vector<ElementProblem> located;  // in the order the module reads the element
    std::size_t total = 0;                // all found; above located.size() when cut short
};

// The most problems located; a longer list would only repeat them.
inline constexpr std::size_t kMostLocatedProblems = 10000;

// Reads the element as the module reads and validates it on this controller and motion, and
// locates each problem behind the module's messages: every bad value and segment, not only the
// first. Nothing is located for an element the module accepts, nor for a problem whose message
// already names it (a missing entry, a unit, a whole number out of range).
ElementProblems LocateElementProblems(std::string_view elementText, CMC_Setup& controller,
                                      CMC_Motion& motion);

// The element read once, as LocateElementProblems reads it: its path when the module would accept
// it, else nothing (a refusal's messages and places are the module's and LocateElementProblems').
std::optional<ElementPath> ReadAcceptedElement(const CString& elementText, CMC_Setup& controller,
                                               CMC_Motion& motion);
// The verdict of that reading alone: whether the module would accept the element. No path is
// built, so a caller that needs only the verdict spares its memory.
bool ReadingAccepts(const CString& elementText, CMC_Setup& controller, CMC_Motion& motion);
