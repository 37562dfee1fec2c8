// Replacing the segment table with the segments of a text file, one segment a line.
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "base/ByteScan.h"
#include "base/EscapedText.h"
#include "base/TextLines.h"
#include "base/numbertext/Scan.h"
#include "module/dialog/CEditorDlg.h"
#include "module/dialog/resource.h"

namespace {

constexpr const char* kImportFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";
constexpr const char* kLineError = "Linear point error: invalid number of parameters!";
// A segment line holds a few numbers: a longer one is no segment file (a binary or sparse file).
constexpr size_t kMaxLineLength = 64 * 1024;
// Ten times the longest paths in use; an endless pipe stops here instead of filling the memory.
constexpr int kMaxLines = 10000000;

// A segment file refused as a whole: the table is put back as it was before the import.
class ImportRefused : public CException {
  public:
    ImportRefused(const std::string& path, const std::string& reason)
        : m_message("Cannot import " + QuotedName(path) + ": " + reason + ".") {}
    BOOL GetErrorMessage(std::string& message) const override {
        message = m_message;
        return TRUE;
    }

  private:
    std::string m_message;
};

// Segments come from a regular file or a pipe; a device or socket could block or never end.
// True for a pipe. A path that cannot be examined is left to the opening to report.
bool CheckImportable(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode)) return false;
    if (S_ISFIFO(info.st_mode)) return true;
    if (S_ISDIR(info.st_mode)) throw ImportRefused(path, "it is a folder");
    throw ImportRefused(path, "it is not a regular file or a pipe");
}

// The lines of a regular file that hold something, counted ahead so that the columns are made
// once at their size: grown value by value, they would be copied into fresh memory a dozen
// times. A line ends at LF, CR LF or a lone CR; an empty line is not counted, so a file of
// blank lines reserves nothing. Only a hint: a file that changes meanwhile is read as it is.
int LinesAhead(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<char> block(1 << 20);
    long long lines = 0;
    bool afterEnd = true;  // no character of a line read since its last end
    while (file && lines < kMaxLines) {
        file.read(block.data(), static_cast<std::streamsize>(block.size()));
        const auto got = static_cast<size_t>(file.gcount());
        if (got == 0) break;
        lines += static_cast<long long>(CountFilledLineEnds({block.data(), got}, afterEnd));
    }
    lines += afterEnd ? 0 : 1;
    return static_cast<int>(std::min<long long>(lines, kMaxLines));
}

// The five columns as they were, to put back when an import is refused.
class TableCopy {
  public:
    explicit TableCopy(const std::array<CMC_ArrayParameter*, 5>& columns) : m_columns(columns) {
        for (const CMC_ArrayParameter* column : columns) m_copies.push_back(*column);
    }
    void Restore() const {
        for (size_t i = 0; i < m_columns.size(); ++i) *m_columns[i] = m_copies[i];
    }

  private:
    std::array<CMC_ArrayParameter*, 5> m_columns;
    std::vector<CMC_ArrayParameter> m_copies;
};

// Hands out the lines of a file without their line ends (the line rule of base/TextLines.h),
// reading the file in large blocks; refuses a line longer than kMaxLineLength with its line end
// and more than kMaxLines lines.
class LineReader {
  public:
    LineReader(CFile& file, const std::string& path) : m_file(file), m_path(path) {}

    // The next line in line; false at the end of the file.
    bool Next(std::string& line) {
        line.clear();
        size_t bytes = 0;
        for (;;) {
            if (m_pos == m_end && !Fill()) return Counted(bytes > 0);
            const std::string_view rest(m_buffer + m_pos, m_end - m_pos);
            const LineBounds bounds = FindLineEnd(rest, 0);
            line.append(rest.substr(0, bounds.end));
            bytes += bounds.next;
            m_pos += bounds.next;
            const bool complete = bounds.end < rest.size();
            if (complete && rest[bounds.end] == '\r' && bounds.next == rest.size())
                bytes += SkipLineFeedAfterCarriageReturn();
            if (bytes > kMaxLineLength) {
                throw ImportRefused(m_path, "line " + std::to_string(m_lines + 1) +
                                                " is longer than " +
                                                std::to_string(kMaxLineLength) + " bytes");
            }
            if (complete) return Counted(true);
        }
    }

    // True once the file gave a byte.
    bool ReadAnything() const { return m_readAnything; }

  private:
    // A CR that ended the block may be the first half of a CR LF: the LF starts the next block.
    size_t SkipLineFeedAfterCarriageReturn() {
        if (!Fill() || m_buffer[0] != '\n') return 0;
        m_pos = 1;
        return 1;
    }

    bool Fill() {
        m_pos = 0;
        m_end = m_file.Read(m_buffer, sizeof(m_buffer));
        m_readAnything = m_readAnything || m_end > 0;
        return m_end > 0;
    }

    bool Counted(bool gotLine) {
        if (gotLine && ++m_lines > kMaxLines)
            throw ImportRefused(m_path, "more than " + std::to_string(kMaxLines) + " lines");
        return gotLine;
    }

    CFile& m_file;
    const std::string& m_path;
    char m_buffer[1 << 16];
    size_t m_pos = 0;
    size_t m_end = 0;
    int m_lines = 0;
    bool m_readAnything = false;
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

BOOL CEditorDlg::ScanSegmentLine(const char* line, Segment& numbers) {
    double v[6] = {0, 0, 0, 0, 0, 0};
    numbers = Segment{};
    if (m_Data.m_nProfileType == 1) {
        // As sscanf with "%lf %lf %lf %lf %lf  %lf": the sixth number only marks a line invalid.
        const int n = numbertext::ScanNumbers(line, v, 6, &m_importedNumbers);
        if (n < 3 || n > 5 || !HoldsNumbers(n, v)) return FALSE;
        std::copy_n(v, n, numbers.begin());
        return TRUE;
    }
    const int n = numbertext::ScanNumbers(line, v, 5, &m_importedNumbers);
    if (n < 2 || n > 4 || !HoldsNumbers(n, v)) return FALSE;
    numbers[0] = v[0];
    numbers[1] = v[1];
    std::copy_n(v + 2, n - 2, numbers.begin() + 3);
    return TRUE;
}

BOOL CEditorDlg::ParseSegmentLine(const char* line, double& x, double& y, double& z,
                                  double& acceleration, double& speed) {
    if (m_Data.m_nProfileType != 1) z = 0.0;  // also for a line found invalid
    Segment s;
    if (!ScanSegmentLine(line, s)) return FALSE;
    const auto columns = m_Data.Columns();
    for (size_t k = 0; k < columns.size(); ++k) NormalizeValue(*columns[k], s[k]);
    x = s[0];
    y = s[1];
    z = s[2];
    acceleration = s[3];
    speed = s[4];
    return TRUE;
}

void CEditorDlg::ApplyRepeatRule(CMC_ArrayParameter& column, int index) {
    // A segment that sets none (a zero, most of an import's) has nothing to imply.
    const double own = column.GetValueInInternalUnit(index);
    if (std::bit_cast<std::uint64_t>(own) == 0) return;
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
    const TableCopy before(m_Data.Columns());
    try {
        const std::string& path = dialog.GetPathName();
        const bool pipe = CheckImportable(path);
        CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
        const int lines = pipe ? 0 : LinesAhead(path);
        const auto columns = m_Data.Columns();
        for (CMC_ArrayParameter* column : columns) {
            column->SetValuesCount(0);
            column->ReserveValues(lines);
        }
        LineReader reader(file, path);
        std::string line;
        while (reader.Next(line)) {
            // Decimal commas are rare: the search for one is quicker than the replacement.
            if (line.find(',') != std::string::npos)
                std::replace(line.begin(), line.end(), ',', '.');
            Segment s;
            if (!ScanSegmentLine(line.c_str(), s)) {
                lineError = true;
                break;
            }
            // Clamped and put in internal units, the column reducing it to its type: for the
            // element's whole and fixed-point columns that is NormalizeValue's count, without
            // the way to the column's unit and back. The repeat rule reads only its own column,
            // so it may follow all five inserts.
            for (size_t k = 0; k < columns.size(); ++k)
                columns[k]->InsertValueInInternalUnit(i, LimitedInInternalUnit(*columns[k], s[k]));
            ApplyRepeatRule(*m_Data.m_pAcceleration, i);
            ApplyRepeatRule(*m_Data.m_pSpeed, i);
            ++i;
        }
        // Opened without a writer, a pipe reads as empty at once: that is no empty segment file.
        if (pipe && !reader.ReadAnything())
            throw ImportRefused(path, "nothing came through the pipe (no program writes to it)");
        file.Close();
    } catch (ImportRefused& e) {
        before.Restore();
        e.ReportError();
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
