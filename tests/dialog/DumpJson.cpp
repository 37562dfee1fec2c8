#include "DumpJson.h"

#include <stdexcept>

namespace {

class Parser {
  public:
    explicit Parser(const std::string& text) : m_text(text) {}

    Json Value() {
        Skip();
        Json json;
        const char c = Peek();
        if (c == '{') return ObjectValue();
        if (c == '[') return ArrayValue();
        if (c == '"') {
            json.kind = Json::String;
            json.text = StringValue();
        } else if (Take("true")) {
            json.kind = Json::Bool;
            json.boolean = true;
        } else if (Take("false")) {
            json.kind = Json::Bool;
        } else if (!Take("null")) {
            size_t used = 0;
            json.kind = Json::Number;
            json.number = std::stod(m_text.substr(m_pos), &used);
            m_pos += used;
        }
        return json;
    }

  private:
    Json ObjectValue() {
        Json json;
        json.kind = Json::Object;
        Expect('{');
        while (Skip(), Peek() != '}') {
            const std::string key = StringValue();
            Skip();
            Expect(':');
            json.fields[key] = Value();
            Skip();
            if (Peek() == ',') ++m_pos;
        }
        Expect('}');
        return json;
    }

    Json ArrayValue() {
        Json json;
        json.kind = Json::Array;
        Expect('[');
        while (Skip(), Peek() != ']') {
            json.items.push_back(Value());
            Skip();
            if (Peek() == ',') ++m_pos;
        }
        Expect(']');
        return json;
    }

    std::string StringValue() {
        Skip();
        Expect('"');
        std::string out;
        while (Peek() != '"') {
            char c = m_text.at(m_pos++);
            if (c == '\\') {
                c = m_text.at(m_pos++);
                if (c == 'n') c = '\n';
                if (c == 'r') c = '\r';
                if (c == 't') c = '\t';
                if (c == 'u') {
                    c = static_cast<char>(std::stoi(m_text.substr(m_pos, 4), nullptr, 16));
                    m_pos += 4;
                }
            }
            out += c;
        }
        ++m_pos;
        return out;
    }

    bool Take(const char* word) {
        const std::string w(word);
        if (m_text.compare(m_pos, w.size(), w) != 0) return false;
        m_pos += w.size();
        return true;
    }
    void Skip() {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\n')) ++m_pos;
    }
    char Peek() const { return m_pos < m_text.size() ? m_text[m_pos] : '\0'; }
    void Expect(char c) {
        if (Peek() != c) throw std::runtime_error("bad dump near " + m_text.substr(m_pos, 20));
        ++m_pos;
    }

    const std::string& m_text;
    size_t m_pos = 0;
};

}  // namespace

const Json& Json::operator[](const std::string& key) const {
    static const Json none;
    auto it = fields.find(key);
    return it == fields.end() ? none : it->second;
}

Json Json::Parse(const std::string& text) { return Parser(text).Value(); }

const Json& DialogState::Control(const std::string& name) const {
    for (const Json& control : m_json["controls"].items) {
        if (control["name"].text == name) return control;
    }
    throw std::runtime_error("no control " + name);
}

int DialogState::Selection(const std::string& name) const {
    return static_cast<int>(Control(name)["selection"].number);
}

std::vector<std::string> DialogState::Items(const std::string& name) const {
    std::vector<std::string> items;
    for (const Json& item : Control(name)["items"].items) items.push_back(item.text);
    return items;
}

int DialogState::Focus() const {
    const Json& focus = m_json["focus"];
    return focus.kind == Json::Number ? static_cast<int>(focus.number) : 0;
}

std::vector<std::string> DialogState::Messages() const {
    std::vector<std::string> messages;
    for (const Json& message : m_json["messages"].items)
        messages.push_back(message["icon"].text + ": " + message["text"].text);
    return messages;
}
