// Runs dialogs in-process under the headless back end, and reads what it dumped.
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/AfxTypes.h"

// What a run under the headless back end left behind.
struct HeadlessRun {
    INT_PTR result = 0;    // what the run's body returned
    std::string output;    // the dumps, one a line
    std::string messages;  // the message boxes as the back end writes them, one a line
    std::string error;     // the script's error, if a line failed

    // The dumps, read back with the library that wrote them; fields keep their order.
    std::vector<nlohmann::ordered_json> Dumps() const;
};

// Runs body while a headless back end playing script is the active one; scriptName names the
// script in its errors.
HeadlessRun RunHeadless(const std::string& script, const std::function<INT_PTR()>& body,
                        const std::string& scriptName = "test.script");

// The control of that symbol in a dump; throws when there is none.
const nlohmann::ordered_json& ControlIn(const nlohmann::ordered_json& dump,
                                        const std::string& symbol);
