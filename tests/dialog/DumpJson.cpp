#include "DumpJson.h"

#include <stdexcept>

const nlohmann::json& DialogState::Control(const std::string& name) const {
    for (const nlohmann::json& control : m_json.at("controls")) {
        if (control.at("name") == name) return control;
    }
    throw std::runtime_error("no control " + name);
}

int DialogState::Focus() const {
    const nlohmann::json& focus = m_json.at("focus");
    return focus.is_null() ? 0 : focus.get<int>();
}

std::vector<std::string> DialogState::Messages() const {
    std::vector<std::string> messages;
    for (const nlohmann::json& message : m_json.at("messages")) {
        messages.push_back(message.at("icon").get<std::string>() + ": " +
                           message.at("text").get<std::string>());
    }
    return messages;
}
