// The motion-language program text of an element.
#include <cinttypes>

#include "model/CInternalData.h"

namespace {

char AxisLetter(int slave) { return static_cast<char>('A' + slave); }

}  // namespace

CString CInternalData::AxisList() const {
    CString list;
    if (m_nProfileType == 1) {
        list.Format("(%c, %c, %c)", AxisLetter(m_nSlaveX), AxisLetter(m_nSlaveY),
                    AxisLetter(m_nSlaveZ));
    } else {
        list.Format("(%c, %c)", AxisLetter(m_nSlaveX), AxisLetter(m_nSlaveY));
    }
    return list;
}

CString CInternalData::GenerateMotionCode() const {
    CString code;
    const CString axes = AxisList();
    const bool threeAxes = m_nProfileType == 1;

    if (m_nConfigureMode) {
        code += m_nClearBuffer ? "  SETMODE 0xCF00; //Clear buffer\r\n"
                               : "  SETMODE 0x4F00; //Leave buffer intact\r\n";
        code.AppendFormat("  LPLANE %s;\r\n", axes.GetString());
        if (m_nUnitKind) {
            // The ratios are unsigned 32-bit values whatever the width of long is here.
            code.AppendFormat("  RESRATIOX=%" PRIu32 "u;\r\n", m_nResolutionRatio[0]);
            code.AppendFormat("  RESRATIOY=%" PRIu32 "u;\r\n", m_nResolutionRatio[1]);
            if (threeAxes)
                code.AppendFormat("  RESRATIOZ=%" PRIu32 "u;\r\n", m_nResolutionRatio[2]);
        }
        code += "  MODE LI; // Set Linear Interpolation Mode\r\n";
    }

    const int count = m_pPositionX->GetValuesCount();
    if (count < 1) return code;

    code += GenerateSegmentCode(0);
    if (m_nExecute == 1) {
        code.AppendFormat("  // Wait for event: %s\r\n", m_event.GetDescription(0).GetString());
        code += m_event.GenerateMLCode();
    }
    if (m_nExecute == 0 || m_nExecute == 1) code += "  UPD; //Execute immediate\r\n";
    for (int i = 1; i < count; ++i) code += GenerateSegmentCode(i);

    if (m_nInsertEndSegment) {
        code += threeAxes ? "  // Insert End Segment\r\n  LPOS1 0L, 0L, 0L; LPOS2 0L, 0L, 0L;\r\n"
                          : "  // Insert End Segment\r\n  LPOS1 0L, 0L; LPOS2 0L, 0L;\r\n";
        if (m_nWaitForCompletion)
            code.AppendFormat("  WMC %s; // wait for motion completion\r\n", axes.GetString());
    }
    return code;
}

CString CInternalData::GenerateSegmentCode(int index) const {
    CString code;
    if (m_pAcceleration->GetValueInInternalUnit(index) != 0.0) {
        code.AppendFormat("  VACC = %s; // Vector Acceleration = %s[%s]\r\n",
                          m_pAcceleration->PrintValueForZRL(index).GetString(),
                          m_pAcceleration->PrintValue(index).GetString(),
                          m_pAcceleration->GetSelectedUnit().GetString());
    }
    if (m_pSpeed->GetValueInInternalUnit(index) != 0.0) {
        code.AppendFormat("  VSPD = %s; // Vector Speed = %s[%s]\r\n",
                          m_pSpeed->PrintValueForZRL(index).GetString(),
                          m_pSpeed->PrintValue(index).GetString(),
                          m_pSpeed->GetSelectedUnit().GetString());
    }
    const CString x = m_pPositionX->PrintValueForZRL(index);
    const CString y = m_pPositionY->PrintValueForZRL(index);
    if (m_nProfileType == 1) {
        const CString z = m_pPositionZ->PrintValueForZRL(index);
        code.AppendFormat(
            "  // Increment position with (X, Y, Z) = (%s[%s], %s[%s], %s[%s])\r\n"
            "  LPOS1 %s, %s, %s; LPOS2 %s, %s, %s;\r\n",
            m_pPositionX->PrintValue(index).GetString(),
            m_pPositionX->GetSelectedUnit().GetString(),
            m_pPositionY->PrintValue(index).GetString(),
            m_pPositionY->GetSelectedUnit().GetString(),
            m_pPositionZ->PrintValue(index).GetString(),
            m_pPositionZ->GetSelectedUnit().GetString(), x.GetString(), y.GetString(),
            z.GetString(), x.GetString(), y.GetString(), z.GetString());
        return code;
    }
    code.AppendFormat(
        "  // Increment position with (X, Y) = (%s[%s], %s[%s])\r\n"
        "  LPOS1 %s, %s; LPOS2 %s, %s;\r\n",
        m_pPositionX->PrintValue(index).GetString(), m_pPositionX->GetSelectedUnit().GetString(),
        m_pPositionY->PrintValue(index).GetString(), m_pPositionY->GetSelectedUnit().GetString(),
        x.GetString(), y.GetString(), x.GetString(), y.GetString());
    return code;
}
