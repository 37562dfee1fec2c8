#include "host/ControllerParameters.h"

#include <string_view>

#include "host/CMC_Value.h"

namespace {
constexpr ControllerParameter kParameters[] = {
    {kPositionParameter, UnitQuantity::Position, VT_LONG},
    {kAccelerationParameter, UnitQuantity::Acceleration, VT_FIXED},
    {kSpeedParameter, UnitQuantity::Speed, VT_FIXED},
};
}  // namespace

const ControllerParameter* FindControllerParameter(const char* baseName) {
    if (!baseName) return nullptr;
    for (const ControllerParameter& parameter : kParameters) {
        if (std::string_view(parameter.name) == baseName) return &parameter;
    }
    return nullptr;
}
