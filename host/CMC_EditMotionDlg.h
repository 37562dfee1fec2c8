// The host's base of element editor dialogs: operations on child controls by id, and the
// display of an array parameter's value with the units it can be shown in.
#pragma once

#include "host/CString.h"
#include "platform/AfxWin.h"

class CMC_ArrayParameter;
class CMC_EditMotionInternalData;
class CMC_Motion;
class CMC_Setup;

// ShowParameter flag: also list the array's units in the unit combo box.
constexpr int SHOW_PARAMETER_UNITS = 1;

class CMC_EditMotionDlg : public CDialog {
  public:
    CMC_EditMotionDlg(CMC_Setup& setup, CMC_Motion& motion, CString& parameterText, UINT templateId,
                      CWnd* parent);

    // The element's model, provided by the derived dialog; null here.
    virtual CMC_EditMotionInternalData* GetInternalData();

    // The "&Update" button (1001) sends the update command (10041, code 0) in place of its
    // click; everything else goes to the dialog's message map.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // Operations on a child control by id; a missing control is skipped (reads give 0, an
    // empty text, or -1 for the combo index).
    void EnableChild(UINT id, BOOL enable);
    BOOL IsChildEnabled(UINT id);
    void ShowChild(UINT id, BOOL show);
    void SetChildText(UINT id, const char* text);
    CString GetChildText(UINT id);
    void SetChildCheck(UINT id, int check);
    int GetChildCheck(UINT id);
    // The selected item of a combo box, -1 when none is selected.
    int GetComboIndex(UINT id);

    // Shows value index of array in the edit (empty when index is out of range) in the
    // array's selected unit. With SHOW_PARAMETER_UNITS the unit combo lists the units the
    // value can be shown in, the selected one selected. A pair that is not in use is disabled.
    void ShowParameter(CMC_ArrayParameter* array, int index, UINT editId, UINT unitComboId,
                       BOOL inUse, int flags);
    // Makes the unit chosen in the unit combo the array's selected unit (a unit the array
    // refuses is deselected back to the old one); with a nonzero editId the edit shows value
    // index in the new unit.
    void ChangeParameterUnit(CMC_ArrayParameter* array, int index, UINT editId, UINT unitComboId);

  protected:
    CMC_Setup* m_pSetup;
    CMC_Motion* m_pMotion;
    BOOL m_bValidating;         // 1 while OK validates
    CString* m_pParameterText;  // the host's parameter text, rewritten on OK

    DECLARE_MESSAGE_MAP()

  private:
    void FillUnitCombo(CWnd& combo, const CMC_ArrayParameter& array);
    static CString ValueText(const CMC_ArrayParameter& array, int index);
};
