// Controls to model and back, OK, and the handlers of the configuration controls.
#include "host/HostResources.h"
#include "module/dialog/CEditorDlg.h"
#include "module/dialog/resource.h"

namespace {

constexpr const char* kDistinctAxes = "Please select distinct slave axis!";

// Reading refuses a slave the program cannot name, so the combo does not offer it either.
void RemoveSlavesWithoutLetter(CWnd& combo) {
    for (auto i = combo.SendMessage(CB_GETCOUNT) - 1; i >= 0; --i) {
        const auto item = static_cast<WPARAM>(i);
        if (!CInternalData::HasAxisLetter(
                static_cast<int>(combo.SendMessage(CB_GETITEMDATA, item))))
            combo.SendMessage(CB_DELETESTRING, item);
    }
}

}  // namespace

void CEditorDlg::DoDataExchange(CDataExchange* pDX) {
    CMC_EditMotionDlg::DoDataExchange(pDX);
    if (pDX->m_bSaveAndValidate) {
        RunSavePass(pDX);
    } else {
        RunLoadPass();
    }
}

void CEditorDlg::RunLoadPass() {
    ShowConfiguration();
    ShowCurrentSegment();
    EnableSegmentCommands();
    ShowStartEvent();
}

void CEditorDlg::FillProfileCombo() {
    CWnd* profile = GetDlgItem(IDC_PROFILE_TYPE);
    if (!profile) return;
    profile->SendMessage(CB_RESETCONTENT, 0, 0);
    profile->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("2D"));
    profile->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("3D"));
    profile->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(m_Data.m_nProfileType), 0);
}

void CEditorDlg::FillSlaveCombos() {
    const CInternalData& d = m_Data;
    const std::pair<int, int> axes[] = {
        {IDC_SLAVE_X, d.m_nSlaveX}, {IDC_SLAVE_Y, d.m_nSlaveY}, {IDC_SLAVE_Z, d.m_nSlaveZ}};
    for (const auto& [id, slave] : axes) {
        CWnd* combo = GetDlgItem(id);
        if (!combo) continue;
        m_Data.FillSlaveAxisIDsCombo(combo, IsClosedPositionAxis, slave, 0);
        RemoveSlavesWithoutLetter(*combo);
    }
}

// The first load pass fills the profile and slave combo boxes; later ones leave them alone.
void CEditorDlg::ShowConfiguration() {
    const CInternalData& d = m_Data;
    const bool threeAxes = d.m_nProfileType == 1;
    if (!m_bCombosFilled) FillProfileCombo();
    SetChildCheck(IDC_CONFIGURE_MODE, d.m_nConfigureMode);
    EnableChild(IDC_CLEAR_BUFFER, d.m_nConfigureMode);
    SetChildCheck(IDC_CLEAR_BUFFER, d.m_nConfigureMode && d.m_nClearBuffer ? 1 : 0);
    SetChildCheck(IDC_INSERT_END_SEGMENT, d.m_nInsertEndSegment);
    if (!m_bCombosFilled) {
        FillSlaveCombos();
        m_bCombosFilled = TRUE;
    }
    EnableChild(IDC_SLAVE_X, d.m_nConfigureMode);
    EnableChild(IDC_SLAVE_Y, d.m_nConfigureMode);
    ShowChild(IDC_Z_AXIS_LABEL, threeAxes);
    ShowChild(IDC_SLAVE_Z, threeAxes);
    EnableChild(IDC_SLAVE_Z, threeAxes && d.m_nConfigureMode);
}

void CEditorDlg::ShowCurrentSegment() {
    const CInternalData& d = m_Data;
    const bool threeAxes = d.m_nProfileType == 1;
    const int cur = m_nCurrentSegment;
    // An empty table (after importing an empty file) has no current segment to read.
    const bool hasSegment = cur >= 0 && cur < SegmentCount();
    const double a = hasSegment ? d.m_pAcceleration->GetValueInInternalUnit(cur) : 0.0;
    SetChildCheck(IDC_ACCELERATION_CHECK, a > 0);
    ShowParameter(d.m_pAcceleration, cur, IDC_ACCELERATION, IDC_ACCELERATION_UNIT, a > 0, 1);
    const double s = hasSegment ? d.m_pSpeed->GetValueInInternalUnit(cur) : 0.0;
    SetChildCheck(IDC_SPEED_CHECK, s > 0);
    ShowParameter(d.m_pSpeed, cur, IDC_SPEED, IDC_SPEED_UNIT, s > 0, 1);
    ShowParameter(d.m_pPositionX, cur, IDC_POSITION_X, IDC_POSITION_X_UNIT, 1, 1);
    ShowParameter(d.m_pPositionY, cur, IDC_POSITION_Y, IDC_POSITION_Y_UNIT, 1, 1);
    for (int id : {IDC_POSITION_Z_LABEL, IDC_POSITION_Z, IDC_POSITION_Z_UNIT})
        ShowChild(id, threeAxes);
    if (threeAxes) ShowParameter(d.m_pPositionZ, cur, IDC_POSITION_Z, IDC_POSITION_Z_UNIT, 1, 1);
}

void CEditorDlg::EnableSegmentCommands() {
    const int cur = m_nCurrentSegment;
    const int n = SegmentCount();
    EnableChild(IDC_PREVIOUS, cur > 0);
    EnableChild(IDC_NEXT, cur < n - 1);
    EnableChild(IDC_MOVE_UP, cur > 0);
    EnableChild(IDC_MOVE_DOWN, cur < n - 1);
    EnableChild(IDC_REMOVE, n > 1);
}

void CEditorDlg::ShowStartEvent() {
    const CInternalData& d = m_Data;
    CheckRadioButton(IDC_IMMEDIATE, IDC_ON_EVENT, IDC_IMMEDIATE + d.m_nExecute);
    EnableChild(IDC_WAIT_FOR_COMPLETION, d.m_nInsertEndSegment);
    SetChildCheck(IDC_WAIT_FOR_COMPLETION, d.m_nInsertEndSegment && d.m_nWaitForCompletion ? 1 : 0);
    EnableChild(IDC_CHANGE_EVENT, d.m_nExecute == 1);
    EnableChild(IDC_EDIT_EVENT, d.m_nExecute == 1 && d.m_event.IsEditable());
    SetChildText(IDC_EVENT_DESCRIPTION, d.m_nExecute == 1 ? d.m_event.GetDescription(0) : "");
}

void CEditorDlg::FailOn(CDataExchange* pDX, int id, const char* text) {
    pDX->PrepareCtrl(id);
    AfxMessageBox(text, MB_ICONEXCLAMATION, 0);
    pDX->Fail();
}

void CEditorDlg::FailOn(CDataExchange* pDX, int id, UINT stringId) {
    pDX->PrepareCtrl(id);
    AfxMessageBox(stringId, MB_ICONEXCLAMATION, 0xFFFFFFFF);
    pDX->Fail();
}

void CEditorDlg::RunSavePass(CDataExchange* pDX) {
    CInternalData& d = m_Data;
    d.m_nProfileType = GetComboIndex(IDC_PROFILE_TYPE);
    d.m_nConfigureMode = GetChildCheck(IDC_CONFIGURE_MODE);
    if (IsChildEnabled(IDC_CLEAR_BUFFER)) d.m_nClearBuffer = GetChildCheck(IDC_CLEAR_BUFFER);
    d.m_nInsertEndSegment = GetChildCheck(IDC_INSERT_END_SEGMENT);

    if (CWnd* combo = GetDlgItem(IDC_SLAVE_X)) {
        d.m_nSlaveX = d.GetComboSelSlaveAxisID(combo);
        if (m_bValidating && d.m_nSlaveX < 0) FailOn(pDX, IDC_SLAVE_X, IDS_SELECT_SLAVE_AXIS);
    }
    if (CWnd* combo = GetDlgItem(IDC_SLAVE_Y)) {
        d.m_nSlaveY = d.GetComboSelSlaveAxisID(combo);
        if (m_bValidating && d.m_nSlaveY < 0) FailOn(pDX, IDC_SLAVE_Y, IDS_SELECT_SLAVE_AXIS);
    }
    if (CWnd* combo = GetDlgItem(IDC_SLAVE_Z)) {
        d.m_nSlaveZ = d.GetComboSelSlaveAxisID(combo);
        if (d.m_nProfileType == 1 && m_bValidating && d.m_nSlaveZ < 0)
            FailOn(pDX, IDC_SLAVE_Z, IDS_SELECT_SLAVE_AXIS);
    }
    if (m_bValidating) {
        if (d.m_nSlaveY == d.m_nSlaveX) {
            FailOn(pDX, IDC_SLAVE_Y, kDistinctAxes);
        } else if (d.m_nProfileType == 1 &&
                   (d.m_nSlaveZ == d.m_nSlaveX || d.m_nSlaveZ == d.m_nSlaveY)) {
            FailOn(pDX, IDC_SLAVE_Z, kDistinctAxes);
        }
    }
    if (GetChildCheck(IDC_IMMEDIATE)) {
        d.m_nExecute = 0;
    } else if (GetChildCheck(IDC_ON_EVENT)) {
        d.m_nExecute = 1;
    }
    if (IsChildEnabled(IDC_WAIT_FOR_COMPLETION))
        d.m_nWaitForCompletion = GetChildCheck(IDC_WAIT_FOR_COMPLETION);
}

void CEditorDlg::OnOK() {
    if (CWnd* focus = GetFocus()) {
        const int id = focus->GetDlgCtrlID();
        if (id == IDC_POSITION_X) {
            FocusValueEdit(IDC_POSITION_Y);
            return;
        }
        // In the 2D profile the Z edit is hidden: Enter in Y acts as Enter in Z would.
        if (id == IDC_POSITION_Y && m_Data.m_nProfileType == 1) {
            FocusValueEdit(IDC_POSITION_Z);
            return;
        }
        if (id == IDC_POSITION_Y || id == IDC_POSITION_Z) {
            OnInsertBelow();
            return;
        }
    }
    m_bValidating = 1;
    if (UpdateData(TRUE)) {
        const CString message = m_Data.ValidateSegments(&m_nCurrentSegment);
        if (message.IsEmpty()) {
            EndDialog(IDOK);
            m_pParameterText->Empty();
            GetInternalData()->WriteParameters(*m_pParameterText);
        } else {
            AfxMessageBox(message, MB_OK, 0);
            FillSegmentList(TRUE);
        }
    }
    m_bValidating = 0;
}

void CEditorDlg::OnSelConfiguration(int& field) {
    const int before = field;
    UpdateData(TRUE);
    if (field == before) return;
    // While an axis is still unchosen (3D chosen before its Z axis) the axes cannot be probed;
    // re-deriving the units then would strip the columns of their units and carry the values
    // over as another drive's counts. The columns wait for the choice to be complete.
    const bool threeAxes = m_Data.m_nProfileType == 1;
    const bool axisUnchosen =
        m_Data.m_nSlaveX < 0 || m_Data.m_nSlaveY < 0 || (threeAxes && m_Data.m_nSlaveZ < 0);
    if (!axisUnchosen) m_Data.UpdateAxesAndUnits();
    FillSegmentList(TRUE);
}

void CEditorDlg::OnSelProfileType() { OnSelConfiguration(m_Data.m_nProfileType); }
void CEditorDlg::OnSelSlaveX() { OnSelConfiguration(m_Data.m_nSlaveX); }
void CEditorDlg::OnSelSlaveY() { OnSelConfiguration(m_Data.m_nSlaveY); }
void CEditorDlg::OnSelSlaveZ() { OnSelConfiguration(m_Data.m_nSlaveZ); }

void CEditorDlg::OnAccelerationCheck() {
    ShowParameter(m_Data.m_pAcceleration, m_nCurrentSegment, IDC_ACCELERATION,
                  IDC_ACCELERATION_UNIT, GetChildCheck(IDC_ACCELERATION_CHECK) ? 1 : 0, 1);
}

void CEditorDlg::OnSpeedCheck() {
    ShowParameter(m_Data.m_pSpeed, m_nCurrentSegment, IDC_SPEED, IDC_SPEED_UNIT,
                  GetChildCheck(IDC_SPEED_CHECK) ? 1 : 0, 1);
}

void CEditorDlg::OnKillFocusValue() {}

void CEditorDlg::OnSelUnit(CMC_ArrayParameter* column, UINT editId, UINT comboId) {
    const int cur = m_nCurrentSegment;
    const CString printed = cur >= 0 && cur < SegmentCount() ? column->PrintValue(cur) : CString();
    const bool untouched = GetChildText(editId) == printed;
    ChangeParameterUnit(column, cur, untouched ? editId : 0, comboId);
    FillSegmentList(FALSE);
}

void CEditorDlg::OnSelAccelerationUnit() {
    OnSelUnit(m_Data.m_pAcceleration, IDC_ACCELERATION, IDC_ACCELERATION_UNIT);
}
void CEditorDlg::OnSelSpeedUnit() { OnSelUnit(m_Data.m_pSpeed, IDC_SPEED, IDC_SPEED_UNIT); }
void CEditorDlg::OnSelUnitX() {
    OnSelUnit(m_Data.m_pPositionX, IDC_POSITION_X, IDC_POSITION_X_UNIT);
}
void CEditorDlg::OnSelUnitY() {
    OnSelUnit(m_Data.m_pPositionY, IDC_POSITION_Y, IDC_POSITION_Y_UNIT);
}
void CEditorDlg::OnSelUnitZ() {
    OnSelUnit(m_Data.m_pPositionZ, IDC_POSITION_Z, IDC_POSITION_Z_UNIT);
}

void CEditorDlg::OnChangeEvent() {
    UpdateData(TRUE);
    if (m_Data.m_event.ChangeType(0)) UpdateData(FALSE);
}

void CEditorDlg::OnEditEvent() {
    UpdateData(TRUE);
    if (m_Data.m_event.Edit()) UpdateData(FALSE);
}
