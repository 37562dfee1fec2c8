#include "host/CMC_ArrayParameter.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>

#include "base/ByteScan.h"
#include "base/EscapedText.h"
#include "base/Rounding.h"
#include "base/ShortTextMemo.h"
#include "base/numbertext/DecimalStep.h"
#include "base/numbertext/Parse.h"
#include "host/CMC_Setup.h"
#include "host/CMC_Units.h"
#include "host/CMC_Value.h"
#include "host/ParameterText.h"

namespace {

bool IsUnset(double limit) { return limit == MC_UNSET_LIMIT; }

std::string ValueMessage(const char* name, size_t index, std::string_view problem) {
    return "Value " + std::to_string(index) + " of entry " + Quoted(name ? name : "") + " " +
           std::string(problem) + "!";
}

// A whole internal value as a literal, with suffix appended.
numbertext::NumberBuffer WholeText(double value, std::string_view suffix) {
    numbertext::NumberBuffer text;
    const auto end =
        std::to_chars(text.data, text.data + sizeof text.data, static_cast<long long>(value));
    text.size = static_cast<size_t>(end.ptr - text.data);
    for (char c : suffix) text.data[text.size++] = c;
    return text;
}

void CopyInto(std::string_view text, numbertext::NumberBuffer& buffer) {
    buffer.size = std::min(text.size(), sizeof buffer.data);
    std::memcpy(buffer.data, text.data(), buffer.size);
}

std::string UnitSuffix(const char* unit) {
    return unit && *unit ? std::string(" ") + unit : std::string();
}
}  // namespace

CMC_ArrayParameter::CMC_ArrayParameter(CMC_Setup* setup) : m_pSetup(setup) { UpdateShownForms(); }

// Arrays built without a setup know the physical units and internal units of no drive.
const CMC_Units& CMC_ArrayParameter::GetUnits() const {
    static const CMC_Units withoutDrive;
    return m_pSetup ? m_pSetup->GetUnits() : withoutDrive;
}

BOOL CMC_ArrayParameter::InitializeMotionParam(int type, const char* name, const char* unit,
                                               const char* text, double min, double max) {
    CString error;
    return InitializeMotionParam(type, name, unit, text, min, max, error);
}

BOOL CMC_ArrayParameter::InitializeMotionParam(int type, const char* name, const char* unit,
                                               const char* text, double min, double max,
                                               CString& error) {
    return InitializeMotionParam(type, name, unit, std::string_view(text ? text : ""), min, max,
                                 error);
}

BOOL CMC_ArrayParameter::InitializeMotionParam(int type, const char* name, const char* unit,
                                               std::string_view text, double min, double max,
                                               CString& error) {
    error.Empty();
    if (!unit) unit = "";
    if (!CMC_Value::IsKnownType(type)) {
        error.Format("\"%s\" has an unknown variable type %d!", name ? name : "", type);
        return FALSE;
    }
    CMC_ArrayParameter next(m_pSetup);
    if (!GetUnits().IsUsableUnit(unit) || !ScalesFor(unit, next.m_toIU, next.m_toBase)) {
        error = ("Unit " + Quoted(unit) + " cannot be used for " + Quoted(name ? name : "") +
                 " on this setup!")
                    .c_str();
        return FALSE;
    }

    // The new state is built aside, so that a failure leaves the array as it was.
    next.m_type = type;
    next.m_name = name;
    next.m_unit = unit;
    next.m_minIU = IsUnset(min) ? -kNoLimit : next.m_toIU.Apply(min);
    next.m_maxIU = IsUnset(max) ? kNoLimit : next.m_toIU.Apply(max);
    if (next.LowestIU() > next.HighestIU()) {
        error = ("The limits of " + Quoted(name ? name : "") + " are crossed!").c_str();
        return FALSE;
    }

    std::string problem;
    size_t index = 0;
    const double lowest = next.LowestIU();
    const double highest = next.HighestIU();
    const bool stepped = CMC_Value::StepOf(type) > 0.0;
    // Values are mostly one blank apart: room for that many saves growing a long list by steps.
    next.m_values.reserve(CountChar(text, ' ') + 1);
    // A long list's values are remembered by their texts; a short one's are read faster than
    // the memo is made.
    constexpr size_t kFewestBytesRemembered = 16 * 1024;
    const bool remember = text.size() >= kFewestBytesRemembered;
    ShortTextMemo<double> held;
    parametertext::ForEachToken(text, [&](std::string_view token) {
        ++index;
        if (const double* known = held.Find(token)) {
            next.m_values.push_back(*known);
            return true;
        }
        double typed = 0.0;
        const auto result = numbertext::ParseNumber(token, typed);
        if (result == numbertext::ParseResult::NotNumber) {
            problem = ValueMessage(name, index, "is not a number: " + Quoted(token));
            return false;
        }
        const double internal = next.m_toIU.Apply(typed);
        const double rounded = CMC_Value::RoundToStep(type, internal);
        if (result == numbertext::ParseResult::OutOfRange || !(rounded >= lowest) ||
            !(rounded <= highest)) {
            problem =
                ValueMessage(name, index,
                             "is out of range: " + Quoted(token) + " (allowed " +
                                 next.PrintIn(lowest, next.m_toIU).Str() + " to " +
                                 next.PrintIn(highest, next.m_toIU).Str() + UnitSuffix(unit) + ")");
            return false;
        }
        // In range, a stepped type holds just the rounded step (zero without a sign).
        const double value = stepped ? rounded + 0.0 : next.Represent(internal);
        next.m_values.push_back(value);
        if (remember) held.Remember(token, value);
        return true;
    });
    if (!problem.empty()) {
        error = problem.c_str();
        return FALSE;
    }
    next.m_readTexts.Keep(text, next.m_values.size());
    AdoptState(next);
    return TRUE;
}

// No unit keeps the identity; a usable unit converts to its internal unit and from that to the
// unit's base.
bool CMC_ArrayParameter::ScalesFor(const char* unit, Scale& toIU, Scale& toBase) const {
    toIU = Scale{};
    toBase = Scale{};
    if (!*unit) return true;
    const CMC_Units& units = GetUnits();
    const CString internal = CMC_Units::GetIUOfUnit(unit);
    const CMC_Unit* base = units.FindBaseUnit(unit);
    return base && units.ConversionFactors(unit, internal, toIU.from, toIU.to) &&
           units.ConversionFactors(internal, base->GetUnitName(), toBase.from, toBase.to);
}

void CMC_ArrayParameter::AdoptState(CMC_ArrayParameter& next) {
    m_type = next.m_type;
    m_name = std::move(next.m_name);
    m_unit = std::move(next.m_unit);
    m_minIU = next.m_minIU;
    m_maxIU = next.m_maxIU;
    m_toIU = next.m_toIU;
    m_toBase = next.m_toBase;
    m_values.swap(next.m_values);
    m_readTexts = std::move(next.m_readTexts);
    m_shownTexts.Clear();
    UpdateShownForms();
}

BOOL CMC_ArrayParameter::ChangeUnit(const char* unit) {
    if (!unit) unit = "";
    if (m_unit == unit) return TRUE;
    const CMC_Units& units = GetUnits();
    const bool toOrFromInternal = (m_unit.IsEmpty() && CMC_Units::GetIUOfUnit(unit) == unit) ||
                                  (!*unit && CMC_Units::GetIUOfUnit(m_unit) == m_unit);
    const bool sameFamily = units.CompatibleUnits(unit, m_unit) && units.IsUsableUnit(unit);
    if (!toOrFromInternal && !sameFamily) return FALSE;
    Scale toIU;
    Scale toBase;
    if (!ScalesFor(unit, toIU, toBase)) return FALSE;
    m_unit = unit;
    m_toIU = toIU;
    m_toBase = toBase;
    // The read texts are numbers in the old unit.
    m_readTexts.Clear();
    m_shownTexts.Clear();
    UpdateShownForms();
    return TRUE;
}

void CMC_ArrayParameter::SetNameAndType(int type, const char* name) {
    m_name = name;
    if (!CMC_Value::IsKnownType(type) || type == m_type) return;
    m_type = type;
    for (double& value : m_values) value = Represent(value);
    m_readTexts.Clear();
    m_shownTexts.Clear();
    UpdateShownForms();
}

void CMC_ArrayParameter::SetValuesCount(int count) {
    if (count < 0) return;
    m_values.resize(static_cast<size_t>(count), 0.0);
    m_readTexts.Resize(static_cast<size_t>(count));
    m_shownTexts.ForgetFrom(static_cast<size_t>(count));
}

void CMC_ArrayParameter::InsertValueAt(int index, double value) {
    InsertValueInInternalUnit(index, m_toIU.Apply(value));
}

void CMC_ArrayParameter::InsertValueInInternalUnit(int index, double value) {
    if (index < 0 || index > GetValuesCount()) return;
    m_values.insert(static_cast<size_t>(index), Represent(value));
    m_readTexts.Insert(static_cast<size_t>(index));
    m_shownTexts.ForgetFrom(static_cast<size_t>(index));
}

void CMC_ArrayParameter::RemoveValueAt(int index, int count) {
    if (!IsValid(index) || count <= 0) return;
    const int end = std::min(GetValuesCount(), index + std::min(count, GetValuesCount()));
    m_values.erase(static_cast<size_t>(index), static_cast<size_t>(end - index));
    m_readTexts.Remove(static_cast<size_t>(index), static_cast<size_t>(end - index));
    m_shownTexts.ForgetFrom(static_cast<size_t>(index));
}

void CMC_ArrayParameter::SwapValues(int a, int b) {
    if (!IsValid(a) || !IsValid(b) || a == b) return;
    std::swap(m_values[static_cast<size_t>(a)], m_values[static_cast<size_t>(b)]);
    m_readTexts.Swap(static_cast<size_t>(a), static_cast<size_t>(b));
    m_shownTexts.ForgetFrom(static_cast<size_t>(std::min(a, b)));
}

void CMC_ArrayParameter::SetValue(int index, double value) {
    SetValueInInternalUnit(index, m_toIU.Apply(value));
}

double CMC_ArrayParameter::GetValue(int index) const {
    return m_toIU.Invert(GetValueInInternalUnit(index));
}

void CMC_ArrayParameter::SetValueInInternalUnit(int index, double value) {
    if (!IsValid(index)) return;
    double& held = m_values[static_cast<size_t>(index)];
    const double represented = Represent(value);
    // The same count keeps the text it was read with.
    if (std::bit_cast<std::uint64_t>(represented) != std::bit_cast<std::uint64_t>(held))
        m_readTexts.Drop(static_cast<size_t>(index));
    held = represented;
    m_shownTexts.ForgetFrom(static_cast<size_t>(index));
}

void CMC_ArrayParameter::SetMinInInternalUnit(double min) {
    m_minIU = IsUnset(min) ? -kNoLimit : min;
    UpdateShownForms();
}

void CMC_ArrayParameter::SetMaxInInternalUnit(double max) {
    m_maxIU = IsUnset(max) ? kNoLimit : max;
    UpdateShownForms();
}

void CMC_ArrayParameter::UpdateShownForms() {
    m_shownMin = m_toIU.Invert(LowestIU());
    m_shownMax = m_toIU.Invert(HighestIU());
    m_stepDigits = 0;
    if (CMC_Value::StepOf(m_type) != 1.0) return;
    numbertext::DecimalStep step;
    if (!numbertext::DecimalStepOf(m_toIU.Invert(1.0), step)) return;
    m_stepDigits = step.multiple;
    m_stepPower = step.power;
}

// Values of whole types are whole counts, and the conversion makes of a count of the step
// its digits to within a few units in the fifteenth.
bool CMC_ArrayParameter::CountText(double internalValue, numbertext::NumberBuffer& text) const {
    if (m_stepDigits == 0) return false;
    numbertext::FewestFound found;
    return numbertext::FewestDigitsOfCount(m_toIU.Invert(internalValue),
                                           static_cast<long long>(internalValue), m_stepDigits,
                                           m_stepPower, text, found);
}

CString CMC_ArrayParameter::PrintValue(int index) const { return ValueText(index).View(); }

CString CMC_ArrayParameter::PrintValueForZRL(int index) const { return LiteralText(index).View(); }

numbertext::NumberBuffer CMC_ArrayParameter::ValueText(int index) const {
    numbertext::NumberBuffer text;
    ShowInto(GetValueInInternalUnit(index), text);
    return text;
}

void CMC_ArrayParameter::ShowInto(double internalValue, numbertext::NumberBuffer& text) const {
    if (!CountText(internalValue, text)) text = PrintIn(internalValue, m_toIU);
}

// Every path writes the one buffer returned, which is the caller's own (only the search's text
// is copied in): a list asks for a million of them, and a copy of the buffer at each return
// cost 3% of an edit's instructions.
numbertext::NumberBuffer CMC_ArrayParameter::KeptValueText(int index) const {
    numbertext::NumberBuffer text;
    if (!IsValid(index)) {
        ShowInto(0.0, text);
        return text;
    }
    const auto at = static_cast<size_t>(index);
    const ShownTextCache::Entry kept = m_shownTexts.At(at);
    if (kept.kept) {
        CopyInto(kept.text, text);
        return text;
    }
    RecallInto(m_values[at], text);
    // A save writes read texts as they were read: only the others need the shown ones.
    if (!m_readTexts.HoldsAll(m_values.size())) m_shownTexts.Keep(at, text.View(), m_values.size());
    return text;
}

void CMC_ArrayParameter::RecallInto(double internalValue, numbertext::NumberBuffer& text) const {
    const auto key = std::bit_cast<std::uint64_t>(internalValue);
    const std::string_view recalled = m_shownTexts.Recalled(key);
    if (!recalled.empty()) return CopyInto(recalled, text);
    ShowInto(internalValue, text);
    m_shownTexts.Remember(key, text.View());
}

numbertext::NumberBuffer CMC_ArrayParameter::LiteralText(int index) const {
    const double value = GetValueInInternalUnit(index);
    switch (m_type) {
        case VT_LONG:
        case VT_ULONG:
            return WholeText(value, "L");
        case VT_INT:
        case VT_UINT:
            return WholeText(value, "");
        case VT_FIXED:
            return PrintIn(value, Scale{});
        default:
            return numbertext::Shortest(value);
    }
}

void CMC_ArrayParameter::ForgetReadTexts() { m_readTexts.Clear(); }

void CMC_ArrayParameter::SaveData(CString& text) const {
    text.Empty();
    AppendData(text);
}

void CMC_ArrayParameter::AppendData(CString& text) const {
    std::string& out = text.str();
    if (m_readTexts.HoldsAll(m_values.size())) {
        out += m_readTexts.List();
        return;
    }
    // Read and kept texts are mostly what is saved, and values not shown (no acceleration of
    // its own) save as "0"; others take about eight bytes. An estimate that is too high would
    // move the text to new storage for nothing.
    constexpr size_t kBytesPerValue = 8;
    const size_t kept = std::min(m_shownTexts.Count(), m_values.size());
    out.reserve(out.size() + m_values.size() + m_readTexts.List().size() + m_shownTexts.Bytes() +
                (m_values.size() - kept) * kBytesPerValue);
    ReadTexts::Walk read(m_readTexts);
    // A value's saved text depends on the value alone: one repeated from the value saved before
    // (no acceleration of its own, the same feed) copies that text instead of making it again.
    std::uint64_t lastKey = 0;
    size_t lastAt = 0;
    size_t lastSize = 0;
    for (size_t i = 0; i < m_values.size(); ++i) {
        if (i > 0) out += ' ';
        const std::string_view typed = read.TextOf(i);
        if (!typed.empty()) {
            out += typed;
            continue;
        }
        const auto key = std::bit_cast<std::uint64_t>(m_values[i]);
        if (lastSize != 0 && key == lastKey) {
            out.append(out, lastAt, lastSize);
            continue;
        }
        lastAt = out.size();
        AppendSaveText(out, i);
        lastKey = key;
        lastSize = out.size() - lastAt;
    }
}

double CMC_ArrayParameter::Represent(double internalValue) const {
    if (m_type != VT_NONE) return CMC_Value::Represent(m_type, internalValue);
    if (std::isnan(internalValue)) return 0.0;
    constexpr double kMax = std::numeric_limits<double>::max();
    return CMC_Value::Represent(m_type, std::clamp(internalValue, -kMax, kMax));
}

bool CMC_ArrayParameter::SavesWholeOrShortest() const {
    return m_toIU.from == m_toIU.to && m_type != VT_FIXED;
}

// A value without a read text: integers in internal units as integers, plain doubles as their
// shortest exact text, converted values as PrintValue shows them, the fewest digits that read
// back to the same value (a count of 1/1024 mm as 0.794, not 0.7939453125; a speed that fixed
// point stores as 0.99998474 m/s as 1).
void CMC_ArrayParameter::AppendSaveText(std::string& out, size_t index) const {
    const double internalValue = m_values[index];
    if (SavesWholeOrShortest()) {
        out += m_type == VT_NONE ? numbertext::Shortest(internalValue).View()
                                 : WholeText(internalValue, "").View();
        return;
    }
    const ShownTextCache::Entry shown = m_shownTexts.At(index);
    if (shown.kept) {
        out += shown.text;
        return;
    }
    numbertext::NumberBuffer text;
    RecallInto(internalValue, text);
    out += text.View();
}

// A text counts only when it rounds to the stored value without saturating, so that a huge
// number never stands for the type's limit.
numbertext::NumberBuffer CMC_ArrayParameter::PrintIn(double internalValue,
                                                     const Scale& scale) const {
    const double shown = scale.Invert(internalValue);
    // Values within half a step of the type (in the shown unit) store the same value; the
    // margins cover the rounding of the conversions and of the estimates.
    const double halfStep = 0.5 * CMC_Value::StepOf(m_type) * std::fabs(scale.Invert(1.0));
    const double noise = std::fabs(shown) * 1e-14;
    numbertext::Tolerance tolerance{halfStep * (1 - 1e-9) - noise, halfStep * (1 + 1e-9) + noise};
    if (!std::isfinite(tolerance.most)) tolerance = {-1.0, kNoLimit};
    return numbertext::FewestDigits(shown, tolerance, [&](double typed) {
        return CMC_Value::RoundToStep(m_type, scale.Apply(typed)) == internalValue;
    });
}

double CMC_ArrayParameter::LowestIU() const { return std::max(m_minIU, CMC_Value::MinOf(m_type)); }

double CMC_ArrayParameter::HighestIU() const { return std::min(m_maxIU, CMC_Value::MaxOf(m_type)); }
