// A named list of values of one variable type with a selected unit, held in internal units.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "base/GapVector.h"
#include "base/numbertext/FewestDigits.h"
#include "host/CString.h"
#include "host/ReadTexts.h"
#include "host/ShownTextCache.h"

class CMC_Setup;
class CMC_Units;

// Passed as both limits, marks a limit as unset: the type's range applies.
constexpr double MC_UNSET_LIMIT = 1.2345e100;

class CMC_ArrayParameter {
  public:
    explicit CMC_ArrayParameter(CMC_Setup* setup);
    virtual ~CMC_ArrayParameter() = default;

    // Sets type, name and selected unit, reads the blank-separated values of text (in unit) and
    // sets the limits (in unit; MC_UNSET_LIMIT = the type's range). FALSE when the unit is not
    // known to the setup or a value is not a number; the array then holds the values before it.
    BOOL InitializeMotionParam(int type, const char* name, const char* unit, const char* text,
                               double min, double max);
    // Like InitializeMotionParam but describes what went wrong in error (empty on success).
    BOOL InitializeMotionParam(int type, const char* name, const char* unit, const char* text,
                               double min, double max, CString& error);
    // The same for a text that need not end in a zero byte, such as a part of a longer text.
    BOOL InitializeMotionParam(int type, const char* name, const char* unit, std::string_view text,
                               double min, double max, CString& error);

    const CString& GetName() const { return m_name; }
    // The selected unit's name ("" for none).
    const CString& GetUnitName() const { return m_unit; }
    const CString& GetSelectedUnit() const { return m_unit; }
    // Selects another unit of the same family; the values keep their meaning. FALSE if it cannot.
    // No unit ("") and an internal unit both show the internal numbers, so either may replace
    // the other.
    BOOL ChangeUnit(const char* unit);
    // Gives the array another name and type; the values are kept as the new type holds them.
    void SetNameAndType(int type, const char* name);
    CMC_Setup* GetSetup() const { return m_pSetup; }
    // The units of the array's setup; without a setup, those of no drive.
    const CMC_Units& GetUnits() const;
    int GetType() const { return m_type; }

    int GetValuesCount() const { return static_cast<int>(m_values.size()); }
    // Shortens, or lengthens with zeros.
    void SetValuesCount(int count);
    // Room for count values in all, so that appending up to that many moves none of them.
    void ReserveValues(int count) {
        if (count > 0) m_values.reserve(static_cast<size_t>(count));
    }
    // Places value (in the selected unit) at index; index == count appends.
    void InsertValueAt(int index, double value);
    // The same for a value in internal units.
    void InsertValueInInternalUnit(int index, double value);
    void RemoveValueAt(int index, int count);
    // Values a and b change places, each with the text it was read with.
    void SwapValues(int a, int b);
    // Replaces value index with value, in the selected unit.
    void SetValue(int index, double value);
    // Value index in the selected unit.
    double GetValue(int index) const;

    // Indexes outside the array read as 0 and are not written.
    double GetValueInInternalUnit(int index) const {
        return IsValid(index) ? m_values[static_cast<size_t>(index)] : 0.0;
    }
    void SetValueInInternalUnit(int index, double value);
    // Replaces every value with valueAt(i) in internal units, for i below count; none keeps a
    // read text. One pass, for a column made whole.
    template <class ValueAt>
    void AssignValuesInInternalUnit(size_t count, ValueAt valueAt) {
        m_values.clear();
        m_values.resize(count, 0.0);
        for (size_t i = 0; i < count; ++i) m_values[i] = Represent(valueAt(i));
        m_readTexts.Resize(0);
        m_readTexts.Resize(count);
        m_shownTexts.Clear();
    }
    double GetValueInBaseUnit(int index) const {
        return m_toBase.Apply(GetValueInInternalUnit(index));
    }

    // Limits in the selected unit.
    double GetMin() const { return m_shownMin; }
    double GetMax() const { return m_shownMax; }
    void SetMinInInternalUnit(double min);
    void SetMaxInInternalUnit(double max);

    // Convert value in place between the selected unit and internal units.
    BOOL UnitToIU(double& value) const {
        value = m_toIU.Apply(value);
        return TRUE;
    }
    BOOL IUToUnit(double& value) const {
        value = m_toIU.Invert(value);
        return TRUE;
    }

    // Short display text in the selected unit that, typed back, stores the same value.
    CString PrintValue(int index) const;
    // The value as a motion-language literal: 4000L for 32-bit integers, the shortest
    // decimal that reads back to the same fixed-point value.
    CString PrintValueForZRL(int index) const;
    // The same texts in a buffer, for long lists.
    numbertext::NumberBuffer ValueText(int index) const;
    numbertext::NumberBuffer LiteralText(int index) const;
    // ValueText(), for a list that shows every value before it is saved. A value that the save
    // cannot write from its read text keeps its text until the value, the unit or the type
    // changes, and SaveData and AppendData write what was kept instead of formatting it again;
    // any value's text is remembered by the value, for the next value that is the same.
    numbertext::NumberBuffer KeptValueText(int index) const;
    // Replaces text with the values, blank-separated in the selected unit, so that
    // InitializeMotionParam with the same type and unit reads them back exactly. A value still
    // holding the count it was read with keeps the text it was read with (the whole list as read
    // when no value changed); any other is written as PrintValue shows it.
    void SaveData(CString& text) const;
    // Forgets the texts the values were read with, which only a save uses: a caller that
    // never saves (a translation) spares their memory, a copy of the element's columns.
    void ForgetReadTexts();
    // As SaveData, but appends to text.
    void AppendData(CString& text) const;

  private:
    static constexpr double kNoLimit = std::numeric_limits<double>::infinity();
    // Steps of whole types are shown from their digits (numbertext::DecimalStepOf): a micrometre
    // is 1 * 10^-3 mm, 2.5 um 25 * 10^-4 mm, 1/1024 mm 9765625 * 10^-10 mm.

    // Converts between two units as v * from / to (the identity when both are 1).
    struct Scale {
        double from = 1.0;
        double to = 1.0;
        double Apply(double v) const { return v * from / to; }
        double Invert(double v) const { return v * to / from; }
    };

    // What the type stores for internalValue; a plain double is kept finite.
    double Represent(double internalValue) const;
    void AppendSaveText(std::string& out, size_t index) const;
    // Writes the display text of an internal value in the selected unit into text.
    void ShowInto(double internalValue, numbertext::NumberBuffer& text) const;
    // The same, remembered for the next value that is the same.
    void RecallInto(double internalValue, numbertext::NumberBuffer& text) const;
    // The text of a count of the column's decimal step, from its digits; false where the
    // fewest-digit search must find it.
    bool CountText(double internalValue, numbertext::NumberBuffer& text) const;
    // Whether the save writes whole numbers or shortest texts, never the shown texts.
    bool SavesWholeOrShortest() const;
    numbertext::NumberBuffer PrintIn(double internalValue, const Scale& scale) const;
    double LowestIU() const;
    double HighestIU() const;
    bool IsValid(int index) const { return index >= 0 && index < GetValuesCount(); }
    void AdoptState(CMC_ArrayParameter& next);
    bool ScalesFor(const char* unit, Scale& toIU, Scale& toBase) const;
    // Keeps GetMin(), GetMax() and the decimal step in step with the limits, the type and the
    // unit.
    void UpdateShownForms();

    CMC_Setup* m_pSetup;
    int m_type = 0;
    CString m_name;
    CString m_unit;
    double m_minIU = -kNoLimit;  // an unset limit is infinite, so the type's range applies
    double m_maxIU = kNoLimit;
    Scale m_toIU;             // selected unit -> internal unit
    Scale m_toBase;           // internal unit -> the selected unit's base unit
    double m_shownMin = 0.0;  // the limits in the selected unit
    double m_shownMax = 0.0;
    // A count of a whole type is m_stepDigits * 10^m_stepPower units (0: no such decimal).
    unsigned m_stepDigits = 0;
    int m_stepPower = 0;
    GapVector<double> m_values;           // internal units, as the type represents them
    ReadTexts m_readTexts;                // the texts the values were read with
    mutable ShownTextCache m_shownTexts;  // what KeptValueText() made of m_values
};
