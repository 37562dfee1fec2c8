// Browsing the segment table and editing it from the value edits.
#include <cmath>
#include <cstdio>
#include <string>

#include "host/CMC_Value.h"
#include "module/dialog/CEditorDlg.h"
#include "module/dialog/resource.h"

void CEditorDlg::NormalizeValue(CMC_ArrayParameter& column, double& value) {
    value = CMC_Value::Represent(column.GetType(), LimitedInInternalUnit(column, value));
    column.IUToUnit(value);
}

double CEditorDlg::LimitedInInternalUnit(const CMC_ArrayParameter& column, double value) {
    if (column.GetMin() > value) {
        value = column.GetMin();
    } else if (value > column.GetMax()) {
        value = column.GetMax();
    }
    column.UnitToIU(value);
    return value;
}

BOOL CEditorDlg::ReadValue(UINT editId, CMC_ArrayParameter& column, double& value) {
    const CString text = GetChildText(editId);
    // Like a typed number: leading blanks skipped, the number's prefix taken, the rest ignored.
    if (std::sscanf(text.GetString(), "%lf", &value) != 1) return FALSE;
    // "nan" scans as a number but holds none.
    if (std::isnan(value)) return FALSE;
    NormalizeValue(column, value);
    return TRUE;
}

BOOL CEditorDlg::ReadPositionX(double& value) {
    return ReadValue(IDC_POSITION_X, *m_Data.m_pPositionX, value);
}

BOOL CEditorDlg::ReadPositionY(double& value) {
    return ReadValue(IDC_POSITION_Y, *m_Data.m_pPositionY, value);
}

BOOL CEditorDlg::ReadPositionZ(double& value) {
    if (m_Data.m_nProfileType != 1) {
        value = 0.0;
        return TRUE;
    }
    return ReadValue(IDC_POSITION_Z, *m_Data.m_pPositionZ, value);
}

BOOL CEditorDlg::ReadAcceleration(double& value) {
    if (!GetChildCheck(IDC_ACCELERATION_CHECK)) {
        value = 0.0;
        return TRUE;
    }
    return ReadValue(IDC_ACCELERATION, *m_Data.m_pAcceleration, value);
}

BOOL CEditorDlg::ReadSpeed(double& value) {
    if (!GetChildCheck(IDC_SPEED_CHECK)) {
        value = 0.0;
        return TRUE;
    }
    return ReadValue(IDC_SPEED, *m_Data.m_pSpeed, value);
}

BOOL CEditorDlg::ReadSegment(Segment& segment) {
    return ReadPositionX(segment[0]) && ReadPositionY(segment[1]) && ReadPositionZ(segment[2]) &&
           ReadAcceleration(segment[3]) && ReadSpeed(segment[4]);
}

void CEditorDlg::InsertSegmentValues(int index, const Segment& segment) {
    const auto columns = m_Data.Columns();
    for (size_t k = 0; k < columns.size(); ++k) columns[k]->InsertValueAt(index, segment[k]);
}

void CEditorDlg::InsertSegment(int index, const Segment& segment) {
    InsertSegmentValues(index, segment);
    if (CWnd* list = GetDlgItem(IDC_SEGMENT_LIST)) InsertSegmentRow(list, index);
}

void CEditorDlg::EndCommand() {
    SelectCurrentSegment(TRUE);
    FocusValueEdit(IDC_POSITION_X);
}

void CEditorDlg::OnPrevious() {
    UpdateData(TRUE);
    --m_nCurrentSegment;
    EndCommand();
}

void CEditorDlg::OnNext() {
    UpdateData(TRUE);
    ++m_nCurrentSegment;
    EndCommand();
}

void CEditorDlg::OnSelChangeSegmentList() {
    UpdateData(TRUE);
    if (CWnd* list = GetDlgItem(IDC_SEGMENT_LIST)) {
        const auto selected = static_cast<int>(list->SendMessage(LB_GETCURSEL, 0, 0));
        m_nCurrentSegment = selected < 0 ? 0 : selected;
    }
    EndCommand();
}

void CEditorDlg::OnInsertAbove() {
    UpdateData(TRUE);
    Segment segment{};
    if (!ReadSegment(segment)) return;
    // An empty table has no current segment (-1): the new one becomes segment 0.
    if (m_nCurrentSegment < 0) m_nCurrentSegment = 0;
    InsertSegment(m_nCurrentSegment, segment);
    EndCommand();
}

void CEditorDlg::OnInsertBelow() {
    UpdateData(TRUE);
    Segment segment{};
    if (!ReadSegment(segment)) return;
    ++m_nCurrentSegment;
    InsertSegment(m_nCurrentSegment, segment);
    EndCommand();
}

void CEditorDlg::OnUpdateSegment() {
    UpdateData(TRUE);
    Segment segment{};
    if (!ReadSegment(segment)) return;
    // An empty table has no segment to overwrite.
    if (m_nCurrentSegment < 0 || m_nCurrentSegment >= SegmentCount()) {
        EndCommand();
        return;
    }
    const int cur = m_nCurrentSegment;
    const auto columns = m_Data.Columns();
    for (size_t k = 0; k < columns.size(); ++k) columns[k]->SetValue(cur, segment[k]);
    if (CWnd* list = GetDlgItem(IDC_SEGMENT_LIST)) {
        list->SendMessage(LB_DELETESTRING, static_cast<WPARAM>(cur), 0);
        InsertSegmentRow(list, cur);
    }
    EndCommand();
}

// The stored values move unchanged, each with the text it was read with, so that a moved
// segment saves as it was written.
void CEditorDlg::SwapSegments(int a, int b) {
    for (CMC_ArrayParameter* column : m_Data.Columns()) column->SwapValues(a, b);
}

void CEditorDlg::MoveRow(int from, int to) {
    CWnd* list = GetDlgItem(IDC_SEGMENT_LIST);
    if (!list) return;
    const auto length = list->SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(from), 0);
    if (length < 0) return;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    list->SendMessage(LB_GETTEXT, static_cast<WPARAM>(from), reinterpret_cast<LPARAM>(text.data()));
    list->SendMessage(LB_DELETESTRING, static_cast<WPARAM>(from), 0);
    list->SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(to),
                      reinterpret_cast<LPARAM>(text.c_str()));
}

void CEditorDlg::OnMoveUp() {
    UpdateData(TRUE);
    const int cur = m_nCurrentSegment;
    if (cur < 1 || cur >= SegmentCount()) return;  // the button is disabled there
    SwapSegments(cur, cur - 1);
    MoveRow(cur, cur - 1);
    m_nCurrentSegment = cur - 1;
    EndCommand();
}

void CEditorDlg::OnMoveDown() {
    UpdateData(TRUE);
    const int cur = m_nCurrentSegment;
    if (cur < 0 || cur >= SegmentCount() - 1) return;  // the button is disabled there
    SwapSegments(cur, cur + 1);
    MoveRow(cur, cur + 1);
    m_nCurrentSegment = cur + 1;
    EndCommand();
}

void CEditorDlg::OnRemove() {
    UpdateData(TRUE);
    const int cur = m_nCurrentSegment;
    // The button is disabled for the last segment: editing never empties the table.
    if (cur < 0 || cur >= SegmentCount() || SegmentCount() < 2) return;
    for (CMC_ArrayParameter* column : m_Data.Columns()) column->RemoveValueAt(cur, 1);
    if (CWnd* list = GetDlgItem(IDC_SEGMENT_LIST))
        list->SendMessage(LB_DELETESTRING, static_cast<WPARAM>(cur), 0);
    if (m_nCurrentSegment == SegmentCount()) --m_nCurrentSegment;
    EndCommand();
}
