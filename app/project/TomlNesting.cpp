#include "app/project/TomlNesting.h"

#include <cstdint>

#include "app/cli/AppError.h"
#include "base/SourcePlace.h"

namespace {

bool IsBareKeyChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-';
}

// One pass over the text. A dotted run counts parts joined by dots (blanks allowed around the
// dots), so a number such as 1.5 is a run of two parts and never comes near the bound.
class NestingScan {
  public:
    NestingScan(std::string_view text, const std::string& sourceName)
        : m_text(text), m_source(sourceName) {}

    void Run() {
        while (m_pos < m_text.size()) Step(m_text[m_pos]);
    }

  private:
    enum class Chain { None, Part, Dot };

    void Step(char c) {
        if (c == '"' || c == '\'') return String(c);
        ++m_pos;
        if (IsBareKeyChar(c)) return BareChar();
        m_inBare = false;
        if (c == ' ' || c == '\t') return;
        if (c == '.') return Dot();
        EndRun();
        if (c == '\n') ++m_line;
        if (c == '#') SkipComment();
        if (c == '[' || c == '{') Open();
        if ((c == ']' || c == '}') && m_depth > 0) --m_depth;
    }

    void BareChar() {
        if (m_inBare) return;
        m_inBare = true;
        Part();
    }

    void Part() {
        if (m_run != Chain::Dot) m_parts = 1;
        m_run = Chain::Part;
    }

    void Dot() {
        if (m_run != Chain::Part) return EndRun();
        m_run = Chain::Dot;
        if (++m_parts > kMaxTomlNesting)
            Refuse("a key has more than " + std::to_string(kMaxTomlNesting) + " dotted parts");
    }

    void EndRun() {
        m_run = Chain::None;
        m_parts = 0;
    }

    void Open() {
        if (++m_depth > kMaxTomlNesting)
            Refuse("arrays and inline tables nest more than " + std::to_string(kMaxTomlNesting) +
                   " deep");
    }

    void SkipComment() {
        while (m_pos < m_text.size() && m_text[m_pos] != '\n') ++m_pos;
    }

    // A quoted key part or value; a string left open ends the scan, for the parser to report.
    void String(char quote) {
        m_inBare = false;
        Part();
        const bool multiLine = m_text.substr(m_pos, 3) == std::string(3, quote);
        m_pos += multiLine ? 3 : 1;
        const bool escapes = quote == '"';
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (escapes && c == '\\') {
                if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\n') ++m_line;
                m_pos += 2;
                continue;
            }
            if (c == '\n') {
                if (!multiLine) return;
                ++m_line;
            }
            if (c == quote && (!multiLine || m_text.substr(m_pos, 3) == std::string(3, quote))) {
                m_pos += multiLine ? 3 : 1;
                return;
            }
            ++m_pos;
        }
    }

    [[noreturn]] void Refuse(const std::string& problem) const {
        throw AppError(PlaceMessage(SourcePlace{m_source, m_line}, problem));
    }

    std::string_view m_text;
    const std::string& m_source;
    size_t m_pos = 0;
    std::uint32_t m_line = 1;
    size_t m_depth = 0;
    size_t m_parts = 0;
    Chain m_run = Chain::None;
    bool m_inBare = false;
};

}  // namespace

void CheckTomlNesting(std::string_view text, const std::string& sourceName) {
    NestingScan(text, sourceName).Run();
}
