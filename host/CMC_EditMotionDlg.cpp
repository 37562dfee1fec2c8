#include "host/CMC_EditMotionDlg.h"

#include "host/CMC_ArrayParameter.h"
#include "host/CMC_Setup.h"

namespace {
// The host's ids of the update button and of the command it stands for.
constexpr WORD kUpdateButton = 1001;
constexpr WORD kUpdateSegmentCommand = 10041;
}  // namespace

BEGIN_MESSAGE_MAP(CMC_EditMotionDlg, CDialog)
END_MESSAGE_MAP()

CMC_EditMotionDlg::CMC_EditMotionDlg(CMC_Setup& setup, CMC_Motion& motion, CString& parameterText,
                                     UINT templateId, CWnd* parent)
    : CDialog(templateId, parent),
      m_pSetup(&setup),
      m_pMotion(&motion),
      m_bValidating(0),
      m_pParameterText(&parameterText) {}

CMC_EditMotionInternalData* CMC_EditMotionDlg::GetInternalData() { return nullptr; }

BOOL CMC_EditMotionDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kUpdateButton) {
        return CDialog::OnCommand(MAKEWPARAM(kUpdateSegmentCommand, 0), lParam);
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CMC_EditMotionDlg::EnableChild(UINT id, BOOL enable) {
    if (CWnd* child = GetDlgItem(static_cast<int>(id))) child->EnableWindow(enable ? TRUE : FALSE);
}

BOOL CMC_EditMotionDlg::IsChildEnabled(UINT id) {
    CWnd* child = GetDlgItem(static_cast<int>(id));
    return child && child->IsWindowEnabled() ? TRUE : FALSE;
}

void CMC_EditMotionDlg::ShowChild(UINT id, BOOL show) {
    if (CWnd* child = GetDlgItem(static_cast<int>(id))) child->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CMC_EditMotionDlg::SetChildText(UINT id, const char* text) {
    if (CWnd* child = GetDlgItem(static_cast<int>(id))) child->SetWindowText(text);
}

CString CMC_EditMotionDlg::GetChildText(UINT id) {
    CString text;
    if (CWnd* child = GetDlgItem(static_cast<int>(id))) child->GetWindowText(text.str());
    return text;
}

void CMC_EditMotionDlg::SetChildCheck(UINT id, int check) {
    CWnd* child = GetDlgItem(static_cast<int>(id));
    if (child) child->SendMessage(BM_SETCHECK, check ? BST_CHECKED : BST_UNCHECKED);
}

int CMC_EditMotionDlg::GetChildCheck(UINT id) {
    CWnd* child = GetDlgItem(static_cast<int>(id));
    return child ? static_cast<int>(child->SendMessage(BM_GETCHECK)) : 0;
}

int CMC_EditMotionDlg::GetComboIndex(UINT id) {
    CWnd* child = GetDlgItem(static_cast<int>(id));
    return child ? static_cast<int>(child->SendMessage(CB_GETCURSEL)) : -1;
}

CString CMC_EditMotionDlg::ValueText(const CMC_ArrayParameter& array, int index) {
    bool exists = index >= 0 && index < array.GetValuesCount();
    return exists ? array.PrintValue(index) : CString();
}

// The units of the array's setup that the selected unit converts to; just the selected unit
// when there are none (nothing for no unit).
void CMC_EditMotionDlg::FillUnitCombo(CWnd& combo, const CMC_ArrayParameter& array) {
    const CString& selected = array.GetSelectedUnit();
    combo.SendMessage(CB_RESETCONTENT);
    std::vector<CString> names;
    if (CMC_Setup* setup = array.GetSetup()) {
        for (const CMC_Unit* unit : setup->GetUnits().GetCompatibleUnits(selected)) {
            names.push_back(unit->GetUnitName());
        }
    }
    bool listed = false;
    for (const CString& name : names) listed |= name == selected;
    if (!listed && !selected.IsEmpty()) names.push_back(selected);
    for (const CString& name : names) {
        auto index = combo.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.GetString()));
        if (name == selected) combo.SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index));
    }
}

void CMC_EditMotionDlg::ShowParameter(CMC_ArrayParameter* array, int index, UINT editId,
                                      UINT unitComboId, BOOL inUse, int flags) {
    if (array == nullptr) return;
    CWnd* edit = GetDlgItem(static_cast<int>(editId));
    CWnd* combo = GetDlgItem(static_cast<int>(unitComboId));
    if (edit) {
        edit->SetWindowText(ValueText(*array, index));
        edit->EnableWindow(inUse ? TRUE : FALSE);
    }
    if (combo) {
        if (flags & SHOW_PARAMETER_UNITS) FillUnitCombo(*combo, *array);
        combo->EnableWindow(inUse ? TRUE : FALSE);
    }
}

void CMC_EditMotionDlg::ChangeParameterUnit(CMC_ArrayParameter* array, int index, UINT editId,
                                            UINT unitComboId) {
    CWnd* combo = GetDlgItem(static_cast<int>(unitComboId));
    if (array == nullptr || combo == nullptr) return;
    auto chosen = combo->SendMessage(CB_GETCURSEL);
    if (chosen < 0) return;
    std::string unit(
        static_cast<size_t>(combo->SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(chosen))),
        '\0');
    combo->SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(chosen),
                       reinterpret_cast<LPARAM>(unit.data()));
    if (!array->ChangeUnit(unit.c_str())) {
        FillUnitCombo(*combo, *array);
        return;
    }
    if (editId != 0) SetChildText(editId, ValueText(*array, index));
}
