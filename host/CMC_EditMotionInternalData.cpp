#include "host/CMC_EditMotionInternalData.h"

#include <optional>

#include "base/EscapedText.h"
#include "host/CMC_Setup.h"
#include "host/CMC_Units.h"
#include "host/CMC_Value.h"
#include "host/ControllerParameters.h"
#include "host/ParameterText.h"

namespace {
// What an array entry of a base name holds; unknown names hold plain numbers without a unit.
ControllerParameter ParameterOf(const char* baseName) {
    if (const ControllerParameter* parameter = FindControllerParameter(baseName)) {
        return *parameter;
    }
    return ControllerParameter{baseName, UnitQuantity::None, VT_NONE};
}

bool IsUnitOf(const CMC_Units& units, const CString& unit, UnitQuantity quantity) {
    const CMC_Unit* known = units.FindUnit(unit);
    return known && known->GetQuantity() == quantity && units.IsUsableUnit(unit);
}

CString NoArrayMessage(const CString& name) {
    CString message;
    message.Format("Entry \"%s\" has no array to be read into!\r\n", name.GetString());
    return message;
}

CString UnitMessage(std::string_view unit, const CString& name) {
    CString message;
    message.Format("Unit \"%s\" of entry \"%s\" cannot be used on this axis!\r\n",
                   QuoteForMessage(unit).c_str(), name.GetString());
    return message;
}

// Finds the entry and checks its form; the message is empty when the entry reads.
std::optional<parametertext::Entry> FindArrayEntry(const CString& text, const CString& name,
                                                   CString& message) {
    std::optional<parametertext::Entry> entry = parametertext::FindEntry(text.str(), name.str());
    if (!entry) {
        message = parametertext::MissingMessage(name.str());
        return std::nullopt;
    }
    message = parametertext::FormProblem(name.str(), *entry);
    if (!message.IsEmpty()) return std::nullopt;
    return entry;
}

// Reads the values into array; on failure array keeps its values under the entry's name.
[[nodiscard]] CString InitializeFromEntry(CMC_ArrayParameter* array, int type, const CString& name,
                                          const char* unit, std::string_view values) {
    CString error;
    if (array->InitializeMotionParam(type, name, unit, values, MC_UNSET_LIMIT, MC_UNSET_LIMIT,
                                     error)) {
        return {};
    }
    return error + "\r\n";
}
}  // namespace

CMC_EditMotionInternalData::CMC_EditMotionInternalData(CMC_Setup& setup, CMC_Motion& motion)
    : m_pSetup(&setup), m_pMotion(&motion) {}

CString CMC_EditMotionInternalData::ReadRadioParam(const CString& text, const char* name,
                                                   int& field, int min, int max) {
    return parametertext::ReadWholeNumber(text.str(), name ? name : "", min, max, field);
}

void CMC_EditMotionInternalData::ReadOptionalRadioParam(const CString& text, const char* name,
                                                        int& field, int min, int max) {
    ReadRadioParam(text, name, field, min, max);
}

void CMC_EditMotionInternalData::WriteRadioParam(CString& text, const char* name, int value) {
    text.AppendFormat("%s=%d\n", name ? name : "", value);
}

// On failure the array keeps its values (as the parameter's type holds them) and takes the
// entry's name; an array without a unit takes the quantity's internal unit so that it can be
// shown in the units of its axis.
CString CMC_EditMotionInternalData::ReadArrayDataParam(const CString& text, const char* name,
                                                       const char* prefix, const char* suffix,
                                                       CMC_ArrayParameter* array) {
    const CString fullName = GetDataParamName(name, prefix, suffix);
    if (!array) return NoArrayMessage(fullName);
    const ControllerParameter parameter = ParameterOf(name);
    const CString internal = CMC_Units::InternalUnitName(parameter.quantity);
    CString message;
    if (const auto entry = FindArrayEntry(text, fullName, message)) {
        const CString unit = entry->unit.empty() ? internal : CString(entry->unit);
        if (!unit.IsEmpty() && !IsUnitOf(array->GetUnits(), unit, parameter.quantity)) {
            message = UnitMessage(unit.str(), fullName);
        } else {
            message = InitializeFromEntry(array, parameter.type, fullName, unit, entry->value);
        }
    }
    if (message.IsEmpty()) return message;
    array->SetNameAndType(parameter.type, fullName);
    if (array->GetUnitName().IsEmpty()) array->ChangeUnit(internal);
    return message;
}

// On failure the array keeps its values and unit and takes the entry's name and the type.
CString CMC_EditMotionInternalData::ReadNoUnitArrayDataParam(const CString& text, int type,
                                                             const char* arrayName,
                                                             CMC_ArrayParameter* array) {
    const CString name(arrayName);
    if (!array) return NoArrayMessage(name);
    CString message;
    if (const auto entry = FindArrayEntry(text, name, message)) {
        message = InitializeFromEntry(array, type, name, "", entry->value);
    }
    if (!message.IsEmpty()) array->SetNameAndType(type, name);
    return message;
}

void CMC_EditMotionInternalData::WriteArrayDataParam(CString& text, CMC_ArrayParameter* array) {
    if (!array) return;
    text += array->GetName();
    text += '[';
    text += array->GetUnitName();
    text += "]=";
    array->AppendData(text);
    text += '\n';
}

void CMC_EditMotionInternalData::InitializeArrayDataParam(CMC_ArrayParameter* array,
                                                          const char* name, const char* prefix,
                                                          const char* suffix) {
    if (!array) return;
    const CString unit = GetDefaultUnit(name, prefix, array->GetSetup());
    const bool known = array->GetUnits().IsUsableUnit(unit);
    array->InitializeMotionParam(ParameterOf(name).type, GetDataParamName(name, prefix, suffix),
                                 known ? unit.GetString() : "", "", MC_UNSET_LIMIT, MC_UNSET_LIMIT);
}

CString CMC_EditMotionInternalData::GetDataParamName(const char* name, const char* prefix,
                                                     const char* suffix) {
    CString full(prefix);
    full += name;
    full += suffix;
    return full;
}

CString CMC_EditMotionInternalData::GetDefaultUnit(const char* name, const char* /*prefix*/,
                                                   CMC_Setup* setup) {
    if (setup) {
        if (const CMC_Variable* variable = setup->FindVariable(name, 1)) {
            return variable->GetUnitName();
        }
    }
    return CMC_Units::InternalUnitName(ParameterOf(name).quantity);
}
