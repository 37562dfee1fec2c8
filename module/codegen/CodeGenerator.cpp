// The motion-language program text of an element.
#include <algorithm>
#include <charconv>
#include <string_view>

#include "module/model/CInternalData.h"

namespace {

char AxisLetter(int slave) { return static_cast<char>('A' + slave); }

// Segments whose text is measured to size the program text before it is written.
constexpr int kSizeSamples = 64;

// Appends to the program text; the hot loop writes plain pieces, never through a format. The
// pieces gather in a small buffer that goes to the text in one append.
class CodeWriter {
  public:
    explicit CodeWriter(std::string& out) : m_out(out) {}
    ~CodeWriter() { Flush(); }
    CodeWriter(const CodeWriter&) = delete;
    CodeWriter& operator=(const CodeWriter&) = delete;

    CodeWriter& operator<<(std::string_view text) {
        if (text.size() > sizeof m_buffer - m_size) Flush();
        if (text.size() > sizeof m_buffer) {
            m_out += text;
            return *this;
        }
        // Most pieces are a few bytes: a plain loop, with the cursor kept apart from the
        // bytes it writes, beats a call.
        char* next = m_buffer + m_size;
        for (char c : text) *next++ = c;
        m_size += text.size();
        return *this;
    }
    // A literal's length is known where it is written; other texts come as string views.
    template <size_t N>
    CodeWriter& operator<<(const char (&text)[N]) {
        return *this << std::string_view(text, N - 1);
    }
    CodeWriter& operator<<(const numbertext::NumberBuffer& number) {
        return *this << number.View();
    }
    CodeWriter& operator<<(const CString& text) { return *this << std::string_view(text.str()); }
    // A value as the comment shows it: "12.5[mm]".
    CodeWriter& Shown(const CMC_ArrayParameter& column, int index) {
        return *this << column.ValueText(index) << "[" << column.GetSelectedUnit() << "]";
    }
    void Flush() {
        m_out.append(m_buffer, m_size);
        m_size = 0;
    }

  private:
    std::string& m_out;
    char m_buffer[512];
    size_t m_size = 0;
};

void AppendUnsigned(CodeWriter& out, std::uint32_t value) {
    char text[16];
    const auto end = std::to_chars(text, text + sizeof text, value);
    out << std::string_view(text, static_cast<size_t>(end.ptr - text));
}

void AppendConfiguration(const CInternalData& data, const CString& axes, std::string& code) {
    if (!data.m_nConfigureMode) return;
    CodeWriter out(code);
    out << std::string_view(data.m_nClearBuffer ? "  SETMODE 0xCF00; //Clear buffer\r\n"
                                                : "  SETMODE 0x4F00; //Leave buffer intact\r\n");
    out << "  LPLANE " << axes << ";\r\n";
    if (data.m_nUnitKind) {
        constexpr std::string_view names[3] = {"X", "Y", "Z"};
        for (int axis = 0; axis < (data.m_nProfileType == 1 ? 3 : 2); ++axis) {
            out << "  RESRATIO" << names[axis] << "=";
            AppendUnsigned(out, data.m_nResolutionRatio[axis]);
            out << "u;\r\n";
        }
    }
    out << "  MODE LI; // Set Linear Interpolation Mode\r\n";
}

void AppendStart(const CInternalData& data, std::string& code) {
    CodeWriter out(code);
    if (data.m_nExecute == 1) {
        out << "  // Wait for event: " << data.m_event.GetDescription(0) << "\r\n";
        out << data.m_event.GenerateMLCode();
    }
    if (data.m_nExecute == 0 || data.m_nExecute == 1) out << "  UPD; //Execute immediate\r\n";
}

void AppendEnd(const CInternalData& data, const CString& axes, std::string& code) {
    if (!data.m_nInsertEndSegment) return;
    CodeWriter out(code);
    out << std::string_view(
        data.m_nProfileType == 1
            ? "  // Insert End Segment\r\n  LPOS1 0L, 0L, 0L; LPOS2 0L, 0L, 0L;\r\n"
            : "  // Insert End Segment\r\n  LPOS1 0L, 0L; LPOS2 0L, 0L;\r\n");
    if (data.m_nWaitForCompletion) out << "  WMC " << axes << "; // wait for motion completion\r\n";
}

}  // namespace

CString CInternalData::AxisList() const {
    CString list("(");
    list += AxisLetter(m_nSlaveX);
    list += ", ";
    list += AxisLetter(m_nSlaveY);
    if (m_nProfileType == 1) {
        list += ", ";
        list += AxisLetter(m_nSlaveZ);
    }
    list += ')';
    return list;
}

CString CInternalData::GenerateMotionCode() const {
    CString code;
    const CString axes = AxisList();
    AppendConfiguration(*this, axes, code.str());
    const int count = m_pPositionX->GetValuesCount();
    if (count < 1) return code;
    code.str().reserve(code.str().size() + EstimateSegmentCodeSize());
    AppendSegmentCode(code, 0);
    AppendStart(*this, code.str());
    for (int i = 1; i < count; ++i) AppendSegmentCode(code, i);
    AppendEnd(*this, axes, code.str());
    return code;
}

// The program text of a long element is written once into storage of its final size: growing
// it by doubling would copy it several times and, for a moment, hold it twice. The size comes
// from the longest of segments sampled across the element; storage reserved beyond the text is
// never touched, so it takes address space but no memory.
size_t CInternalData::EstimateSegmentCodeSize() const {
    const int count = m_pPositionX->GetValuesCount();
    if (count <= kSizeSamples) return 0;
    size_t longest = 0;
    CString sample;
    for (int i = 0; i < count; i += count / kSizeSamples) {
        sample.Empty();
        AppendSegmentCode(sample, i);
        longest = std::max(longest, sample.str().size());
    }
    return longest * static_cast<size_t>(count) + 4096;
}

void CInternalData::AppendSegmentCode(CString& code, int index) const {
    CodeWriter out(code.str());
    if (m_pAcceleration->GetValueInInternalUnit(index) != 0.0) {
        out << "  VACC = " << m_pAcceleration->LiteralText(index) << "; // Vector Acceleration = ";
        out.Shown(*m_pAcceleration, index) << "\r\n";
    }
    if (m_pSpeed->GetValueInInternalUnit(index) != 0.0) {
        out << "  VSPD = " << m_pSpeed->LiteralText(index) << "; // Vector Speed = ";
        out.Shown(*m_pSpeed, index) << "\r\n";
    }
    const numbertext::NumberBuffer x = m_pPositionX->LiteralText(index);
    const numbertext::NumberBuffer y = m_pPositionY->LiteralText(index);
    if (m_nProfileType == 1) {
        const numbertext::NumberBuffer z = m_pPositionZ->LiteralText(index);
        out << "  // Increment position with (X, Y, Z) = (";
        out.Shown(*m_pPositionX, index) << ", ";
        out.Shown(*m_pPositionY, index) << ", ";
        out.Shown(*m_pPositionZ, index) << ")\r\n";
        out << "  LPOS1 " << x << ", " << y << ", " << z << "; LPOS2 " << x << ", " << y << ", "
            << z << ";\r\n";
        return;
    }
    out << "  // Increment position with (X, Y) = (";
    out.Shown(*m_pPositionX, index) << ", ";
    out.Shown(*m_pPositionY, index) << ")\r\n";
    out << "  LPOS1 " << x << ", " << y << "; LPOS2 " << x << ", " << y << ";\r\n";
}
