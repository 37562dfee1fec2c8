#include "platform/rc/ResourceScript.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "platform/Trim.h"
#include "platform/WinDefs.h"

namespace {

struct Builtin {
    const char* name;
    long long value;
};

#define VANTREL_BUILTIN(name) \
    { #name, static_cast < long long>(name) }
// The framework's constants that resource scripts use without including a header.
const Builtin kBuiltins[] = {VANTREL_BUILTIN(IDOK),
                             VANTREL_BUILTIN(IDCANCEL),
                             VANTREL_BUILTIN(IDABORT),
                             VANTREL_BUILTIN(IDRETRY),
                             VANTREL_BUILTIN(IDIGNORE),
                             VANTREL_BUILTIN(IDYES),
                             VANTREL_BUILTIN(IDNO),
                             {"IDC_STATIC", -1},
                             VANTREL_BUILTIN(WS_OVERLAPPED),
                             VANTREL_BUILTIN(WS_POPUP),
                             VANTREL_BUILTIN(WS_CHILD),
                             VANTREL_BUILTIN(WS_MINIMIZE),
                             VANTREL_BUILTIN(WS_VISIBLE),
                             VANTREL_BUILTIN(WS_DISABLED),
                             VANTREL_BUILTIN(WS_CLIPSIBLINGS),
                             VANTREL_BUILTIN(WS_CLIPCHILDREN),
                             VANTREL_BUILTIN(WS_MAXIMIZE),
                             VANTREL_BUILTIN(WS_CAPTION),
                             VANTREL_BUILTIN(WS_BORDER),
                             VANTREL_BUILTIN(WS_DLGFRAME),
                             VANTREL_BUILTIN(WS_VSCROLL),
                             VANTREL_BUILTIN(WS_HSCROLL),
                             VANTREL_BUILTIN(WS_SYSMENU),
                             VANTREL_BUILTIN(WS_THICKFRAME),
                             VANTREL_BUILTIN(WS_GROUP),
                             VANTREL_BUILTIN(WS_TABSTOP),
                             VANTREL_BUILTIN(WS_MINIMIZEBOX),
                             VANTREL_BUILTIN(WS_MAXIMIZEBOX),
                             VANTREL_BUILTIN(DS_ABSALIGN),
                             VANTREL_BUILTIN(DS_SYSMODAL),
                             VANTREL_BUILTIN(DS_3DLOOK),
                             VANTREL_BUILTIN(DS_FIXEDSYS),
                             VANTREL_BUILTIN(DS_NOFAILCREATE),
                             VANTREL_BUILTIN(DS_LOCALEDIT),
                             VANTREL_BUILTIN(DS_SETFONT),
                             VANTREL_BUILTIN(DS_MODALFRAME),
                             VANTREL_BUILTIN(DS_NOIDLEMSG),
                             VANTREL_BUILTIN(DS_SETFOREGROUND),
                             VANTREL_BUILTIN(DS_CONTROL),
                             VANTREL_BUILTIN(DS_CENTER),
                             VANTREL_BUILTIN(DS_CENTERMOUSE),
                             VANTREL_BUILTIN(DS_CONTEXTHELP),
                             VANTREL_BUILTIN(DS_SHELLFONT),
                             VANTREL_BUILTIN(BS_PUSHBUTTON),
                             VANTREL_BUILTIN(BS_DEFPUSHBUTTON),
                             VANTREL_BUILTIN(BS_CHECKBOX),
                             VANTREL_BUILTIN(BS_AUTOCHECKBOX),
                             VANTREL_BUILTIN(BS_RADIOBUTTON),
                             VANTREL_BUILTIN(BS_3STATE),
                             VANTREL_BUILTIN(BS_AUTO3STATE),
                             VANTREL_BUILTIN(BS_GROUPBOX),
                             VANTREL_BUILTIN(BS_AUTORADIOBUTTON),
                             VANTREL_BUILTIN(BS_LEFTTEXT),
                             VANTREL_BUILTIN(BS_LEFT),
                             VANTREL_BUILTIN(BS_RIGHT),
                             VANTREL_BUILTIN(BS_CENTER),
                             VANTREL_BUILTIN(BS_TOP),
                             VANTREL_BUILTIN(BS_BOTTOM),
                             VANTREL_BUILTIN(BS_VCENTER),
                             VANTREL_BUILTIN(BS_MULTILINE),
                             VANTREL_BUILTIN(BS_NOTIFY),
                             VANTREL_BUILTIN(BS_FLAT),
                             VANTREL_BUILTIN(SS_LEFT),
                             VANTREL_BUILTIN(SS_CENTER),
                             VANTREL_BUILTIN(SS_RIGHT),
                             VANTREL_BUILTIN(SS_SIMPLE),
                             VANTREL_BUILTIN(SS_LEFTNOWORDWRAP),
                             VANTREL_BUILTIN(SS_NOPREFIX),
                             VANTREL_BUILTIN(SS_NOTIFY),
                             VANTREL_BUILTIN(SS_SUNKEN),
                             VANTREL_BUILTIN(ES_LEFT),
                             VANTREL_BUILTIN(ES_CENTER),
                             VANTREL_BUILTIN(ES_RIGHT),
                             VANTREL_BUILTIN(ES_MULTILINE),
                             VANTREL_BUILTIN(ES_UPPERCASE),
                             VANTREL_BUILTIN(ES_LOWERCASE),
                             VANTREL_BUILTIN(ES_PASSWORD),
                             VANTREL_BUILTIN(ES_AUTOVSCROLL),
                             VANTREL_BUILTIN(ES_AUTOHSCROLL),
                             VANTREL_BUILTIN(ES_NOHIDESEL),
                             VANTREL_BUILTIN(ES_READONLY),
                             VANTREL_BUILTIN(ES_WANTRETURN),
                             VANTREL_BUILTIN(ES_NUMBER),
                             VANTREL_BUILTIN(CBS_SIMPLE),
                             VANTREL_BUILTIN(CBS_DROPDOWN),
                             VANTREL_BUILTIN(CBS_DROPDOWNLIST),
                             VANTREL_BUILTIN(CBS_AUTOHSCROLL),
                             VANTREL_BUILTIN(CBS_SORT),
                             VANTREL_BUILTIN(CBS_HASSTRINGS),
                             VANTREL_BUILTIN(CBS_NOINTEGRALHEIGHT),
                             VANTREL_BUILTIN(CBS_DISABLENOSCROLL),
                             VANTREL_BUILTIN(LBS_NOTIFY),
                             VANTREL_BUILTIN(LBS_SORT),
                             VANTREL_BUILTIN(LBS_NOREDRAW),
                             VANTREL_BUILTIN(LBS_MULTIPLESEL),
                             VANTREL_BUILTIN(LBS_HASSTRINGS),
                             VANTREL_BUILTIN(LBS_USETABSTOPS),
                             VANTREL_BUILTIN(LBS_NOINTEGRALHEIGHT),
                             VANTREL_BUILTIN(LBS_WANTKEYBOARDINPUT),
                             VANTREL_BUILTIN(LBS_DISABLENOSCROLL),
                             VANTREL_BUILTIN(LBS_NOSEL),
                             {"LANG_NEUTRAL", 0x00},
                             {"LANG_ENGLISH", 0x09},
                             {"SUBLANG_NEUTRAL", 0x00},
                             {"SUBLANG_DEFAULT", 0x01},
                             {"SUBLANG_ENGLISH_US", 0x01},
                             {"SUBLANG_ENGLISH_UK", 0x02}};
#undef VANTREL_BUILTIN

constexpr UINT kDefaultLanguage = 0x0409;
const char* const kWindowClasses[] = {"BUTTON", "STATIC", "EDIT", "COMBOBOX", "LISTBOX"};

struct Token {
    enum Kind { Identifier, Number, String, Punct, End } kind = End;
    std::string text;
    long long value = 0;
    bool isLong = false;
    int line = 0;
};

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

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool IsIdentifierStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

}  // namespace

// Turns resource script text into tokens, preprocessing directives on the way.
class ResourceParser {
  public:
    explicit ResourceParser(const ResourceScript::FileReader& reader) : m_reader(reader) {}

    ResourceScript Run(const std::string& text, const std::string& fileName);

  private:
    [[noreturn]] void Error(int line, const std::string& problem) const {
        throw std::runtime_error(m_fileName + ":" + std::to_string(line) + ": " + problem);
    }

    // Preprocessing; m_fileName names the file being read.
    std::string Preprocess(const std::string& text, const std::string& fileName, int depth);
    void Directive(const std::string& line, int lineNumber, std::vector<bool>& active, int depth);
    void Include(const std::string& argument, int lineNumber, int depth);
    void Define(const std::string& name, const std::string& value);

    // Tokens.
    std::vector<Token> Tokenize(const std::string& text);
    Token StringToken(const std::string& text, size_t& i, int line) const;
    Token NumberToken(const std::string& text, size_t& i, int line) const;
    const Token& Peek(size_t ahead = 0) const {
        return m_tokens[std::min(m_pos + ahead, m_tokens.size() - 1)];
    }
    const Token& Next() {
        const Token& token = Peek();
        if (m_pos < m_tokens.size() - 1) ++m_pos;
        return token;
    }
    bool IsPunct(char c, size_t ahead = 0) const {
        return Peek(ahead).kind == Token::Punct && Peek(ahead).text[0] == c;
    }
    bool IsWord(const char* word) const {
        return Peek().kind == Token::Identifier && Upper(Peek().text) == word;
    }
    bool Accept(char c);
    void Expect(char c);
    bool AcceptBegin();
    bool AcceptEnd();

    // Expressions.
    std::optional<long long> Lookup(const std::string& name) const;
    long long Expression();
    long long Unary();
    long long Ranged(long long min, long long max, const char* what);
    long long Style(DWORD implied);
    std::string QuotedText();

    // Statements.
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

    const ResourceScript::FileReader& m_reader;
    std::string m_fileName;
    std::map<std::string, std::optional<long long>> m_defines;
    std::vector<ResourceSymbol> m_symbols;
    std::vector<Token> m_tokens;
    size_t m_pos = 0;
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

namespace {
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
}  // namespace

ResourceScript ResourceParser::Run(const std::string& text, const std::string& fileName) {
    std::string body = Preprocess(text, fileName, 0);
    m_tokens = Tokenize(body);
    m_pos = 0;
    while (Peek().kind != Token::End) TopLevelStatement();
    AttachDialogInit();
    ResourceScript script;
    script.m_dialogs = std::move(m_dialogs);
    for (DialogTemplate& dialog : script.m_dialogs) dialog.symbols = m_symbols;
    script.m_symbols = std::move(m_symbols);
    return script;
}

// Returns the text with directive lines and inactive lines blanked, so line numbers stay.
std::string ResourceParser::Preprocess(const std::string& text, const std::string& fileName,
                                       int depth) {
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
    if (active.size() != 1) Error(lineNumber, "#ifdef or #ifndef without #endif");
    return output;
}

void ResourceParser::Directive(const std::string& line, int lineNumber, std::vector<bool>& active,
                               int depth) {
    std::string rest;
    std::string word = FirstWordOf(line, rest);
    bool parentActive = active.size() < 2 || active[active.size() - 2];
    if (word == "ifdef" || word == "ifndef") {
        std::string name = FirstWordOf(rest, rest);
        bool defined = m_defines.count(name) != 0 || Lookup(name).has_value();
        active.push_back(active.back() && (defined == (word == "ifdef")));
    } else if (word == "else") {
        if (active.size() < 2) Error(lineNumber, "#else without #ifdef");
        active.back() = parentActive && !active.back();
    } else if (word == "endif") {
        if (active.size() < 2) Error(lineNumber, "#endif without #ifdef");
        active.pop_back();
    } else if (!active.back() || word == "pragma") {
        return;
    } else if (word == "include") {
        Include(rest, lineNumber, depth);
    } else if (word == "define") {
        std::string name = FirstWordOf(rest, rest);
        if (name.empty()) Error(lineNumber, "#define needs a name");
        Define(name, std::string(Trim(StripComment(rest))));
    } else if (word == "undef") {
        m_defines.erase(FirstWordOf(rest, rest));
    } else {
        Error(lineNumber, "unsupported directive #" + word);
    }
}

void ResourceParser::Include(const std::string& argument, int lineNumber, int depth) {
    std::string target(Trim(StripComment(argument)));
    if (target.size() >= 2 && target.front() == '<' && target.back() == '>') return;
    if (target.size() < 2 || target.front() != '"' || target.back() != '"') {
        Error(lineNumber, "#include needs a file name in quotes");
    }
    if (depth > 16) Error(lineNumber, "#include nested too deeply");
    std::string includer = m_fileName;
    std::filesystem::path path =
        std::filesystem::path(includer).parent_path() / target.substr(1, target.size() - 2);
    std::string text;
    if (!m_reader(path.string(), text)) Error(lineNumber, "cannot read " + path.string());
    // Included files contribute their symbols only.
    Preprocess(text, path.string(), depth + 1);
    m_fileName = includer;
}

void ResourceParser::Define(const std::string& name, const std::string& value) {
    std::optional<long long> number;
    if (!value.empty()) {
        std::vector<Token> saved = std::move(m_tokens);
        size_t savedPos = m_pos;
        try {
            m_tokens = Tokenize(value);
            m_pos = 0;
            long long result = Expression();
            if (Peek().kind == Token::End) number = result;
        } catch (const std::runtime_error&) {
            // A value that is not an integer expression leaves the name defined, without value.
        }
        m_tokens = std::move(saved);
        m_pos = savedPos;
    }
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

std::vector<Token> ResourceParser::Tokenize(const std::string& text) {
    std::vector<Token> tokens;
    int line = 1;
    size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == '\n') {
            ++line;
            ++i;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (text.compare(i, 2, "//") == 0) {
            while (i < text.size() && text[i] != '\n') ++i;
        } else if (text.compare(i, 2, "/*") == 0) {
            size_t end = text.find("*/", i + 2);
            if (end == std::string::npos) Error(line, "comment without end");
            for (size_t k = i; k < end; ++k) line += text[k] == '\n';
            i = end + 2;
        } else if (c == '"') {
            tokens.push_back(StringToken(text, i, line));
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            tokens.push_back(NumberToken(text, i, line));
        } else if (IsIdentifierStart(c)) {
            size_t end = i;
            while (end < text.size() && IsIdentifierChar(text[end])) ++end;
            tokens.push_back({Token::Identifier, text.substr(i, end - i), 0, false, line});
            i = end;
        } else if (std::string(",|()&+-~{}").find(c) != std::string::npos) {
            tokens.push_back({Token::Punct, std::string(1, c), 0, false, line});
            ++i;
        } else {
            Error(line, std::string("unexpected character '") + c + "'");
        }
    }
    tokens.push_back({Token::End, "end of file", 0, false, line});
    return tokens;
}

namespace {
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
        for (int digits = 0;
             digits < 2 && i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i]));
             ++digits) {
            char h = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i++])));
            value = value * 16 + (h <= '9' ? h - '0' : h - 'a' + 10);
        }
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
}  // namespace

// A quoted text starting at i; "" inside it is one quote.
Token ResourceParser::StringToken(const std::string& text, size_t& i, int line) const {
    Token token{Token::String, {}, 0, false, line};
    ++i;
    while (true) {
        if (i >= text.size() || text[i] == '\n') Error(line, "string without closing quote");
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
Token ResourceParser::NumberToken(const std::string& text, size_t& i, int line) const {
    size_t end = i;
    while (end < text.size() && IsIdentifierChar(text[end])) ++end;
    std::string literal = text.substr(i, end - i);
    i = end;
    Token token{Token::Number, literal, 0, false, line};
    std::string digits = literal;
    while (!digits.empty() && (std::toupper(static_cast<unsigned char>(digits.back())) == 'L' ||
                               std::toupper(static_cast<unsigned char>(digits.back())) == 'U')) {
        token.isLong |= std::toupper(static_cast<unsigned char>(digits.back())) == 'L';
        digits.pop_back();
    }
    bool hex = digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
    size_t used = 0;
    try {
        token.value = static_cast<long long>(
            std::stoull(hex ? digits.substr(2) : digits, &used, hex ? 16 : 10));
    } catch (const std::exception&) {
        Error(line, "bad number " + literal);
    }
    if (used != (hex ? digits.size() - 2 : digits.size()) || token.value > 0xFFFFFFFFLL) {
        Error(line, "bad number " + literal);
    }
    return token;
}

bool ResourceParser::Accept(char c) {
    if (!IsPunct(c)) return false;
    Next();
    return true;
}

void ResourceParser::Expect(char c) {
    if (!Accept(c)) Error(Peek().line, std::string("expected '") + c + "' before " + Peek().text);
}

bool ResourceParser::AcceptBegin() {
    if (IsWord("BEGIN")) {
        Next();
        return true;
    }
    return Accept('{');
}

bool ResourceParser::AcceptEnd() {
    if (IsWord("END")) {
        Next();
        return true;
    }
    return Accept('}');
}

std::optional<long long> ResourceParser::Lookup(const std::string& name) const {
    auto it = m_defines.find(name);
    if (it != m_defines.end()) return it->second;
    for (const Builtin& builtin : kBuiltins) {
        if (name == builtin.name) return builtin.value;
    }
    return std::nullopt;
}

long long ResourceParser::Expression() {
    long long value = Unary();
    while (Peek().kind == Token::Punct &&
           std::string("|&+-").find(Peek().text[0]) != std::string::npos) {
        char op = Next().text[0];
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

long long ResourceParser::Unary() {
    const Token& token = Next();
    if (token.kind == Token::Number) return token.value;
    if (token.kind == Token::Punct && token.text[0] == '-') return -Unary();
    if (token.kind == Token::Punct && token.text[0] == '~') return ~Unary() & 0xFFFFFFFFLL;
    if (token.kind == Token::Punct && token.text[0] == '(') {
        long long value = Expression();
        Expect(')');
        return value;
    }
    if (token.kind == Token::Identifier) {
        std::optional<long long> value = Lookup(token.text);
        if (!value) Error(token.line, "unknown symbol " + token.text);
        return *value;
    }
    Error(token.line, "expected a number before " + token.text);
}

long long ResourceParser::Ranged(long long min, long long max, const char* what) {
    int line = Peek().line;
    long long value = Expression();
    if (value < min || value > max) {
        Error(line, std::string(what) + " " + std::to_string(value) + " is out of range " +
                        std::to_string(min) + " to " + std::to_string(max));
    }
    return value;
}

// A style: the implied styles, plus every term, minus every NOT term.
long long ResourceParser::Style(DWORD implied) {
    long long style = implied;
    do {
        bool remove = IsWord("NOT");
        if (remove) Next();
        long long term = Unary();
        style = remove ? (style & ~term) : (style | term);
    } while (Accept('|'));
    return style & 0xFFFFFFFFLL;
}

std::string ResourceParser::QuotedText() {
    if (Peek().kind != Token::String)
        Error(Peek().line, "expected a text in quotes before " + Peek().text);
    return Next().text;
}

void ResourceParser::TopLevelStatement() {
    int line = Peek().line;
    if (IsWord("LANGUAGE")) {
        Next();
        long long primary = Expression();
        Expect(',');
        long long sub = Expression();
        m_language = static_cast<UINT>((sub << 10) | primary);
        return;
    }
    const Token& name = Next();
    if (name.kind != Token::Identifier && name.kind != Token::Number) {
        Error(line, "expected a resource name before " + name.text);
    }
    std::optional<long long> id = name.kind == Token::Number ? name.value : Lookup(name.text);
    if (!id || *id < 1 || *id > 65535)
        Error(line, "resource " + name.text + " needs a number from 1 to 65535");
    std::string type = Peek().kind == Token::Identifier ? Upper(Next().text) : std::string();
    if (type == "DLGINIT") {
        DialogInit(static_cast<UINT>(*id), line);
        return;
    }
    if (type != "DIALOG" && type != "DIALOGEX") {
        Error(line, "unsupported resource type " + (type.empty() ? Peek().text : type));
    }
    for (const DialogTemplate& other : m_dialogs) {
        if (other.id == *id) Error(line, "dialog " + name.text + " is defined twice");
    }
    DialogTemplate dialog;
    dialog.id = static_cast<UINT>(*id);
    dialog.symbol = name.kind == Token::Identifier ? name.text : std::string();
    dialog.language = m_language;
    Dialog(dialog, type == "DIALOGEX");
    m_dialogs.push_back(std::move(dialog));
}

void ResourceParser::Dialog(DialogTemplate& dialog, bool extended) {
    Placement(dialog.x, dialog.y, dialog.cx, dialog.cy);
    if (extended && Accept(',')) dialog.helpId = static_cast<DWORD>(Expression());
    bool styleGiven = false;
    while (!AcceptBegin()) DialogOption(dialog, styleGiven);
    if (!styleGiven) dialog.style = WS_POPUP | WS_BORDER | WS_SYSMENU;
    if (!dialog.caption.empty()) dialog.style |= WS_CAPTION;
    if (!dialog.fontFace.empty()) dialog.style |= DS_SETFONT;
    while (!AcceptEnd()) Control(dialog);
}

void ResourceParser::DialogOption(DialogTemplate& dialog, bool& styleGiven) {
    int line = Peek().line;
    if (Peek().kind == Token::End) Error(line, "dialog without BEGIN");
    std::string option = Peek().kind == Token::Identifier ? Upper(Peek().text) : std::string();
    Next();
    if (option == "STYLE") {
        dialog.style = static_cast<DWORD>(Style(0));
        styleGiven = true;
    } else if (option == "EXSTYLE") {
        dialog.exStyle = static_cast<DWORD>(Expression());
    } else if (option == "CAPTION") {
        dialog.caption = QuotedText();
    } else if (option == "FONT") {
        dialog.fontPointSize = static_cast<int>(Ranged(1, 32767, "font size"));
        Expect(',');
        dialog.fontFace = QuotedText();
        if (Accept(',')) dialog.fontWeight = static_cast<int>(Expression());
        if (Accept(',')) dialog.fontItalic = static_cast<int>(Expression());
        if (Accept(',')) dialog.fontCharSet = static_cast<int>(Expression());
    } else if (option == "LANGUAGE") {
        long long primary = Expression();
        Expect(',');
        dialog.language = static_cast<UINT>((Expression() << 10) | primary);
    } else if (option == "CHARACTERISTICS" || option == "VERSION") {
        Expression();
    } else {
        Error(line, "unsupported dialog statement " + (option.empty() ? Peek().text : option));
    }
}

// x, y, cx, cy
void ResourceParser::Placement(int& x, int& y, int& cx, int& cy) {
    x = static_cast<int>(Ranged(-32768, 32767, "x"));
    Expect(',');
    y = static_cast<int>(Ranged(-32768, 32767, "y"));
    Expect(',');
    cx = static_cast<int>(Ranged(0, 32767, "width"));
    Expect(',');
    cy = static_cast<int>(Ranged(0, 32767, "height"));
}

void ResourceParser::Control(DialogTemplate& dialog) {
    int line = Peek().line;
    std::string keyword = Peek().kind == Token::Identifier ? Upper(Peek().text) : std::string();
    if (Peek().kind == Token::End) Error(line, "dialog without END");
    Next();
    DialogControlTemplate control;
    if (keyword == "CONTROL") {
        ControlStatement(control);
    } else {
        const ControlKind* kind = nullptr;
        for (const ControlKind& candidate : kControlKinds) {
            if (keyword == candidate.keyword) kind = &candidate;
        }
        if (kind == nullptr)
            Error(line,
                  "unsupported control statement " + (keyword.empty() ? Peek().text : keyword));
        control.className = kind->className;
        if (kind->hasText) {
            control.text = QuotedText();
            Expect(',');
        }
        ControlTail(control, kind->impliedStyle);
    }
    dialog.controls.push_back(std::move(control));
}

// The id, with its symbol when it is written as a single name other than IDC_STATIC.
void ResourceParser::ControlId(DialogControlTemplate& control) {
    const Token& first = Peek();
    bool single = first.kind == Token::Identifier && IsPunct(',', 1);
    control.id = static_cast<int>(Ranged(-32768, 65535, "control id"));
    if (single && control.id != -1) control.symbol = first.text;
    Expect(',');
}

// id, x, y, cx, cy [, style [, exstyle [, helpid]]]
void ResourceParser::ControlTail(DialogControlTemplate& control, DWORD implied) {
    ControlId(control);
    Placement(control.x, control.y, control.cx, control.cy);
    control.style = WS_CHILD | WS_VISIBLE | implied;
    if (Accept(',')) control.style = static_cast<DWORD>(Style(control.style));
    if (Accept(',')) control.exStyle = static_cast<DWORD>(Expression());
    if (Accept(',')) control.helpId = static_cast<DWORD>(Expression());
}

// text, id, class, style, x, y, cx, cy [, exstyle [, helpid]]
void ResourceParser::ControlStatement(DialogControlTemplate& control) {
    control.text = QuotedText();
    Expect(',');
    ControlId(control);
    int line = Peek().line;
    const Token& className = Next();
    control.className = Upper(className.text);
    bool known = false;
    for (const char* name : kWindowClasses) known |= control.className == name;
    if (className.kind == Token::Number || className.kind == Token::Punct || !known) {
        Error(line, "unsupported control class " + className.text);
    }
    Expect(',');
    control.style = static_cast<DWORD>(Style(WS_CHILD | WS_VISIBLE));
    Expect(',');
    Placement(control.x, control.y, control.cx, control.cy);
    if (Accept(',')) control.exStyle = static_cast<DWORD>(Expression());
    if (Accept(',')) control.helpId = static_cast<DWORD>(Expression());
}

// Raw data: numbers are 16-bit words (32-bit with an L suffix), texts their bytes, with or
// without commas between them; then decoded as entries of control id, message, length, data.
void ResourceParser::DialogInit(UINT id, int line) {
    if (!AcceptBegin()) Error(Peek().line, "expected BEGIN before " + Peek().text);
    std::string bytes;
    while (!AcceptEnd()) {
        if (Peek().kind == Token::End) Error(line, "DLGINIT without END");
        if (Peek().kind == Token::String) {
            bytes += Next().text;
        } else {
            bool isLong = Peek().isLong;
            long long value = Expression();
            for (int i = 0; i < (isLong ? 4 : 2); ++i)
                bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
        }
        Accept(',');
    }
    auto word = [&](size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[at])) |
               static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 1])) << 8;
    };
    DialogInitBlock block{id, line, {}};
    size_t at = 0;
    while (true) {
        if (at + 2 > bytes.size()) Error(line, "DLGINIT data must end with 0");
        unsigned control = word(at);
        if (control == 0) break;
        if (at + 8 > bytes.size()) Error(line, "DLGINIT entry is cut short");
        unsigned message = word(at + 2);
        size_t length = word(at + 4) | static_cast<size_t>(word(at + 6)) << 16;
        at += 8;
        if (at + length > bytes.size()) Error(line, "DLGINIT entry is longer than its data");
        if (message != DLGINIT_CB_ADDSTRING && message != DLGINIT_LB_ADDSTRING) {
            Error(line, "unsupported DLGINIT message " + std::to_string(message));
        }
        int controlId = control == 0xFFFF ? -1 : static_cast<int>(control);
        block.items.push_back({controlId, message, bytes.substr(at, length)});
        at += length;
    }
    m_initBlocks.push_back(std::move(block));
}

void ResourceParser::AttachDialogInit() {
    for (const DialogInitBlock& block : m_initBlocks) {
        auto dialog = std::find_if(m_dialogs.begin(), m_dialogs.end(),
                                   [&](const DialogTemplate& d) { return d.id == block.dialogId; });
        if (dialog == m_dialogs.end())
            Error(block.line, "DLGINIT " + std::to_string(block.dialogId) + " has no dialog");
        for (const DialogInitItem& item : block.items) {
            bool exists =
                std::any_of(dialog->controls.begin(), dialog->controls.end(),
                            [&](const DialogControlTemplate& c) { return c.id == item.controlId; });
            if (!exists)
                Error(block.line, "DLGINIT names control " + std::to_string(item.controlId) +
                                      ", which the dialog lacks");
            dialog->initItems.push_back(item);
        }
    }
}

ResourceScript ResourceScript::Parse(const std::string& text, const std::string& fileName,
                                     const FileReader& reader) {
    ResourceParser parser(reader);
    return parser.Run(text, fileName);
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
