#include "host/ParameterText.h"

#include "base/CharClass.h"
#include "base/EscapedText.h"
#include "base/TextLines.h"
#include "base/Trim.h"
#include "base/numbertext/Parse.h"

namespace parametertext {
namespace {
// A CR is a line end (base/TextLines.h), never a blank.
constexpr std::string_view kBlanks = " \t";

// Whether line (left-trimmed) can carry name: the name followed by a blank, "[", "=" or the end.
bool StartsWithName(std::string_view line, std::string_view name) {
    if (line.substr(0, name.size()) != name) return false;
    if (line.size() == name.size()) return true;
    const char next = line[name.size()];
    return IsBlank(next) || next == '[' || next == '=';
}

// Splits a left-trimmed line into its name and the rest; nothing when the name is another.
std::optional<Entry> ParseLine(std::string_view line, std::string_view name) {
    const size_t nameEnd = line.find_first_of("[=");
    if (TrimRight(line.substr(0, nameEnd), kBlanks) != name) return std::nullopt;
    Entry entry;
    if (nameEnd == std::string_view::npos) {
        entry.form = EntryForm::NoEquals;
        return entry;
    }
    std::string_view rest = line.substr(nameEnd + 1);
    if (line[nameEnd] == '=') {
        entry.value = Trim(rest, kBlanks);
        return entry;
    }
    const size_t close = rest.find(']');
    if (close == std::string_view::npos) {
        entry.form = EntryForm::UnclosedUnit;
        return entry;
    }
    entry.unit = Trim(rest.substr(0, close), kBlanks);
    rest = TrimLeft(rest.substr(close + 1), kBlanks);
    if (rest.empty()) {
        entry.form = EntryForm::NoEquals;
    } else if (rest[0] != '=') {
        entry.form = EntryForm::TextAfterUnit;
    } else {
        entry.form = EntryForm::WithUnit;
        entry.value = Trim(rest.substr(1), kBlanks);
    }
    return entry;
}

// The entry name on a left-trimmed line, or nothing when the line carries another.
std::optional<Entry> EntryOnLine(std::string_view line, std::string_view name) {
    if (!StartsWithName(line, name)) return std::nullopt;
    return ParseLine(line, name);
}

std::string EntryMessage(std::string_view name, std::string_view problem) {
    return "Entry " + Quoted(name) + " " + std::string(problem) + "!\r\n";
}
}  // namespace

std::optional<Entry> FindEntry(std::string_view text, std::string_view name) {
    if (name.empty()) return std::nullopt;
    std::optional<Entry> found;
    ForEachLine(text, [&](std::string_view line, std::uint32_t) {
        found = EntryOnLine(TrimLeft(line, kBlanks), name);
        return !found;
    });
    return found;
}

std::optional<Entry> EntryLines::Find(std::string_view name) {
    if (name.empty()) return std::nullopt;
    for (const std::string_view line : m_lines) {
        if (auto entry = EntryOnLine(line, name)) return entry;
    }
    while (m_walked < m_text.size()) {
        const LineBounds bounds = FindLineEnd(m_text, m_walked);
        const std::string_view line =
            TrimLeft(m_text.substr(m_walked, bounds.end - m_walked), kBlanks);
        m_walked = bounds.next;
        m_lines.push_back(line);
        if (auto entry = EntryOnLine(line, name)) return entry;
    }
    return std::nullopt;
}

std::string FormProblem(std::string_view name, const Entry& entry) {
    switch (entry.form) {
        case EntryForm::NoEquals:
            return EntryMessage(name, "has no \"=\" and no value");
        case EntryForm::UnclosedUnit:
            return EntryMessage(name, "has \"[\" without \"]\"");
        case EntryForm::TextAfterUnit:
            return EntryMessage(name, "has text between \"]\" and \"=\"");
        default:
            return {};
    }
}

std::string MissingMessage(std::string_view name) { return EntryMessage(name, "is missing"); }

std::string ReadWholeNumber(const std::optional<Entry>& entry, std::string_view name, long long min,
                            long long max, int& value) {
    if (!entry) return MissingMessage(name);
    if (std::string problem = FormProblem(name, *entry); !problem.empty()) return problem;
    if (entry->form == EntryForm::WithUnit) return EntryMessage(name, "must not have a unit");
    long long number = 0;
    const auto result = numbertext::ParseWhole(entry->value, number);
    if (result == numbertext::ParseResult::NotNumber) {
        return EntryMessage(name, "is not a whole number: " + Quoted(entry->value));
    }
    if (result == numbertext::ParseResult::OutOfRange || number < min || number > max) {
        return EntryMessage(name, "is " + QuoteForMessage(entry->value) + ", out of range " +
                                      std::to_string(min) + " to " + std::to_string(max));
    }
    value = static_cast<int>(number);
    return {};
}

}  // namespace parametertext
