#include "toolpath/exchange/CsvReader.h"

#include <array>
#include <cstdint>
#include <vector>

#include "base/CharClass.h"
#include "base/EscapedText.h"
#include "base/RunningSum.h"
#include "base/TextLines.h"
#include "base/Trim.h"
#include "base/numbertext/Parse.h"
#include "host/CMC_Units.h"
#include "toolpath/element/PathError.h"
#include "toolpath/exchange/CsvColumns.h"

namespace {

// The editor's order of the columns, for tables without a header; the last two may be missing.
const std::vector<CsvColumn> kLayout3D = {kCsvX, kCsvY, kCsvZ, kCsvAcceleration, kCsvSpeed};
const std::vector<CsvColumn> kLayout2D = {kCsvX, kCsvY, kCsvAcceleration, kCsvSpeed};

constexpr double kSecondsPerMinute = 60.0;

// Spreadsheets quote text fields.
std::string_view Unquote(std::string_view field) {
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
        return Trim(field.substr(1, field.size() - 2));
    return field;
}

// Semicolons and tabs are looked for first, as they leave the comma to decimal numbers.
char DetectDelimiter(std::string_view line) {
    for (char candidate : {';', '\t', ','}) {
        if (line.find(candidate) != std::string_view::npos) return candidate;
    }
    return ' ';
}

class TableReader {
  public:
    TableReader(const std::string& fileName, const CsvOptions& options)
        : m_fileName(fileName), m_options(options) {
        m_path.units = options.columnUnits;
    }

    void ReadLine(std::string_view line, std::uint32_t number) {
        m_line = number;
        ++m_path.counts.lines;
        const std::string_view content = Trim(line);
        if (content.empty() || content.front() == '#') return;
        if (m_delimiter == 0) {
            m_delimiter = DetectDelimiter(content);
            Split(content);
            if (IsHeader()) return ReadHeader();
        } else {
            Split(content);
        }
        ReadRow();
    }

    ImportedPath Finish() { return std::move(m_path); }

  private:
    // The table's column stands where other readers name a word: "column 3 (z)".
    [[noreturn]] void Refuse(size_t field, const std::string& problem) const {
        std::string column = "column " + std::to_string(field + 1);
        const std::vector<CsvColumn>& layout = Layout();
        if (field < layout.size())
            column += std::string(" (") + kCsvColumnNames[layout[field]] + ")";
        throw PathError({m_fileName, m_line}, column, problem);
    }

    [[noreturn]] void RefuseLine(const std::string& problem) const {
        throw PathError({m_fileName, m_line}, problem);
    }

    void Split(std::string_view line) {
        m_fields.clear();
        if (m_delimiter == ' ') return SplitAtBlanks(line);
        size_t start = 0;
        for (;;) {
            const size_t end = line.find(m_delimiter, start);
            m_fields.push_back(Unquote(Trim(line.substr(start, end - start))));
            if (end == std::string_view::npos) return;
            start = end + 1;
        }
    }

    void SplitAtBlanks(std::string_view line) {
        size_t start = 0;
        while (start < line.size()) {
            size_t end = start;
            while (end < line.size() && !IsBlankOrCr(line[end])) ++end;
            m_fields.push_back(Unquote(line.substr(start, end - start)));
            while (end < line.size() && IsBlankOrCr(line[end])) ++end;
            start = end;
        }
    }

    bool IsHeader() const {
        for (std::string_view field : m_fields) {
            if (!field.empty() && IsLetter(field.front())) return true;
        }
        return false;
    }

    void ReadHeader() {
        m_hasHeader = true;
        std::array<bool, kCsvColumnCount> named{};
        size_t feedField = m_fields.size();  // a feed named F or feed, without a unit
        for (size_t i = 0; i < m_fields.size(); ++i) {
            std::string_view unit;
            bool feed = false;
            const CsvColumn column = ColumnNamed(i, unit, feed);
            m_header.push_back(column);
            if (named[column]) Refuse(i, std::string(kCsvColumnNames[column]) + " is named twice");
            named[column] = true;
            if (column == kCsvZ && !m_options.threeAxes) Refuse(i, "a 2D element has no z column");
            if (!unit.empty()) TakeUnit(i, column, std::string(unit));
            if (feed && unit.empty()) feedField = i;
        }
        // A feed is in the x column's length per minute, as a program's F.
        if (feedField < m_fields.size())
            TakeUnit(feedField, kCsvSpeed, m_path.units.position[0] + "/min");
        for (CsvColumn required : {kCsvX, kCsvY}) {
            if (!named[required])
                RefuseLine(std::string("the header names no ") + kCsvColumnNames[required] +
                           " column");
        }
    }

    // The column a header field names, with the unit in its brackets; F and feed name the speed
    // column.
    CsvColumn ColumnNamed(size_t index, std::string_view& unit, bool& feed) const {
        std::string_view field = m_fields[index];
        const size_t open = field.find('[');
        if (open != std::string_view::npos) {
            if (field.back() != ']')
                Refuse(index, Quoted(field) + ": the unit's bracket is not closed");
            unit = Trim(field.substr(open + 1, field.size() - open - 2));
            field = Trim(field.substr(0, open));
        }
        std::string name;
        for (char c : field) name += ToLower(c);
        feed = name == "f" || name == "feed";
        if (feed) return kCsvSpeed;
        for (int column = 0; column < kCsvColumnCount; ++column) {
            if (name == kCsvColumnNames[column]) return static_cast<CsvColumn>(column);
        }
        Refuse(index, Quoted(field) + " is not a column name (x, y, z, accel, speed or F, feed)");
    }

    // A speed per minute ("mm/min") is read as the same length per second, divided by 60.
    void TakeUnit(size_t index, CsvColumn column, std::string unit) {
        constexpr std::string_view kPerMinute = "/min";
        if (column == kCsvSpeed && unit.ends_with(kPerMinute)) {
            unit.replace(unit.size() - kPerMinute.size(), kPerMinute.size(), "/s");
            m_speedPerMinute = true;
        }
        const std::string& columnUnit = UnitOf(m_options.columnUnits, column);
        const CMC_Units& catalogue = *m_options.units;
        if (!catalogue.IsUsableUnit(unit.c_str()) ||
            !catalogue.CompatibleUnits(unit.c_str(), columnUnit.c_str()))
            Refuse(index, "the unit " + Quoted(unit) + " does not convert into the column's unit " +
                              Quoted(columnUnit));
        UnitOf(m_path.units, column) = unit;
    }

    const std::vector<CsvColumn>& Layout() const {
        if (m_hasHeader) return m_header;
        return m_options.threeAxes ? kLayout3D : kLayout2D;
    }

    void ReadRow() {
        const std::vector<CsvColumn>& layout = Layout();
        const size_t required = m_hasHeader ? layout.size() : layout.size() - 2;
        if (m_fields.size() > layout.size())
            Refuse(layout.size(),
                   "more values than the " + std::to_string(layout.size()) + " columns");
        if (m_fields.size() < required) Refuse(m_fields.size(), "the value is missing");
        std::array<double, kCsvColumnCount> values{};
        for (size_t i = 0; i < m_fields.size(); ++i) values[layout[i]] = ReadValue(i, layout[i]);
        if (m_path.moves.size() >= m_options.maxSegments)
            RefuseLine(TooManySegments(m_options.maxSegments));
        PathMove move;
        move.line = m_line;
        move.speed = m_speedPerMinute ? values[kCsvSpeed] / kSecondsPerMinute : values[kCsvSpeed];
        move.acceleration = values[kCsvAcceleration];
        for (size_t axis = 0; axis < 3; ++axis) {
            if (m_options.absolute)
                m_position[axis].Set(values[axis]);
            else
                m_position[axis].Add(values[axis]);
            move.end[axis] = m_position[axis].Value();
        }
        m_path.moves.push_back(move);
    }

    double ReadValue(size_t index, CsvColumn column) {
        std::string_view field = m_fields[index];
        if (field.empty()) Refuse(index, "the value is missing");
        // With semicolons or tabs between the values, a comma is the decimal mark.
        if (m_delimiter != ',' && m_delimiter != ' ' && field.find('.') == std::string_view::npos) {
            m_decimal.assign(field);
            for (char& c : m_decimal)
                if (c == ',') c = '.';
            field = m_decimal;
        }
        double value = 0.0;
        const numbertext::ParseResult result = numbertext::ParseNumber(field, value);
        if (result == numbertext::ParseResult::OutOfRange)
            Refuse(index, Quoted(m_fields[index]) + " is out of range");
        if (result != numbertext::ParseResult::Ok)
            Refuse(index, Quoted(m_fields[index]) + " is not a number");
        if (value < 0.0 && (column == kCsvSpeed || column == kCsvAcceleration))
            Refuse(index, Quoted(m_fields[index]) + " is negative; 0 keeps the value before");
        return value;
    }

    const std::string& m_fileName;
    const CsvOptions& m_options;
    ImportedPath m_path;
    std::uint32_t m_line = 0;
    char m_delimiter = 0;  // 0 until the first line; ' ' for blanks
    bool m_hasHeader = false;
    bool m_speedPerMinute = false;
    std::vector<CsvColumn> m_header;
    std::vector<std::string_view> m_fields;
    std::string m_decimal;
    std::array<RunningSum, 3> m_position{};
};

}  // namespace

ImportedPath ReadCsv(std::string_view text, const std::string& fileName,
                     const CsvOptions& options) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    TableReader reader(fileName, options);
    ForEachLine(
        text, [&](std::string_view line, std::uint32_t number) { reader.ReadLine(line, number); });
    return reader.Finish();
}
