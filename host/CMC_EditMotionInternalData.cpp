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

// Checks the form of the entry found; the message is empty when the entry reads.
std::optional<parametertext::Entry> CheckArrayEntry(std::optional<parametertext::Entry> entry,
                                                    const CString& name, CString& message) {
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

CMC_EditMotionInternalData::EntryWalk::EntryWalk(CMC_EditMotionInternalData& data,
                                                 const CString& text)
    : m_data(data), m_began(!data.m_walk) {
    if (!m_began) return;
    m_data.m_walkedText = &text;
    m_data.m_walk.emplace(text.str());
}

CMC_EditMotionInternalData::EntryWalk::~EntryWalk() {
    if (!m_began) return;
    m_data.m_walk.reset();
    m_data.m_walkedText = nullptr;
}

parametertext::EntryLines* CMC_EditMotionInternalData::WalkOver(const CString& text) {
    // The same object, its bytes where they were and as many: a text that was moved or given a
    // value of another length meanwhile is looked up afresh. New bytes of the same length in
    // the same storage are not seen, hence the walk's rule that the text stay unchanged.
    if (m_walk && m_walkedText == &text && m_walk->Text().data() == text.str().data() &&
        m_walk->Text().size() == text.str().size())
        return &*m_walk;
    return nullptr;
}

std::optional<parametertext::Entry> CMC_EditMotionInternalData::FindEntryIn(const CString& text,
                                                                            std::string_view name) {
    if (parametertext::EntryLines* walk = WalkOver(text)) return walk->Find(name);
    return parametertext::FindEntry(text.str(), name);
}

CString CMC_EditMotionInternalData::ReadRadioParam(const CString& text, const char* name,
                                                   int& field, int min, int max) {
    const std::string_view entryName = name ? name : "";
    return parametertext::ReadWholeNumber(FindEntryIn(text, entryName), entryName, min, max, field);
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
    if (const auto entry = CheckArrayEntry(FindEntryIn(text, fullName.str()), fullName, message)) {
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
    if (const auto entry = CheckArrayEntry(FindEntryIn(text, name.str()), name, message)) {
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
