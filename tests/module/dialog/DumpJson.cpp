#include "DumpJson.h"

#include "tests/support/HeadlessRun.h"

const nlohmann::ordered_json& DialogState::Control(const std::string& name) const {
    return ControlIn(m_json, name);
}

int DialogState::Focus() const {
    const nlohmann::ordered_json& focus = m_json.at("focus");
    return focus.is_null() ? 0 : focus.get<int>();
}

std::vector<std::string> DialogState::Messages() const {
    std::vector<std::string> messages;
    for (const nlohmann::ordered_json& message : m_json.at("messages")) {
        messages.push_back(message.at("icon").get<std::string>() + ": " +
                           message.at("text").get<std::string>());
    }
    return messages;
}
