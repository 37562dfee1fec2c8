// Character classes of the "C" locale, for the readers of every layer: unlike <cctype> they
// take a plain char (no cast to unsigned char), never depend on the locale, and are constexpr.
#pragma once

[[nodiscard]] constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }
[[nodiscard]] constexpr bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
[[nodiscard]] constexpr bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
[[nodiscard]] constexpr bool IsLetter(char c) { return IsUpper(c) || IsLower(c); }
[[nodiscard]] constexpr bool IsLetterOrDigit(char c) { return IsLetter(c) || IsDigit(c); }
// Space and tab, the blanks between the words of a line.
[[nodiscard]] constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }
// A blank or the CR that a CR LF line end leaves behind when a text is split at LF: Trim's set.
[[nodiscard]] constexpr bool IsBlankOrCr(char c) { return IsBlank(c) || c == '\r'; }
// White space as isspace() knows it: space, \t, \n, \v, \f, \r.
[[nodiscard]] constexpr bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
[[nodiscard]] constexpr char ToLower(char c) {
    return IsUpper(c) ? static_cast<char>(c - 'A' + 'a') : c;
}
[[nodiscard]] constexpr char ToUpper(char c) {
    return IsLower(c) ? static_cast<char>(c - 'a' + 'A') : c;
}
