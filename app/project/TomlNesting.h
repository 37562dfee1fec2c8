// A bound on how deep a project file nests, checked before the TOML library parses it: the
// library descends one call per level of a dotted key, so tens of thousands of levels overflow
// its stack.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Far deeper than a project needs ([drive.x] holds keys two levels down).
inline constexpr std::size_t kMaxTomlNesting = 32;

// Throws AppError "file:line: problem" at the first key of more than kMaxTomlNesting dotted
// parts (in a table header or before "=") and the first array or inline table nested more
// than kMaxTomlNesting deep. Strings and comments are skipped; other errors are left to the
// parser.
void CheckTomlNesting(std::string_view text, const std::string& sourceName);
