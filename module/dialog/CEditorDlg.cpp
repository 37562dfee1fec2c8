// The editor's frame: construction, the message map, the segment list and its header.
#include "module/dialog/CEditorDlg.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "base/numbertext/Layout.h"
#include "module/dialog/resource.h"
#include "module/plugin/VantrelExports.h"

namespace {

// Cell widths of the list's columns: X, Y, Z, acceleration, speed.
constexpr size_t kPositionWidth = 11;
constexpr size_t kAccelerationWidth = 15;
constexpr size_t kSpeedWidth = 13;
// A row of three axes whose cells are not overflowed, with the blanks between the cells.
constexpr size_t kRowWidth = 3 * (kPositionWidth + 1) + kAccelerationWidth + 1 + kSpeedWidth;

constexpr const char* kReadProblemsIntro = "The element could not be read as it stands:";
constexpr const char* kReadProblemsOutro =
    "The dialog shows what could be read; OK writes what it shows.";

// A line of the list or its header, written in place: the texts of its cells are a few
// characters each, and a long list is made of a million of them.
class ListLine {
  public:
    // Appends text right-aligned in a cell of width characters; a longer text overflows it.
    // No number's text is longer than kLongestText; a header's units are far shorter, and a
    // text beyond that is cut so that the line's storage holds every cell.
    void AddCell(size_t width, std::string_view text) {
        text = text.substr(0, kLongestText);
        if (m_size != 0) m_text[m_size++] = ' ';
        // Blanks for the widest cell in one store; the text is written over them.
        std::memset(m_text + m_size, ' ', kWidestCell);
        m_size += text.size() < width ? width - text.size() : 0;
        if (text.empty()) return;
        std::memcpy(m_text + m_size, text.data(), text.size());
        m_size += text.size();
    }
    const char* CStr() {
        m_text[m_size] = '\0';
        return m_text;
    }

  private:
    static constexpr size_t kLongestText = sizeof(numbertext::NumberBuffer::data);
    static constexpr size_t kWidestCell = 16;
    static_assert(kPositionWidth <= kWidestCell && kAccelerationWidth <= kWidestCell &&
                  kSpeedWidth <= kWidestCell);
    // Five cells, each at most the longest text, the blanks between them and room for the
    // blanks of the widest cell after the last.
    char m_text[5 * (kLongestText + 1) + kWidestCell];
    size_t m_size = 0;
};

// A segment without an acceleration or speed of its own shows an empty cell.
void AddDynamicsCell(ListLine& row, size_t width, const CMC_ArrayParameter& column, int index) {
    const bool own = column.GetValueInInternalUnit(index) != 0.0;
    row.AddCell(width, own ? column.KeptValueText(index).View() : std::string_view());
}

}  // namespace

BEGIN_MESSAGE_MAP(CEditorDlg, CMC_EditMotionDlg)
ON_BN_CLICKED(IDC_PREVIOUS, &CEditorDlg::OnPrevious)
ON_BN_CLICKED(IDC_NEXT, &CEditorDlg::OnNext)
ON_LBN_SELCHANGE(IDC_SEGMENT_LIST, &CEditorDlg::OnSelChangeSegmentList)
ON_BN_CLICKED(IDC_MOVE_UP, &CEditorDlg::OnMoveUp)
ON_BN_CLICKED(IDC_MOVE_DOWN, &CEditorDlg::OnMoveDown)
ON_BN_CLICKED(IDC_INSERT_ABOVE, &CEditorDlg::OnInsertAbove)
ON_BN_CLICKED(IDC_INSERT_BELOW, &CEditorDlg::OnInsertBelow)
ON_BN_CLICKED(ID_UPDATE_SEGMENT, &CEditorDlg::OnUpdateSegment)
ON_BN_CLICKED(IDC_REMOVE, &CEditorDlg::OnRemove)
ON_BN_CLICKED(IDC_IMPORT, &CEditorDlg::OnImport)
ON_CBN_SELENDOK(IDC_PROFILE_TYPE, &CEditorDlg::OnSelProfileType)
ON_CBN_SELENDOK(IDC_SLAVE_X, &CEditorDlg::OnSelSlaveX)
ON_CBN_SELENDOK(IDC_SLAVE_Y, &CEditorDlg::OnSelSlaveY)
ON_CBN_SELENDOK(IDC_SLAVE_Z, &CEditorDlg::OnSelSlaveZ)
ON_BN_CLICKED(IDC_ACCELERATION_CHECK, &CEditorDlg::OnAccelerationCheck)
ON_BN_CLICKED(IDC_SPEED_CHECK, &CEditorDlg::OnSpeedCheck)
ON_EN_KILLFOCUS(IDC_ACCELERATION, &CEditorDlg::OnKillFocusValue)
ON_EN_KILLFOCUS(IDC_SPEED, &CEditorDlg::OnKillFocusValue)
ON_EN_KILLFOCUS(IDC_POSITION_X, &CEditorDlg::OnKillFocusValue)
ON_EN_KILLFOCUS(IDC_POSITION_Y, &CEditorDlg::OnKillFocusValue)
ON_EN_KILLFOCUS(IDC_POSITION_Z, &CEditorDlg::OnKillFocusValue)
ON_CBN_SELENDOK(IDC_ACCELERATION_UNIT, &CEditorDlg::OnSelAccelerationUnit)
ON_CBN_SELENDOK(IDC_SPEED_UNIT, &CEditorDlg::OnSelSpeedUnit)
ON_CBN_SELENDOK(IDC_POSITION_X_UNIT, &CEditorDlg::OnSelUnitX)
ON_CBN_SELENDOK(IDC_POSITION_Y_UNIT, &CEditorDlg::OnSelUnitY)
ON_CBN_SELENDOK(IDC_POSITION_Z_UNIT, &CEditorDlg::OnSelUnitZ)
ON_BN_CLICKED(IDC_CHANGE_EVENT, &CEditorDlg::OnChangeEvent)
ON_BN_CLICKED(IDC_EDIT_EVENT, &CEditorDlg::OnEditEvent)
ON_BN_CLICKED(ID_DEFAULT_HELP, &CEditorDlg::OnHelp)
END_MESSAGE_MAP()

CEditorDlg::CEditorDlg(CMC_Setup& setup, CMC_Motion& motion, CString& parameterText, CWnd* parent)
    : CMC_EditMotionDlg(setup, motion, parameterText, IDD_LINEAR_INTERPOLATION, parent),
      m_bCombosFilled(FALSE),
      m_Data(setup, motion),
      m_nCurrentSegment(0) {
    // The dialog opens with whatever the text holds. What could not be read is shown before
    // the dialog is used (an entry that is lost would otherwise be written back silently);
    // the segments are validated on OK.
    m_readProblems = m_Data.ReadEntries(parameterText);
    m_nCurrentSegment = 0;
    m_bCombosFilled = FALSE;
    m_Data.SynchronizeSegmentCounts();
}

CEditorDlg::~CEditorDlg() = default;

CMC_EditMotionInternalData* CEditorDlg::GetInternalData() { return &m_Data; }

int CEditorDlg::SegmentCount() const { return m_Data.m_pPositionX->GetValuesCount(); }

BOOL CEditorDlg::OnInitDialog() {
    m_nCurrentSegment = 0;
    CDialog::OnInitDialog();

    LOGFONT font{};
    HDC dc = GetDC(this);
    font.lfHeight = -MulDiv(6, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(this, dc);
    std::strncpy(font.lfFaceName, "Courier", sizeof(font.lfFaceName) - 1);
    m_ListFont.CreateFontIndirect(&font);
    for (int id : {IDC_LIST_HEADER, IDC_SEGMENT_LIST}) {
        if (CWnd* control = GetDlgItem(id))
            control->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_ListFont.GetSafeHandle()),
                                 TRUE);
    }

    FillSegmentList(TRUE);
    FocusValueEdit(IDC_POSITION_X);
    WarnOfReadProblems();
    return TRUE;
}

void CEditorDlg::WarnOfReadProblems() {
    if (m_readProblems.IsEmpty()) return;
    std::string problems = m_readProblems.str();
    problems.erase(std::remove(problems.begin(), problems.end(), '\r'), problems.end());
    while (!problems.empty() && problems.back() == '\n') problems.pop_back();
    const std::string text =
        std::string(kReadProblemsIntro) + "\n" + problems + "\n" + kReadProblemsOutro;
    AfxMessageBox(text.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

// The values' texts are kept as the rows show them, so that OK saves them without formatting
// every value again.
void CEditorDlg::InsertSegmentRow(CWnd* list, int index) {
    ListLine row;
    row.AddCell(kPositionWidth, m_Data.m_pPositionX->KeptValueText(index).View());
    row.AddCell(kPositionWidth, m_Data.m_pPositionY->KeptValueText(index).View());
    if (m_Data.m_nProfileType == 1)
        row.AddCell(kPositionWidth, m_Data.m_pPositionZ->KeptValueText(index).View());
    AddDynamicsCell(row, kAccelerationWidth, *m_Data.m_pAcceleration, index);
    AddDynamicsCell(row, kSpeedWidth, *m_Data.m_pSpeed, index);
    list->SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(row.CStr()));
}

CString CEditorDlg::HeaderText() const {
    auto cell = [](const char* label, const CMC_ArrayParameter* column) {
        CString text;
        text.Format("%s[%s]", label, column->GetSelectedUnit().GetString());
        return text;
    };
    ListLine header;
    header.AddCell(kPositionWidth, cell("X", m_Data.m_pPositionX).str());
    header.AddCell(kPositionWidth, cell("Y", m_Data.m_pPositionY).str());
    if (m_Data.m_nProfileType == 1)
        header.AddCell(kPositionWidth, cell("Z", m_Data.m_pPositionZ).str());
    header.AddCell(kAccelerationWidth, cell("Accel", m_Data.m_pAcceleration).str());
    header.AddCell(kSpeedWidth, cell("Speed", m_Data.m_pSpeed).str());
    return header.CStr();
}

// A long list is filled into storage made for it at once.
void CEditorDlg::FillSegmentList(BOOL updateControls) {
    const int count = SegmentCount();
    SetChildText(IDC_LIST_HEADER, HeaderText());
    if (CWnd* list = GetDlgItem(IDC_SEGMENT_LIST)) {
        list->SendMessage(LB_RESETCONTENT, 0, 0);
        list->SendMessage(LB_INITSTORAGE, static_cast<WPARAM>(std::max(count, 0)),
                          static_cast<LPARAM>(std::max(count, 0)) * static_cast<LPARAM>(kRowWidth));
        for (int i = 0; i < count; ++i) InsertSegmentRow(list, i);
    }
    SelectCurrentSegment(updateControls);
}

void CEditorDlg::SelectCurrentSegment(BOOL updateControls) {
    const int count = SegmentCount();
    if (m_nCurrentSegment >= count) {
        m_nCurrentSegment = count - 1;  // -1 only while the table is empty
    } else if (m_nCurrentSegment < 0) {
        m_nCurrentSegment = 0;
    }
    if (CWnd* list = GetDlgItem(IDC_SEGMENT_LIST))
        list->SendMessage(LB_SETCURSEL, static_cast<WPARAM>(m_nCurrentSegment), 0);
    if (updateControls) UpdateData(FALSE);
}

void CEditorDlg::FocusValueEdit(UINT id) {
    CWnd* edit = GetDlgItem(static_cast<int>(id));
    if (!edit) return;
    edit->SetFocus();
    edit->SendMessage(EM_SETSEL, 0, -1);
    edit->SendMessage(EM_SCROLLCARET, 0, 0);
}

int EditMotionSequence(CMC_Setup& setup, CMC_Motion& motion, CString& text) {
    CEditorDlg dialog(setup, motion, text, nullptr);
    return dialog.DoModal() == IDOK ? 1 : 0;
}
