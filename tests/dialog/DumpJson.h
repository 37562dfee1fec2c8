// Reads the editor's state dumps: just enough JSON for the tests to ask about controls.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

struct Json {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<Json> items;
    std::map<std::string, Json> fields;

    const Json& operator[](const std::string& key) const;
    const Json& operator[](size_t index) const { return items.at(index); }
    static Json Parse(const std::string& text);
};

// One dump of the dialog's state.
class DialogState {
  public:
    explicit DialogState(const std::string& line) : m_json(Json::Parse(line)) {}

    const Json& Control(const std::string& name) const;
    std::string Text(const std::string& name) const { return Control(name)["text"].text; }
    bool Enabled(const std::string& name) const { return Control(name)["enabled"].boolean; }
    bool Visible(const std::string& name) const { return Control(name)["visible"].boolean; }
    bool Checked(const std::string& name) const { return Control(name)["checked"].boolean; }
    int Selection(const std::string& name) const;
    std::vector<std::string> Items(const std::string& name) const;
    // The focused control's id, or 0 when none has the focus.
    int Focus() const;
    // The message boxes since the previous dump, as "icon: text".
    std::vector<std::string> Messages() const;

  private:
    Json m_json;
};
