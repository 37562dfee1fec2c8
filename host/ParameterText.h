// Finding named entries in a parameter text: one "Name=Value" or "Name[unit]=Value" a line.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/ByteScan.h"
#include "base/CharClass.h"

namespace parametertext {

// How the first line carrying a name is built.
enum class EntryForm {
    Plain,          // Name=Value
    WithUnit,       // Name[unit]=Value
    NoEquals,       // the name without "="
    UnclosedUnit,   // "[" without "]"
    TextAfterUnit,  // something other than "=" after "]"
};

struct Entry {
    EntryForm form = EntryForm::Plain;
    std::string_view unit;   // blanks trimmed
    std::string_view value;  // blanks trimmed
};

// The first entry named exactly name, or nothing. Views point into text.
std::optional<Entry> FindEntry(std::string_view text, std::string_view name);

// The entries of one text looked up in turn. Its lines are walked once, as far as the entries
// asked for lie, rather than from the start for each: an element's column lines run to
// megabytes. The text must outlive it unchanged.
class EntryLines {
  public:
    explicit EntryLines(std::string_view text) : m_text(text) {}
    std::string_view Text() const { return m_text; }
    // As FindEntry(Text(), name).
    std::optional<Entry> Find(std::string_view name);

  private:
    std::string_view m_text;
    size_t m_walked = 0;                    // where the lines not walked yet start
    std::vector<std::string_view> m_lines;  // the lines walked, left-trimmed
};

// A message (ending in CR LF) for an entry whose form is broken, or "" when it reads.
[[nodiscard]] std::string FormProblem(std::string_view name, const Entry& entry);
// `Entry "name" is missing!` with CR LF.
std::string MissingMessage(std::string_view name);

// Reads the whole number of the entry found (or not) for name into value when it lies in
// min..max; "" on success, else a message ending in CR LF, and value is untouched.
[[nodiscard]] std::string ReadWholeNumber(const std::optional<Entry>& entry, std::string_view name,
                                          long long min, long long max, int& value);

// Calls visit(token) for each blank-separated token of list, until visit returns false.
template <class Visit>
void ForEachToken(std::string_view list, Visit visit) {
    const char* next = list.data();
    const char* const end = next + list.size();
    for (;;) {
        while (next != end && IsBlank(*next)) ++next;
        if (next == end) return;
        const char* const start = next;
        next = FindBlank(next, end);
        if (!visit(std::string_view(start, static_cast<size_t>(next - start)))) return;
    }
}

}  // namespace parametertext
