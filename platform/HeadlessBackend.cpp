#include "platform/HeadlessBackend.h"

#include <charconv>
#include <climits>
#include <nlohmann/json.hpp>
#include <string_view>

#include "base/CharClass.h"
#include "base/EscapedText.h"
#include "base/SourcePlace.h"
#include "base/TextLines.h"
#include "base/Trim.h"
#include "platform/CDialog.h"
#include "platform/UserInput.h"

namespace {

const char* const kBlanks = " \t\r";

struct NamedId {
    const char* name;
    int id;
};
const NamedId kBuiltinIds[] = {{"IDOK", IDOK},       {"IDCANCEL", IDCANCEL}, {"IDABORT", IDABORT},
                               {"IDRETRY", IDRETRY}, {"IDIGNORE", IDIGNORE}, {"IDYES", IDYES},
                               {"IDNO", IDNO}};

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    ForEachLine(text, [&](std::string_view line, std::uint32_t) { lines.emplace_back(line); });
    return lines;
}

// Splits off the first word; rest keeps everything after the blanks that follow it.
std::string FirstWord(const std::string& text, std::string& rest) {
    std::string_view trimmed = TrimLeft(text);
    size_t end = trimmed.find_first_of(kBlanks);
    std::string word(trimmed.substr(0, end));
    rest = end == std::string::npos ? std::string() : std::string(TrimLeft(trimmed.substr(end)));
    return word;
}

// The words of an argument list, up to a word that starts a comment.
std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::string rest = text;
    while (true) {
        std::string word = FirstWord(rest, rest);
        if (word.empty() || word[0] == '#') return words;
        words.push_back(word);
    }
}

bool ParseInteger(const std::string& text, long long& value) {
    const char* end = text.data() + text.size();
    auto [ptr, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && ptr == end && !text.empty();
}

bool IsWholeNumber(const std::string& text) {
    size_t digits = !text.empty() && text[0] == '-' ? 1 : 0;
    return text.size() > digits &&
           text.find_first_not_of("0123456789", digits) == std::string::npos;
}

// The text up to a word that starts a comment, without trailing blanks.
std::string BeforeComment(std::string_view text) {
    for (size_t at = text.find('#'); at != std::string_view::npos; at = text.find('#', at + 1)) {
        if (at == 0 || IsBlank(text[at - 1]))
            return std::string(TrimRight(text.substr(0, at), kBlanks));
    }
    return std::string(TrimRight(text, kBlanks));
}

const char* IconName(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONERROR:
            return "error";
        case MB_ICONEXCLAMATION:
            return "exclamation";
        case MB_ICONQUESTION:
        case MB_ICONINFORMATION:
            return "information";
        default:
            return "none";
    }
}

// What a message box's line starts with, by its icon's name (see IconName).
const char* MessagePrefix(std::string_view icon) {
    if (icon == "error") return "error: ";
    if (icon == "exclamation") return "warning: ";
    if (icon == "information") return "info: ";
    return "message: ";
}

// A message box as one line: its line breaks become blanks, other control characters escapes.
std::string MessageLine(const std::string& text, const char* icon) {
    std::string joined;
    bool lineBreak = false;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            lineBreak = true;
            continue;
        }
        if (lineBreak && !joined.empty() && joined.back() != ' ') joined += ' ';
        lineBreak = false;
        joined += c;
    }
    return MessagePrefix(icon) + EscapeControls(joined) + "\n";
}

using Json = nlohmann::ordered_json;  // keeps the fields in the order the dump lists them

Json ControlJson(const CWnd& control) {
    std::string text;
    control.GetWindowText(text);
    const std::string& symbol = control.GetResourceSymbol();
    Json json;
    json["id"] = control.GetDlgCtrlID();
    json["name"] = symbol.empty() ? Json(nullptr) : Json(symbol);
    json["class"] = control.GetWindowClass();
    json["text"] = text;
    json["enabled"] = control.IsWindowEnabled() != FALSE;
    json["visible"] = control.IsWindowVisible() != FALSE;
    if (control.IsCheckBox() || control.IsRadioButton())
        json["checked"] = control.GetCheck() != BST_UNCHECKED;
    if (control.IsComboBox() || control.IsListBox()) {
        Json& items = json["items"] = Json::array();
        for (const auto& item : control.GetItems().Items()) items.push_back(item.text);
        json["selection"] = control.GetItems().Selection();
    }
    return json;
}

// The state on one line, with a blank after each colon and comma. Bytes that are not UTF-8
// become U+FFFD, so that every dump is valid JSON. The library's indented form breaks lines
// only between values (a line end inside a text is escaped), so joining its lines gives the
// one-line form.
std::string OneLine(const Json& json) {
    const std::string indented = json.dump(0, ' ', false, Json::error_handler_t::replace);
    std::string line;
    for (char c : indented) {
        if (c != '\n')
            line += c;
        else if (!line.empty() && line.back() == ',')
            line += ' ';
    }
    return line;
}
}  // namespace

HeadlessBackend::HeadlessBackend(std::string script, std::string scriptName, std::ostream& out,
                                 std::ostream& messages)
    : m_lines(SplitLines(script)),
      m_name(std::move(scriptName)),
      m_out(out),
      m_messageLines(messages) {}

INT_PTR HeadlessBackend::RunModal(CDialog& dialog) {
    if (!m_error.empty()) {
        dialog.EndDialog(-1);
        return -1;
    }
    struct Depth {
        int& depth;
        explicit Depth(int& value) : depth(++value) {}
        ~Depth() { --depth; }
    } nesting(m_depth);
    dialog.RunInitDialog();
    RunLines(dialog);
    if (m_error.empty() && !dialog.IsModalEnded()) UserInput::Close(dialog);
    if (m_error.empty() && m_depth == 1) RunDumpsOnly(dialog);
    if (!m_error.empty()) {
        dialog.EndDialog(-1);
        return -1;
    }
    return dialog.GetModalResult();
}

void HeadlessBackend::RunLines(CDialog& dialog) {
    while (m_error.empty() && !dialog.IsModalEnded() && m_next < m_lines.size()) {
        m_line = static_cast<int>(++m_next);
        RunLine(dialog, m_lines[m_next - 1]);
    }
}

// After the outermost dialog ended, its state can still be dumped; nothing else runs.
void HeadlessBackend::RunDumpsOnly(CDialog& dialog) {
    for (; m_next < m_lines.size(); ++m_next) {
        std::string rest;
        if (FirstWord(m_lines[m_next], rest) == "dump") Dump(dialog);
    }
}

void HeadlessBackend::RunLine(CDialog& dialog, const std::string& line) {
    std::string rest;
    std::string command = FirstWord(line, rest);
    if (command.empty() || command[0] == '#') return;
    std::string problem = Execute(dialog, command, rest);
    if (!problem.empty()) Fail(m_line, problem);
}

std::string HeadlessBackend::Execute(CDialog& dialog, const std::string& command,
                                     const std::string& rest) {
    if (command == "type") {
        std::string text;
        std::string name = FirstWord(rest, text);
        if (name.empty()) return "type needs a control";
        std::string problem;
        CWnd* control = FindControl(dialog, name, problem);
        return control ? UserInput::Type(*control, std::string(TrimRight(text))) : problem;
    }
    if (command == "select") return ExecuteSelect(dialog, rest);
    if (command == "file") return QueueAnswer(m_fileAnswers, rest, true);
    if (command == "event") return QueueAnswer(m_promptAnswers, rest, false);
    return ExecuteOnControl(dialog, command, Words(rest));
}

std::string HeadlessBackend::ExecuteSelect(CDialog& dialog, const std::string& rest) {
    std::string argument;
    std::string name = FirstWord(rest, argument);
    argument = BeforeComment(argument);
    if (name.empty() || name[0] == '#' || argument.empty())
        return "select needs a control and an index or an item's text";
    std::string problem;
    CWnd* control = FindControl(dialog, name, problem);
    if (control == nullptr) return problem;
    if (!IsWholeNumber(argument)) return UserInput::SelectItem(*control, argument);
    long long index = 0;
    if (!ParseInteger(argument, index) || index < INT_MIN || index > INT_MAX)
        return "index " + argument + " does not fit in an integer";
    return UserInput::Select(*control, static_cast<int>(index));
}

std::string HeadlessBackend::ExecuteOnControl(CDialog& dialog, const std::string& command,
                                              const std::vector<std::string>& args) {
    bool takesControl = command == "click" || command == "focus";
    bool takesId = command == "command";
    bool takesNothing =
        command == "enter" || command == "ok" || command == "cancel" || command == "dump";
    if (!takesControl && !takesId && !takesNothing) return "unknown command " + Quoted(command);
    size_t wanted = takesNothing ? 0 : 1;
    if (args.size() < wanted) return command + (takesId ? " needs an id" : " needs a control");
    if (args.size() > wanted) return "unexpected argument " + Quoted(args[wanted]);

    if (command == "enter") UserInput::Enter(dialog);
    if (command == "dump") Dump(dialog);
    if (command == "ok") return UserInput::PressButton(dialog, IDOK);
    if (command == "cancel") return UserInput::PressButton(dialog, IDCANCEL);
    if (takesNothing) return {};
    if (takesId) {
        int id = 0;
        if (!ResolveId(dialog, args[0], id)) return "unknown command id " + Quoted(args[0]);
        UserInput::Command(dialog, id);
        return {};
    }
    std::string problem;
    CWnd* control = FindControl(dialog, args[0], problem);
    if (control == nullptr) return problem;
    if (command == "click") return UserInput::Click(*control);
    return UserInput::Focus(*control);
}

std::string HeadlessBackend::QueueAnswer(std::deque<Answer>& queue, const std::string& rest,
                                         bool isPath) {
    const char* command = isPath ? "file" : "event";
    std::string argument = isPath ? std::string(TrimRight(rest)) : std::string();
    if (!isPath) {
        std::vector<std::string> words = Words(rest);
        if (words.size() > 1) return "unexpected argument " + Quoted(words[1]);
        if (!words.empty()) argument = words[0];
    }
    if (argument.empty()) {
        return std::string(command) +
               (isPath ? " needs a path or cancel" : " needs a number or cancel");
    }
    Answer answer;
    answer.line = m_line;
    answer.cancel = argument == "cancel";
    if (!answer.cancel && isPath) answer.path = argument;
    if (!answer.cancel && !isPath && !ParseInteger(argument, answer.value)) {
        return "event answer " + Quoted(argument) + " is not a number";
    }
    queue.push_back(answer);
    return {};
}

CWnd* HeadlessBackend::FindControl(CDialog& dialog, const std::string& name, std::string& problem) {
    long long number = 0;
    int id = 0;
    bool byNumber = ParseInteger(name, number);
    std::vector<CWnd*> found;
    for (const auto& child : dialog.GetChildren()) {
        bool match =
            byNumber ? child->GetDlgCtrlID() == number : child->GetResourceSymbol() == name;
        if (match) found.push_back(child.get());
    }
    if (found.empty() && !byNumber && ResolveId(dialog, name, id)) {
        for (const auto& child : dialog.GetChildren()) {
            if (child->GetDlgCtrlID() == id) found.push_back(child.get());
        }
    }
    if (found.size() == 1) return found.front();
    problem = found.empty() ? "unknown control " + Quoted(name)
                            : "control " + Quoted(name) + " is not unique";
    return nullptr;
}

bool HeadlessBackend::ResolveId(CDialog& dialog, const std::string& name, int& id) {
    long long number = 0;
    if (ParseInteger(name, number)) {
        if (number < -32768 || number > 65535) return false;
        id = static_cast<int>(number);
        return true;
    }
    for (const auto& child : dialog.GetChildren()) {
        if (child->GetResourceSymbol() == name) {
            id = child->GetDlgCtrlID();
            return true;
        }
    }
    if (const DialogTemplate* tmpl = dialog.GetTemplate()) {
        for (const ResourceSymbol& symbol : tmpl->symbols) {
            if (symbol.name == name) {
                id = symbol.value;
                return true;
            }
        }
    }
    for (const NamedId& builtin : kBuiltinIds) {
        if (name == builtin.name) {
            id = builtin.id;
            return true;
        }
    }
    return false;
}

void HeadlessBackend::Dump(CDialog& dialog) {
    CWnd* focus = dialog.GetFocusedChild();
    Json state;
    state["focus"] = focus ? Json(focus->GetDlgCtrlID()) : Json(nullptr);
    Json& controls = state["controls"] = Json::array();
    for (const auto& child : dialog.GetChildren()) controls.push_back(ControlJson(*child));
    Json& messages = state["messages"] = Json::array();
    for (const Message& message : m_messages) {
        Json box;
        box["text"] = message.text;
        box["icon"] = message.icon;
        messages.push_back(box);
    }
    m_messages.clear();
    m_out << OneLine(state) << '\n';
    m_out.flush();
}

void HeadlessBackend::Fail(int line, const std::string& problem) {
    if (m_error.empty())
        m_error = PlaceMessage({m_name, static_cast<std::uint32_t>(line)}, problem);
}

int HeadlessBackend::MessageBox(const std::string& text, UINT type) {
    const char* icon = IconName(type);
    m_messages.push_back({text, icon});
    // Nobody sees the box: its text goes where a person running the script looks.
    m_messageLines << MessageLine(text, icon) << std::flush;
    return AfxDefaultMessageBoxButton(type);
}

std::optional<HeadlessBackend::Answer> HeadlessBackend::TakeAnswer(std::deque<Answer>& queue) {
    if (queue.empty()) return std::nullopt;
    Answer answer = std::move(queue.front());
    queue.pop_front();
    if (answer.cancel) return std::nullopt;
    return answer;
}

std::optional<std::string> HeadlessBackend::ChooseFile(const FileDialogRequest& /*request*/) {
    std::optional<Answer> answer = TakeAnswer(m_fileAnswers);
    if (!answer) return std::nullopt;
    // The path is handed on as it stands, even one that does not exist: opening it then shows
    // the user the file system's own reason, as it would if the file vanished after choosing.
    return answer->path;
}

int HeadlessBackend::ChooseItem(const std::string& title, const std::vector<std::string>& items,
                                int /*current*/) {
    std::optional<Answer> answer = TakeAnswer(m_promptAnswers);
    if (!answer) return -1;
    auto count = static_cast<long long>(items.size());
    if (answer->value < 0 || answer->value >= count) {
        Fail(answer->line, "event " + std::to_string(answer->value) + " is out of range: " +
                               Quoted(title) + " offers choices 0 to " + std::to_string(count - 1));
        return -1;
    }
    return static_cast<int>(answer->value);
}

bool HeadlessBackend::AskInteger(const std::string& /*title*/, const std::string& prompt,
                                 int& value, int min, int max) {
    std::optional<Answer> answer = TakeAnswer(m_promptAnswers);
    if (!answer) return false;
    if (answer->value < min || answer->value > max) {
        Fail(answer->line, "event " + std::to_string(answer->value) +
                               " is out of range: " + Quoted(prompt) + " takes " +
                               std::to_string(min) + " to " + std::to_string(max));
        return false;
    }
    value = static_cast<int>(answer->value);
    return true;
}
