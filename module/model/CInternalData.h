// The parameter model of one Linear Interpolation element.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>

#include "host/CMC_ArrayParameter.h"
#include "host/CMC_EditMotionInternalData.h"
#include "host/CMotionEvent.h"
#include "host/CString.h"

class CMC_Setup;
class CMC_Motion;

// Filter for the slave-axis combo boxes: 1 when the slave's setup runs in closed position.
int IsClosedPositionAxis(CMC_Setup* setup);

class CInternalData : public CMC_EditMotionInternalData {
  public:
    CInternalData(CMC_Setup& setup, CMC_Motion& motion);
    ~CInternalData() override;
    CInternalData(const CInternalData&) = delete;
    CInternalData& operator=(const CInternalData&) = delete;

    int ReadParameters(const CString& text, CString& error) override;
    // The reading part of ReadParameters: the entries' problems, empty when every entry could
    // be taken as it stands (the segments are not validated).
    CString ReadEntries(const CString& text);
    void WriteParameters(CString& text) override;

    // The parameter text of a new element, with its axes chosen from the controller's slaves.
    CString GetDefaultParameterText();
    // Brings the five columns to one length of at least one segment.
    void SynchronizeSegmentCounts();
    // Empty when the segment table is valid; else the message, with the segment to show in
    // *segment.
    CString ValidateSegments(int* segment) const;

    // Probes the chosen axes, derives unit kind and resolution ratios, and (re)binds the columns.
    void UpdateAxesAndUnits();
    // Builds or rebuilds column on setup, keeping its values (see the definition).
    void RebindArrayParam(CMC_ArrayParameter*& column, CMC_Setup* setup, const char* unit);

    // The five segment columns in segment order: X, Y, Z, acceleration, speed.
    std::array<CMC_ArrayParameter*, 5> Columns() const {
        return {m_pPositionX, m_pPositionY, m_pPositionZ, m_pAcceleration, m_pSpeed};
    }

    // Whether the program can name slave: it names slaves by the letters 'A' + slave to 'Z'.
    static bool HasAxisLetter(int slave);

    // The element's motion-language program text; requires a successful ReadParameters.
    CString GenerateMotionCode() const;
    // Appends the lines of segment index.
    void AppendSegmentCode(CString& code, int index) const;

    int m_nProfileType;
    int m_nClearBuffer;
    int m_nConfigureMode;
    int m_nInsertEndSegment;
    int m_nSlaveX;
    int m_nSlaveY;
    int m_nSlaveZ;
    CMC_ArrayParameter* m_pAcceleration;
    CMC_ArrayParameter* m_pSpeed;
    CMC_ArrayParameter* m_pPositionX;
    CMC_ArrayParameter* m_pPositionY;
    CMC_ArrayParameter* m_pPositionZ;
    int m_nExecute;
    int m_nWaitForCompletion;
    CMotionEvent m_event;
    int m_nUnitKind;
    std::uint32_t m_nResolutionRatio[3];

  private:
    // Message 20048 for name; the Message form ends in CR LF like every read message.
    CString InvalidValueText(const char* name) const;
    CString InvalidValueMessage(const char* name) const;
    [[nodiscard]] CString ReadSlave(const CString& text, const char* name, int& slave,
                                    std::initializer_list<const int*> mustDiffer);
    bool IsUsableSlave(int slave) const;
    [[nodiscard]] CString ReadNoUnitColumn(const CString& text, const char* baseName,
                                           const char* prefix, int type,
                                           CMC_ArrayParameter* column);
    [[nodiscard]] CString ReadPositionColumn(const CString& text, const char* prefix,
                                             CMC_ArrayParameter* column);
    [[nodiscard]] CString ReadDynamicsColumn(const CString& text, const char* name, int type,
                                             CMC_ArrayParameter* column, int segmentCount);
    // The start event, from the walk of text's lines under way when there is one.
    int ReadEvent(const CString& text, CString& message);
    void ResetPositionZ();
    CString AxisList() const;
    size_t EstimateSegmentCodeSize() const;
};
