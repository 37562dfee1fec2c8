// Base of an element's parameter model: the named-entry operations on the parameter text.
#pragma once

#include <optional>
#include <string_view>

#include "host/CMC_ArrayParameter.h"
#include "host/CString.h"
#include "host/ParameterText.h"

class CMC_Setup;
class CMC_Motion;
class CWnd;

// A filter on slave setups, as FillSlaveAxisIDsCombo takes it: nonzero = list the slave.
using SlaveSetupFilter = int (*)(CMC_Setup* setup);

class CMC_EditMotionInternalData {
  public:
    CMC_EditMotionInternalData(CMC_Setup& setup, CMC_Motion& motion);
    virtual ~CMC_EditMotionInternalData() = default;

    // Reads the element from text; nonzero when error is empty afterwards.
    virtual int ReadParameters(const CString& text, CString& error) = 0;
    // Appends the element's entries to text.
    virtual void WriteParameters(CString& text) = 0;

    // Reads the radio entry name into field when it lies in min..max; returns an error text,
    // empty on success. The field is untouched on error.
    CString ReadRadioParam(const CString& text, const char* name, int& field, int min, int max);
    // As ReadRadioParam, but silent: an absent or bad entry leaves the field untouched.
    void ReadOptionalRadioParam(const CString& text, const char* name, int& field, int min,
                                int max);
    // Appends "name=value".
    void WriteRadioParam(CString& text, const char* name, int value);

    // Reads the array entry prefix+name+suffix with its unit into array (built on the column's
    // setup); returns an error text, empty on success.
    CString ReadArrayDataParam(const CString& text, const char* name, const char* prefix,
                               const char* suffix, CMC_ArrayParameter* array);
    // Reads the array entry arrayName as plain numbers of the given type, ignoring its unit.
    CString ReadNoUnitArrayDataParam(const CString& text, int type, const char* arrayName,
                                     CMC_ArrayParameter* array);
    // Appends "Name[unit]=v1 v2 ..." for the array.
    void WriteArrayDataParam(CString& text, CMC_ArrayParameter* array);
    // Resets the array to no values in the default unit of its setup.
    void InitializeArrayDataParam(CMC_ArrayParameter* array, const char* name, const char* prefix,
                                  const char* suffix);

    // prefix + name + suffix; null parts count as empty.
    static CString GetDataParamName(const char* name, const char* prefix, const char* suffix);
    // The unit of the setup's variable name; with a null setup (or none such) the internal unit
    // of the parameter's quantity.
    static CString GetDefaultUnit(const char* name, const char* prefix, CMC_Setup* setup);

    // Fills combo with the slaves of the controller whose setup passes filter, selecting the
    // slave number selected; the item data is the slave number.
    void FillSlaveAxisIDsCombo(CWnd* combo, SlaveSetupFilter filter, int selected, int flags);
    // The slave number of the selected item, negative when none is selected.
    int GetComboSelSlaveAxisID(CWnd* combo);

  protected:
    // While it lives, the entries read from text are found in one walk of its lines
    // (parametertext::EntryLines); text must stay unchanged meanwhile. Walks do not nest.
    class EntryWalk {
      public:
        EntryWalk(CMC_EditMotionInternalData& data, const CString& text);
        ~EntryWalk();
        EntryWalk(const EntryWalk&) = delete;
        EntryWalk& operator=(const EntryWalk&) = delete;

      private:
        CMC_EditMotionInternalData& m_data;
        bool m_began;
    };
    // The walk under way over text, or null.
    parametertext::EntryLines* WalkOver(const CString& text);
    // The first entry named name in text: from the walk when one is under way over text.
    std::optional<parametertext::Entry> FindEntryIn(const CString& text, std::string_view name);

    CMC_Setup* m_pSetup;
    CMC_Motion* m_pMotion;

  private:
    const CString* m_walkedText = nullptr;
    std::optional<parametertext::EntryLines> m_walk;
};
