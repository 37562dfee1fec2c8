// Reading a resource script, in this order:
//   1. Built-in symbols: the framework's constants, listed from platform/WinDefs.h at build time.
//   2. Problems: every refusal names the file and the line.
//   3. Tokens: a preprocessed text as a list of tokens.
//   4. TokenCursor: reading a token list front to back.
//   5. ExpressionReader: integer expressions over a token cursor.
//   6. Preprocessor: directives, included headers and the symbols they define.
//   7. StatementReader: resources, dialogs, controls and dialog-init data.
//   8. ResourceScript: parsing and loading.
#include "platform/rc/ResourceScript.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>

#include "base/CharClass.h"
#include "base/SourcePlace.h"
#include "base/Trim.h"
#include "platform/WinDefs.h"

// --- 1. Built-in symbols ---

namespace {

struct Builtin {
    const char* name;
    long long value;
};

// The framework's constants, which resource scripts use without including a header.
const Builtin kBuiltins[] = {
#include "platform/rc/BuiltinConstants.inc"
};

std::optional<long long> BuiltinValue(const std::string& name) {
    for (const Builtin& builtin : kBuiltins) {
        if (name == builtin.name) return builtin.value;
    }
    return std::nullopt;
}

// --- 2. Problems ---

// Throws "file:line: problem"; the file is whichever fileName names when the problem is found.
class Problems {
  public:
    explicit Problems(const std::string& fileName) : m_fileName(fileName) {}

    [[noreturn]] void Fail(int line, const std::string& problem) const {
        throw std::runtime_error(
            PlaceMessage({m_fileName, static_cast<std::uint32_t>(line)}, problem));
    }

  private:
    const std::string& m_fileName;
};

// --- 3. Tokens ---

struct Token {
    enum Kind { Identifier, Number, String, Punct, End } kind = End;
    std::string text;
    long long value = 0;
    bool isLong = false;
    int line = 0;
};

std::string Upper(std::string text) {
    for (char& c : text) c = ToUpper(c);
    return text;
}

bool IsIdentifierStart(char c) { return IsLetter(c) || c == '_'; }
bool IsIdentifierChar(char c) { return IsLetterOrDigit(c) || c == '_'; }

// The value of a hexadecimal digit, or -1 when c is none.
int HexDigitValue(char c) {
    const char lower = ToLower(c);
    if (IsDigit(lower)) return lower - '0';
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// The character an escape stands for; i is just past the backslash and ends past the escape.
char Escape(const std::string& text, size_t& i) {
    static const std::pair<char, char> kSingle[] = {
        {'n', '\n'}, {'r', '\r'}, {'t', '\t'}, {'a', '\a'}, {'b', '\b'}};
    char e = text[i++];
    for (const auto& [letter, meaning] : kSingle) {
        if (e == letter) return meaning;
    }
    if (e == 'x') {
        int value = 0;
        for (int digits = 0; digits < 2 && i < text.size() && HexDigitValue(text[i]) >= 0; ++digits)
            value = value * 16 + HexDigitValue(text[i++]);
        return static_cast<char>(value);
    }
    if (e < '0' || e > '7') return e;
    int value = e - '0';
    for (int digits = 1; digits < 3 && i < text.size() && text[i] >= '0' && text[i] <= '7';
         ++digits) {
        value = value * 8 + (text[i++] - '0');
    }
    return static_cast<char>(value);
}

// A quoted text starting at i; "" inside it is one quote.
Token StringToken(const std::string& text, size_t& i, int line, const Problems& problems) {
    Token token{Token::String, {}, 0, false, line};
    ++i;
    while (true) {
        if (i >= text.size() || text[i] == '\n')
            problems.Fail(line, "string without closing quote");
        char d = text[i++];
        if (d == '"' && i < text.size() && text[i] == '"') {
            token.text += '"';
            ++i;
        } else if (d == '"') {
            return token;
        } else {
            token.text += d != '\\' || i >= text.size() ? d : Escape(text, i);
        }
    }
}

// A decimal or hexadecimal number starting at i, with L and U suffixes.
Token NumberToken(const std::string& text, size_t& i, int line, const Problems& problems) {
    size_t end = i;
    while (end < text.size() && IsIdentifierChar(text[end])) ++end;
    std::string literal = text.substr(i, end - i);
    i = end;
    Token token{Token::Number, literal, 0, false, line};
    std::string digits = literal;
    while (!digits.empty() && (ToUpper(digits.back()) == 'L' || ToUpper(digits.back()) == 'U')) {
        token.isLong |= ToUpper(digits.back()) == 'L';
        digits.pop_back();
    }
    bool hex = digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
    size_t used = 0;
    try {
        token.value = static_cast<long long>(
            std::stoull(hex ? digits.substr(2) : digits, &used, hex ? 16 : 10));
    } catch (const std::exception&) {
        problems.Fail(line, "bad number " + literal);
    }
    if (used != (hex ? digits.size() - 2 : digits.size()) || token.value > 0xFFFFFFFFLL) {
        problems.Fail(line, "bad number " + literal);
    }
    return token;
}

// The tokens of text, comments skipped, ending with an End token.
std::vector<Token> Tokenize(const std::string& text, const Problems& problems) {
    std::vector<Token> tokens;
    int line = 1;
    size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == '\n') {
            ++line;
            ++i;
        } else if (IsSpace(c)) {
            ++i;
        } else if (text.compare(i, 2, "//") == 0) {
            while (i < text.size() && text[i] != '\n') ++i;
        } else if (text.compare(i, 2, "/*") == 0) {
            size_t end = text.find("*/", i + 2);
            if (end == std::string::npos) problems.Fail(line, "comment without end");
            for (size_t k = i; k < end; ++k) line += text[k] == '\n';
            i = end + 2;
        } else if (c == '"') {
            tokens.push_back(StringToken(text, i, line, problems));
        } else if (IsDigit(c)) {
            tokens.push_back(NumberToken(text, i, line, problems));
        } else if (IsIdentifierStart(c)) {
            size_t end = i;
            while (end < text.size() && IsIdentifierChar(text[end])) ++end;
            tokens.push_back({Token::Identifier, text.substr(i, end - i), 0, false, line});
            i = end;
        } else if (std::string(",|()&+-~{}").find(c) != std::string::npos) {
            tokens.push_back({Token::Punct, std::string(1, c), 0, false, line});
            ++i;
        } else {
            problems.Fail(line, std::string("unexpected character '") + c + "'");
        }
    }
    tokens.push_back({Token::End, "end of file", 0, false, line});
    return tokens;
}

// --- 4. TokenCursor ---

// Reads a token list from Tokenize front to back; past the end it stays on the End token.
class TokenCursor {
  public:
    TokenCursor(std::vector<Token> tokens, const Problems& problems)
        : m_tokens(std::move(tokens)), m_problems(problems) {}

    const Token& Peek(size_t ahead = 0) const {
        return m_tokens[std::min(m_pos + ahead, m_tokens.size() - 1)];
    }
    const Token& Next() {
        const Token& token = Peek();
        if (m_pos < m_tokens.size() - 1) ++m_pos;
        return token;
    }
    bool AtEnd() const { return Peek().kind == Token::End; }
    bool IsPunct(char c, size_t ahead = 0) const {
        return Peek(ahead).kind == Token::Punct && Peek(ahead).text[0] == c;
    }
    bool IsWord(const char* word) const {
        return Peek().kind == Token::Identifier && Upper(Peek().text) == word;
    }
    bool Accept(char c) {
        if (!IsPunct(c)) return false;
        Next();
        return true;
    }
    void Expect(char c) {
        if (!Accept(c))
            Fail(Peek().line, std::string("expected '") + c + "' before " + Peek().text);
    }
    [[noreturn]] void Fail(int line, const std::string& problem) const {
        m_problems.Fail(line, problem);
    }

  private:
    std::vector<Token> m_tokens;
    size_t m_pos = 0;
    const Problems& m_problems;
};

// --- 5. ExpressionReader ---

// Integer expressions as resource scripts write them: numbers and symbols, unary - and ~,
// parentheses, and | & + - from left to right.
class ExpressionReader {
  public:
    // The value of a symbol; nothing when it has none.
    using Lookup = std::function<std::optional<long long>(const std::string& name)>;

    ExpressionReader(TokenCursor& tokens, Lookup lookup)
        : m_tokens(tokens), m_lookup(std::move(lookup)) {}

    long long Expression() {
        long long value = Unary();
        while (m_tokens.Peek().kind == Token::Punct &&
               std::string("|&+-").find(m_tokens.Peek().text[0]) != std::string::npos) {
            char op = m_tokens.Next().text[0];
            long long rhs = Unary();
            switch (op) {
                case '|':
                    value |= rhs;
                    break;
                case '&':
                    value &= rhs;
                    break;
                case '+':
                    value += rhs;
                    break;
                default:
                    value -= rhs;
                    break;
            }
        }
        return value;
    }

    // A number, a symbol, a parenthesised expression, or one of these negated or inverted.
    long long Unary() {
        const Token& token = m_tokens.Next();
        if (token.kind == Token::Number) return token.value;
        if (token.kind == Token::Punct && token.text[0] == '-') return -Unary();
        if (token.kind == Token::Punct && token.text[0] == '~') return ~Unary() & 0xFFFFFFFFLL;
        if (token.kind == Token::Punct && token.text[0] == '(') {
            long long value = Expression();
            m_tokens.Expect(')');
            return value;
        }
        if (token.kind == Token::Identifier) {
            std::optional<long long> value = m_lookup(token.text);
            if (!value) m_tokens.Fail(token.line, "unknown symbol " + token.text);
            return *value;
        }
        m_tokens.Fail(token.line, "expected a number before " + token.text);
    }

  private:
    TokenCursor& m_tokens;
    Lookup m_lookup;
};

// --- 6. Preprocessor ---

std::string StripComment(const std::string& text) {
    std::string result = text;
    size_t slash = result.find("//");
    if (slash != std::string::npos) result.erase(slash);
    size_t block = result.find("/*");
    if (block != std::string::npos) result.erase(block);
    return result;
}

std::string FirstWordOf(const std::string& text, std::string& rest) {
    size_t end = 0;
    while (end < text.size() && IsIdentifierChar(text[end])) ++end;
    std::string word = text.substr(0, end);
    rest = std::string(Trim(std::string_view(text).substr(end)));  // rest may be text itself
    return word;
}

// Runs the directives of a script and of the headers it includes, collecting their symbols.
class Preprocessor {
  public:
    explicit Preprocessor(const ResourceScript::FileReader& reader) : m_reader(reader) {}

    // The text with directive lines and inactive lines blanked, so line numbers stay.
    std::string Run(const std::string& text, const std::string& fileName, int depth);
    // The value of a name: a #define of the script, else a built-in constant.
    std::optional<long long> Lookup(const std::string& name) const;
    // Every #define with an integer value, in order of definition.
    std::vector<ResourceSymbol> TakeSymbols() { return std::move(m_symbols); }

  private:
    void Directive(const std::string& line, int lineNumber, std::vector<bool>& active, int depth);
    void Include(const std::string& argument, int lineNumber, int depth);
    void Define(const std::string& name, const std::string& value);
    std::optional<long long> IntegerValue(const std::string& value) const;

    const ResourceScript::FileReader& m_reader;
    std::string m_fileName;  // the file being read
    Problems m_problems{m_fileName};
    std::map<std::string, std::optional<long long>> m_defines;
    std::vector<ResourceSymbol> m_symbols;
};

std::string Preprocessor::Run(const std::string& text, const std::string& fileName, int depth) {
    m_fileName = fileName;
    std::istringstream lines(text);
    std::string output;
    std::vector<bool> active{true};
    int lineNumber = 0;
    for (std::string line; std::getline(lines, line);) {
        ++lineNumber;
        std::string trimmed(Trim(line));
        if (!trimmed.empty() && trimmed[0] == '#') {
            Directive(std::string(Trim(trimmed.substr(1))), lineNumber, active, depth);
            output += '\n';
            continue;
        }
        output += (active.back() ? line : std::string()) + '\n';
    }
    if (active.size() != 1) m_problems.Fail(lineNumber, "#ifdef or #ifndef without #endif");
    return output;
}

std::optional<long long> Preprocessor::Lookup(const std::string& name) const {
    auto it = m_defines.find(name);
    if (it != m_defines.end()) return it->second;
    return BuiltinValue(name);
}

void Preprocessor::Directive(const std::string& line, int lineNumber, std::vector<bool>& active,
                             int depth) {
    std::string rest;
    std::string word = FirstWordOf(line, rest);
    bool parentActive = active.size() < 2 || active[active.size() - 2];
    if (word == "ifdef" || word == "ifndef") {
        std::string name = FirstWordOf(rest, rest);
        bool defined = m_defines.count(name) != 0 || Lookup(name).has_value();
        active.push_back(active.back() && (defined == (word == "ifdef")));
    } else if (word == "else") {
        if (active.size() < 2) m_problems.Fail(lineNumber, "#else without #ifdef");
        active.back() = parentActive && !active.back();
    } else if (word == "endif") {
        if (active.size() < 2) m_problems.Fail(lineNumber, "#endif without #ifdef");
        active.pop_back();
    } else if (!active.back() || word == "pragma") {
        return;
    } else if (word == "include") {
        Include(rest, lineNumber, depth);
    } else if (word == "define") {
        std::string name = FirstWordOf(rest, rest);
        if (name.empty()) m_problems.Fail(lineNumber, "#define needs a name");
        Define(name, std::string(Trim(StripComment(rest))));
    } else if (word == "undef") {
        m_defines.erase(FirstWordOf(rest, rest));
    } else {
        m_problems.Fail(lineNumber, "unsupported directive #" + word);
    }
}

void Preprocessor::Include(const std::string& argument, int lineNumber, int depth) {
    std::string target(Trim(StripComment(argument)));
    if (target.size() >= 2 && target.front() == '<' && target.back() == '>') return;
    if (target.size() < 2 || target.front() != '"' || target.back() != '"') {
        m_problems.Fail(lineNumber, "#include needs a file name in quotes");
    }
    if (depth > 16) m_problems.Fail(lineNumber, "#include nested too deeply");
    std::string includer = m_fileName;
    std::filesystem::path path =
        std::filesystem::path(includer).parent_path() / target.substr(1, target.size() - 2);
    std::string text;
    if (!m_reader(path.string(), text)) m_problems.Fail(lineNumber, "cannot read " + path.string());
    // Included files contribute their symbols only.
    Run(text, path.string(), depth + 1);
    m_fileName = includer;
}

void Preprocessor::Define(const std::string& name, const std::string& value) {
    std::optional<long long> number = IntegerValue(value);
    m_defines[name] = number;
    if (!number) return;
    for (ResourceSymbol& symbol : m_symbols) {
        if (symbol.name == name) {
            symbol.value = static_cast<int>(*number);
            return;
        }
    }
    m_symbols.push_back({name, static_cast<int>(*number)});
}

// A value that is not one integer expression leaves its name defined, without value.
std::optional<long long> Preprocessor::IntegerValue(const std::string& value) const {
    if (value.empty()) return std::nullopt;
    try {
        TokenCursor tokens(Tokenize(value, m_problems), m_problems);
        long long result = ExpressionReader(tokens, [this](const std::string& name) {
                               return Lookup(name);
                           }).Expression();
        if (tokens.AtEnd()) return result;
    } catch (const std::runtime_error&) {
        return std::nullopt;
    }
    return std::nullopt;
}

// --- 7. StatementReader ---

constexpr UINT kDefaultLanguage = 0x0409;
const char* const kWindowClasses[] = {"BUTTON", "STATIC", "EDIT", "COMBOBOX", "LISTBOX"};

// What each control statement creates and which styles it implies.
struct ControlKind {
    const char* keyword;
    const char* className;
    DWORD impliedStyle;
    bool hasText;
};
const ControlKind kControlKinds[] = {
    {"LTEXT", "STATIC", SS_LEFT | WS_GROUP, true},
    {"RTEXT", "STATIC", SS_RIGHT | WS_GROUP, true},
    {"CTEXT", "STATIC", SS_CENTER | WS_GROUP, true},
    {"PUSHBUTTON", "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, true},
    {"DEFPUSHBUTTON", "BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, true},
    {"GROUPBOX", "BUTTON", BS_GROUPBOX, true},
    {"CHECKBOX", "BUTTON", BS_CHECKBOX | WS_TABSTOP, true},
    {"AUTOCHECKBOX", "BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, true},
    {"RADIOBUTTON", "BUTTON", BS_RADIOBUTTON | WS_TABSTOP, true},
    {"AUTORADIOBUTTON", "BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, true},
    {"EDITTEXT", "EDIT", ES_LEFT | WS_BORDER | WS_TABSTOP, false},
    {"COMBOBOX", "COMBOBOX", CBS_SIMPLE | WS_TABSTOP, false},
    {"LISTBOX", "LISTBOX", LBS_NOTIFY | WS_BORDER, false},
};

// Reads the statements of a preprocessed script: its dialogs and their dialog-init data.
class StatementReader {
  public:
    StatementReader(TokenCursor& tokens, ExpressionReader::Lookup lookup)
        : m_tokens(tokens), m_lookup(lookup), m_expressions(tokens, std::move(lookup)) {}

    // Every dialog of the script, with its dialog-init data attached.
    std::vector<DialogTemplate> ReadDialogs();

  private:
    long long Expression() { return m_expressions.Expression(); }
    long long Ranged(long long min, long long max, const char* what);
    long long Style(DWORD implied);
    std::string QuotedText();
    bool AcceptBegin();
    bool AcceptEnd();

    void TopLevelStatement();
    void Dialog(DialogTemplate& dialog, bool extended);
    void DialogOption(DialogTemplate& dialog, bool& styleGiven);
    void Placement(int& x, int& y, int& cx, int& cy);
    void Control(DialogTemplate& dialog);
    void ControlId(DialogControlTemplate& control);
    void ControlTail(DialogControlTemplate& control, DWORD implied);
    void ControlStatement(DialogControlTemplate& control);
    void DialogInit(UINT id, int line);
    void AttachDialogInit();

    TokenCursor& m_tokens;
    ExpressionReader::Lookup m_lookup;
    ExpressionReader m_expressions;
    UINT m_language = kDefaultLanguage;
    std::vector<DialogTemplate> m_dialogs;
    // Dialog-init data, attached to its dialog once every dialog is known.
    struct DialogInitBlock {
        UINT dialogId;
        int line;
        std::vector<DialogInitItem> items;
    };
    std::vector<DialogInitBlock> m_initBlocks;
};

std::vector<DialogTemplate> StatementReader::ReadDialogs() {
    while (!m_tokens.AtEnd()) TopLevelStatement();
    AttachDialogInit();
    return std::move(m_dialogs);
}

long long StatementReader::Ranged(long long min, long long max, const char* what) {
    int line = m_tokens.Peek().line;
    long long value = Expression();
    if (value < min || value > max) {
        m_tokens.Fail(line, std::string(what) + " " + std::to_string(value) + " is out of range " +
                                std::to_string(min) + " to " + std::to_string(max));
    }
    return value;
}

// A style: the implied styles, plus every term, minus every NOT term.
long long StatementReader::Style(DWORD implied) {
    long long style = implied;
    do {
        bool remove = m_tokens.IsWord("NOT");
        if (remove) m_tokens.Next();
        long long term = m_expressions.Unary();
        style = remove ? (style & ~term) : (style | term);
    } while (m_tokens.Accept('|'));
    return style & 0xFFFFFFFFLL;
}

std::string StatementReader::QuotedText() {
    if (m_tokens.Peek().kind != Token::String)
        m_tokens.Fail(m_tokens.Peek().line,
                      "expected a text in quotes before " + m_tokens.Peek().text);
    return m_tokens.Next().text;
}

bool StatementReader::AcceptBegin() {
    if (m_tokens.IsWord("BEGIN")) {
        m_tokens.Next();
        return true;
    }
    return m_tokens.Accept('{');
}

bool StatementReader::AcceptEnd() {
    if (m_tokens.IsWord("END")) {
        m_tokens.Next();
        return true;
    }
    return m_tokens.Accept('}');
}

void StatementReader::TopLevelStatement() {
    int line = m_tokens.Peek().line;
    if (m_tokens.IsWord("LANGUAGE")) {
        m_tokens.Next();
        long long primary = Expression();
        m_tokens.Expect(',');
        long long sub = Expression();
        m_language = static_cast<UINT>((sub << 10) | primary);
        return;
    }
    const Token& name = m_tokens.Next();
    if (name.kind != Token::Identifier && name.kind != Token::Number) {
        m_tokens.Fail(line, "expected a resource name before " + name.text);
    }
    std::optional<long long> id = name.kind == Token::Number ? name.value : m_lookup(name.text);
    if (!id || *id < 1 || *id > 65535)
        m_tokens.Fail(line, "resource " + name.text + " needs a number from 1 to 65535");
    std::string type =
        m_tokens.Peek().kind == Token::Identifier ? Upper(m_tokens.Next().text) : std::string();
    if (type == "DLGINIT") {
        DialogInit(static_cast<UINT>(*id), line);
        return;
    }
    if (type != "DIALOG" && type != "DIALOGEX") {
        m_tokens.Fail(line,
                      "unsupported resource type " + (type.empty() ? m_tokens.Peek().text : type));
    }
    for (const DialogTemplate& other : m_dialogs) {
        if (other.id == *id) m_tokens.Fail(line, "dialog " + name.text + " is defined twice");
    }
    DialogTemplate dialog;
    dialog.id = static_cast<UINT>(*id);
    dialog.symbol = name.kind == Token::Identifier ? name.text : std::string();
    dialog.language = m_language;
    Dialog(dialog, type == "DIALOGEX");
    m_dialogs.push_back(std::move(dialog));
}

void StatementReader::Dialog(DialogTemplate& dialog, bool extended) {
    Placement(dialog.x, dialog.y, dialog.cx, dialog.cy);
    if (extended && m_tokens.Accept(',')) dialog.helpId = static_cast<DWORD>(Expression());
    bool styleGiven = false;
    while (!AcceptBegin()) DialogOption(dialog, styleGiven);
    if (!styleGiven) dialog.style = WS_POPUP | WS_BORDER | WS_SYSMENU;
    if (!dialog.caption.empty()) dialog.style |= WS_CAPTION;
    if (!dialog.fontFace.empty()) dialog.style |= DS_SETFONT;
    while (!AcceptEnd()) Control(dialog);
}

void StatementReader::DialogOption(DialogTemplate& dialog, bool& styleGiven) {
    const Token& next = m_tokens.Peek();
    int line = next.line;
    if (next.kind == Token::End) m_tokens.Fail(line, "dialog without BEGIN");
    std::string option = next.kind == Token::Identifier ? Upper(next.text) : std::string();
    m_tokens.Next();
    if (option == "STYLE") {
        dialog.style = static_cast<DWORD>(Style(0));
        styleGiven = true;
    } else if (option == "EXSTYLE") {
        dialog.exStyle = static_cast<DWORD>(Expression());
    } else if (option == "CAPTION") {
        dialog.caption = QuotedText();
    } else if (option == "FONT") {
        dialog.fontPointSize = static_cast<int>(Ranged(1, 32767, "font size"));
        m_tokens.Expect(',');
        dialog.fontFace = QuotedText();
        if (m_tokens.Accept(',')) dialog.fontWeight = static_cast<int>(Expression());
        if (m_tokens.Accept(',')) dialog.fontItalic = static_cast<int>(Expression());
        if (m_tokens.Accept(',')) dialog.fontCharSet = static_cast<int>(Expression());
    } else if (option == "LANGUAGE") {
        long long primary = Expression();
        m_tokens.Expect(',');
        dialog.language = static_cast<UINT>((Expression() << 10) | primary);
    } else if (option == "CHARACTERISTICS" || option == "VERSION") {
        Expression();
    } else {
        m_tokens.Fail(line, "unsupported dialog statement " +
                                (option.empty() ? m_tokens.Peek().text : option));
    }
}

// x, y, cx, cy
void StatementReader::Placement(int& x, int& y, int& cx, int& cy) {
    x = static_cast<int>(Ranged(-32768, 32767, "x"));
    m_tokens.Expect(',');
    y = static_cast<int>(Ranged(-32768, 32767, "y"));
    m_tokens.Expect(',');
    cx = static_cast<int>(Ranged(0, 32767, "width"));
    m_tokens.Expect(',');
    cy = static_cast<int>(Ranged(0, 32767, "height"));
}

void StatementReader::Control(DialogTemplate& dialog) {
    const Token& next = m_tokens.Peek();
    int line = next.line;
    std::string keyword = next.kind == Token::Identifier ? Upper(next.text) : std::string();
    if (next.kind == Token::End) m_tokens.Fail(line, "dialog without END");
    m_tokens.Next();
    DialogControlTemplate control;
    if (keyword == "CONTROL") {
        ControlStatement(control);
    } else {
        const ControlKind* kind = nullptr;
        for (const ControlKind& candidate : kControlKinds) {
            if (keyword == candidate.keyword) kind = &candidate;
        }
        if (kind == nullptr)
            m_tokens.Fail(line, "unsupported control statement " +
                                    (keyword.empty() ? m_tokens.Peek().text : keyword));
        control.className = kind->className;
        if (kind->hasText) {
            control.text = QuotedText();
            m_tokens.Expect(',');
        }
        ControlTail(control, kind->impliedStyle);
    }
    dialog.controls.push_back(std::move(control));
}

// The id, with its symbol when it is written as a single name other than IDC_STATIC.
void StatementReader::ControlId(DialogControlTemplate& control) {
    const Token& first = m_tokens.Peek();
    bool single = first.kind == Token::Identifier && m_tokens.IsPunct(',', 1);
    control.id = static_cast<int>(Ranged(-32768, 65535, "control id"));
    if (single && control.id != -1) control.symbol = first.text;
    m_tokens.Expect(',');
}

// id, x, y, cx, cy [, style [, exstyle [, helpid]]]
void StatementReader::ControlTail(DialogControlTemplate& control, DWORD implied) {
    ControlId(control);
    Placement(control.x, control.y, control.cx, control.cy);
    control.style = WS_CHILD | WS_VISIBLE | implied;
    if (m_tokens.Accept(',')) control.style = static_cast<DWORD>(Style(control.style));
    if (m_tokens.Accept(',')) control.exStyle = static_cast<DWORD>(Expression());
    if (m_tokens.Accept(',')) control.helpId = static_cast<DWORD>(Expression());
}

// text, id, class, style, x, y, cx, cy [, exstyle [, helpid]]
void StatementReader::ControlStatement(DialogControlTemplate& control) {
    control.text = QuotedText();
    m_tokens.Expect(',');
    ControlId(control);
    int line = m_tokens.Peek().line;
    const Token& className = m_tokens.Next();
    control.className = Upper(className.text);
    bool known = false;
    for (const char* name : kWindowClasses) known |= control.className == name;
    if (className.kind == Token::Number || className.kind == Token::Punct || !known) {
        m_tokens.Fail(line, "unsupported control class " + className.text);
    }
    m_tokens.Expect(',');
    control.style = static_cast<DWORD>(Style(WS_CHILD | WS_VISIBLE));
    m_tokens.Expect(',');
    Placement(control.x, control.y, control.cx, control.cy);
    if (m_tokens.Accept(',')) control.exStyle = static_cast<DWORD>(Expression());
    if (m_tokens.Accept(',')) control.helpId = static_cast<DWORD>(Expression());
}

// Raw data: numbers are 16-bit words (32-bit with an L suffix), texts their bytes, with or
// without commas between them; then decoded as entries of control id, message, length, data.
void StatementReader::DialogInit(UINT id, int line) {
    if (!AcceptBegin())
        m_tokens.Fail(m_tokens.Peek().line, "expected BEGIN before " + m_tokens.Peek().text);
    std::string bytes;
    while (!AcceptEnd()) {
        if (m_tokens.AtEnd()) m_tokens.Fail(line, "DLGINIT without END");
        if (m_tokens.Peek().kind == Token::String) {
            bytes += m_tokens.Next().text;
        } else {
            bool isLong = m_tokens.Peek().isLong;
            long long value = Expression();
            for (int i = 0; i < (isLong ? 4 : 2); ++i)
                bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
        }
        m_tokens.Accept(',');
    }
    auto word = [&](size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[at])) |
               static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 1])) << 8;
    };
    DialogInitBlock block{id, line, {}};
    size_t at = 0;
    while (true) {
        if (at + 2 > bytes.size()) m_tokens.Fail(line, "DLGINIT data must end with 0");
        unsigned control = word(at);
        if (control == 0) break;
        if (at + 8 > bytes.size()) m_tokens.Fail(line, "DLGINIT entry is cut short");
        unsigned message = word(at + 2);
        size_t length = word(at + 4) | static_cast<size_t>(word(at + 6)) << 16;
        at += 8;
        if (at + length > bytes.size())
            m_tokens.Fail(line, "DLGINIT entry is longer than its data");
        if (message != DLGINIT_CB_ADDSTRING && message != DLGINIT_LB_ADDSTRING) {
            m_tokens.Fail(line, "unsupported DLGINIT message " + std::to_string(message));
        }
        int controlId = control == 0xFFFF ? -1 : static_cast<int>(control);
        block.items.push_back({controlId, message, bytes.substr(at, length)});
        at += length;
    }
    m_initBlocks.push_back(std::move(block));
}

void StatementReader::AttachDialogInit() {
    for (const DialogInitBlock& block : m_initBlocks) {
        auto dialog = std::find_if(m_dialogs.begin(), m_dialogs.end(),
                                   [&](const DialogTemplate& d) { return d.id == block.dialogId; });
        if (dialog == m_dialogs.end())
            m_tokens.Fail(block.line,
                          "DLGINIT " + std::to_string(block.dialogId) + " has no dialog");
        for (const DialogInitItem& item : block.items) {
            bool exists =
                std::any_of(dialog->controls.begin(), dialog->controls.end(),
                            [&](const DialogControlTemplate& c) { return c.id == item.controlId; });
            if (!exists)
                m_tokens.Fail(block.line, "DLGINIT names control " +
                                              std::to_string(item.controlId) +
                                              ", which the dialog lacks");
            dialog->initItems.push_back(item);
        }
    }
}

}  // namespace

// --- 8. ResourceScript ---

// Preprocesses a script, then reads its statements.
class ResourceParser {
  public:
    static ResourceScript Run(const std::string& text, const std::string& fileName,
                              const ResourceScript::FileReader& reader) {
        Preprocessor preprocessor(reader);
        std::string body = preprocessor.Run(text, fileName, 0);
        Problems problems(fileName);
        TokenCursor tokens(Tokenize(body, problems), problems);
        StatementReader statements(
            tokens, [&preprocessor](const std::string& name) { return preprocessor.Lookup(name); });
        ResourceScript script;
        script.m_dialogs = statements.ReadDialogs();
        script.m_symbols = preprocessor.TakeSymbols();
        for (DialogTemplate& dialog : script.m_dialogs) dialog.symbols = script.m_symbols;
        return script;
    }
};

ResourceScript ResourceScript::Parse(const std::string& text, const std::string& fileName,
                                     const FileReader& reader) {
    return ResourceParser::Run(text, fileName, reader);
}

ResourceScript ResourceScript::Load(const std::string& path) {
    FileReader reader = [](const std::string& file, std::string& text) {
        std::ifstream stream(file, std::ios::binary);
        if (!stream || std::filesystem::is_directory(file)) return false;
        std::ostringstream content;
        content << stream.rdbuf();
        text = content.str();
        return !stream.bad();
    };
    std::string text;
    if (!reader(path, text)) throw std::runtime_error(path + ": cannot read the resource script");
    return Parse(text, path, reader);
}

const DialogTemplate* ResourceScript::FindDialog(UINT id) const {
    for (const DialogTemplate& dialog : m_dialogs) {
        if (dialog.id == id) return &dialog;
    }
    return nullptr;
}
