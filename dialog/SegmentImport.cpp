// Replacing the segment table with the segments of a text file, one segment a line.
#include <algorithm>
#include <cmath>
#include <string>

#include "dialog/CEditorDlg.h"
#include "dialog/resource.h"
#include "host/NumberText.h"

namespace {

constexpr const char* kImportFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";
constexpr const char* kLineError = "Linear point error: invalid number of parameters!";

// Hands out the lines of a file, each with its LF, reading the file in large blocks.
class LineReader {
  public:
    explicit LineReader(CFile& file) : m_file(file) {}

    // The next line in line; false at the end of the file.
    bool Next(std::string& line) {
        line.clear();
        for (;;) {
            if (m_pos == m_end && !Fill()) return !line.empty();
            const char* start = m_buffer + m_pos;
            const char* stop = m_buffer + m_end;
            const char* lf = std::find(start, stop, '\n');
            const bool complete = lf != stop;
            const char* last = complete ? lf + 1 : stop;
            line.append(start, last);
            m_pos += static_cast<size_t>(last - start);
            if (complete) return true;
        }
    }

  private:
    bool Fill() {
        m_pos = 0;
        m_end = m_file.Read(m_buffer, sizeof(m_buffer));
        return m_end > 0;
    }

    CFile& m_file;
    char m_buffer[1 << 16];
    size_t m_pos = 0;
    size_t m_end = 0;
};

// "nan" scans as a number but holds none: a line with it is as invalid as one with letters, the
// same as in the value edits.
bool HoldsNumbers(int count, const double* values) {
    for (int i = 0; i < count; ++i) {
        if (std::isnan(values[i])) return false;
    }
    return true;
}

}  // namespace

BOOL CEditorDlg::ParseSegmentLine(const char* line, double& x, double& y, double& z,
                                  double& acceleration, double& speed) {
    double v[6] = {0, 0, 0, 0, 0, 0};
    if (m_Data.m_nProfileType == 1) {
        // As sscanf with "%lf %lf %lf %lf %lf  %lf": the sixth number only marks a line invalid.
        const int n = numbertext::ScanNumbers(line, v, 6);
        if (n < 3 || n > 5 || !HoldsNumbers(n, v)) return FALSE;
        x = v[0];
        y = v[1];
        z = v[2];
        acceleration = n >= 4 ? v[3] : 0.0;
        speed = n == 5 ? v[4] : 0.0;
    } else {
        z = 0.0;
        const int n = numbertext::ScanNumbers(line, v, 5);
        if (n < 2 || n > 4 || !HoldsNumbers(n, v)) return FALSE;
        x = v[0];
        y = v[1];
        acceleration = n >= 3 ? v[2] : 0.0;
        speed = n == 4 ? v[3] : 0.0;
    }
    NormalizeValue(*m_Data.m_pPositionX, x);
    NormalizeValue(*m_Data.m_pPositionY, y);
    NormalizeValue(*m_Data.m_pPositionZ, z);
    NormalizeValue(*m_Data.m_pAcceleration, acceleration);
    NormalizeValue(*m_Data.m_pSpeed, speed);
    return TRUE;
}

void CEditorDlg::ApplyRepeatRule(CMC_ArrayParameter& column, int index) {
    // A value equal to the previous segment's is implied: the segment sets none of its own.
    if (index > 0 && column.GetValueInBaseUnit(index - 1) == column.GetValueInBaseUnit(index))
        column.SetValueInInternalUnit(index, 0.0);
}

void CEditorDlg::OnImport() {
    UpdateData(TRUE);
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kImportFilter,
                       this, 0, TRUE);
    if (dialog.DoModal() != IDOK) return;

    bool lineError = false;
    int i = 0;
    try {
        CFile file(dialog.GetPathName(), CFile::modeRead | CFile::shareDenyWrite);
        for (CMC_ArrayParameter* column : m_Data.Columns()) column->SetValuesCount(0);
        LineReader reader(file);
        std::string line;
        while (reader.Next(line)) {
            std::replace(line.begin(), line.end(), ',', '.');
            Segment s;
            if (!ParseSegmentLine(line.c_str(), s[0], s[1], s[2], s[3], s[4])) {
                lineError = true;
                break;
            }
            // The repeat rule reads only its own column, so it may follow all five inserts.
            InsertSegmentValues(i, s);
            ApplyRepeatRule(*m_Data.m_pAcceleration, i);
            ApplyRepeatRule(*m_Data.m_pSpeed, i);
            ++i;
        }
        file.Close();
    } catch (CException& e) {
        e.ReportError();
    }

    if (lineError) {
        AfxMessageBox(kLineError, MB_OK | MB_ICONEXCLAMATION);
        InsertSegmentValues(i, Segment{});
    }
    m_nCurrentSegment = 0;
    FillSegmentList(TRUE);
}
