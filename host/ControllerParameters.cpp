#include "host/ControllerParameters.h"

#include <string_view>

#include "host/CMC_Value.h"

namespace {
constexpr ControllerParameter kParameters[] = {
    {"TPOS", UnitQuantity::Position, VT_LONG},
    {"CACC", UnitQuantity::Acceleration, VT_FIXED},
    {"CSPD", UnitQuantity::Speed, VT_FIXED},
};
}  // namespace

const ElementColumnName& ElementColumnNameOf(int column) {
    static const ElementColumnName kColumns[kElementColumnCount] = {
        {&kParameters[0], "X_", "X_TPOS"},  {&kParameters[0], "Y_", "Y_TPOS"},
        {&kParameters[0], "Z_", "Z_TPOS"},  {&kParameters[1], nullptr, "CACC"},
        {&kParameters[2], nullptr, "CSPD"},
    };
    return kColumns[column];
}

const ControllerParameter* FindControllerParameter(const char* baseName) {
    if (!baseName) return nullptr;
    for (const ControllerParameter& parameter : kParameters) {
        if (std::string_view(parameter.name) == baseName) return &parameter;
    }
    return nullptr;
}
