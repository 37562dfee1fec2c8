#include "tests/support/HeadlessRun.h"

#include <sstream>
#include <stdexcept>

#include "platform/ActiveBackendGuard.h"
#include "platform/HeadlessBackend.h"

HeadlessRun RunHeadless(const std::string& script, const std::function<INT_PTR()>& body,
                        const std::string& scriptName) {
    std::ostringstream output;
    std::ostringstream messages;
    HeadlessBackend backend(script, scriptName, output, messages);
    HeadlessRun run;
    {
        ActiveBackendGuard active(backend);
        run.result = body();
    }
    run.output = output.str();
    run.messages = messages.str();
    run.error = backend.Error();
    return run;
}

std::vector<nlohmann::ordered_json> HeadlessRun::Dumps() const {
    std::vector<nlohmann::ordered_json> dumps;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);)
        dumps.push_back(nlohmann::ordered_json::parse(line));
    return dumps;
}

const nlohmann::ordered_json& ControlIn(const nlohmann::ordered_json& dump,
                                        const std::string& symbol) {
    for (const nlohmann::ordered_json& control : dump.at("controls")) {
        if (control.at("name") == symbol) return control;
    }
    throw std::runtime_error("the dump has no control " + symbol);
}
