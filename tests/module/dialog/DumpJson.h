// Reads the editor's state dumps with the JSON library the dump is written with.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

// One dump of the dialog's state.
class DialogState {
  public:
    explicit DialogState(nlohmann::ordered_json dump) : m_json(std::move(dump)) {}

    // The control of that symbol; throws when there is none.
    const nlohmann::ordered_json& Control(const std::string& name) const;
    std::string Text(const std::string& name) const { return Field<std::string>(name, "text"); }
    bool Enabled(const std::string& name) const { return Field<bool>(name, "enabled"); }
    bool Visible(const std::string& name) const { return Field<bool>(name, "visible"); }
    bool Checked(const std::string& name) const { return Field<bool>(name, "checked"); }
    int Selection(const std::string& name) const { return Field<int>(name, "selection"); }
    std::vector<std::string> Items(const std::string& name) const {
        return Field<std::vector<std::string>>(name, "items");
    }
    // The focused control's id, or 0 when none has the focus.
    int Focus() const;
    // The message boxes since the previous dump, as "icon: text".
    std::vector<std::string> Messages() const;

  private:
    template <class T>
    T Field(const std::string& name, const char* field) const {
        return Control(name).at(field).get<T>();
    }

    nlohmann::ordered_json m_json;
};
