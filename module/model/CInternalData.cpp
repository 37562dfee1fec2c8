#include "module/model/CInternalData.h"

#include "host/CMC_AxisData.h"
#include "host/CMC_Motion.h"
#include "host/CMC_Setup.h"
#include "host/CMC_Value.h"
#include "host/HostResources.h"
#include "host/ParameterText.h"

namespace {

// The axis-selection entries, in the order X, Y, Z.
constexpr const char* kSlaveEntries[3] = {"SlaveX", "SlaveY", "SlaveZ"};
constexpr const char* kPositionName = "TPOS";
constexpr const char* kAccelerationName = "CACC";
constexpr const char* kSpeedName = "CSPD";
constexpr int kLastLetteredSlave = 'Z' - 'A';

CMC_Setup* AxisSetupOf(CMC_Motion& motion, int slave) {
    CMC_AxisData* axis = motion.GetMotionControllerSlaveAxis(slave);
    return axis ? axis->GetAxisSetup() : nullptr;
}

}  // namespace

int IsClosedPositionAxis(CMC_Setup* setup) {
    return setup && setup->GetIntOption("IsClosedPosition") ? 1 : 0;
}

CInternalData::CInternalData(CMC_Setup& setup, CMC_Motion& motion)
    : CMC_EditMotionInternalData(setup, motion),
      m_nProfileType(0),
      m_nClearBuffer(0),
      m_nConfigureMode(0),
      m_nInsertEndSegment(0),
      m_nSlaveX(-1),
      m_nSlaveY(-1),
      m_nSlaveZ(-1),
      m_pAcceleration(nullptr),
      m_pSpeed(nullptr),
      m_pPositionX(nullptr),
      m_pPositionY(nullptr),
      m_pPositionZ(nullptr),
      m_nExecute(0),
      m_nWaitForCompletion(0),
      m_event(setup, motion),
      m_nUnitKind(0),
      m_nResolutionRatio{0, 0, 0} {}

CInternalData::~CInternalData() {
    delete m_pAcceleration;
    delete m_pSpeed;
    delete m_pPositionX;
    delete m_pPositionY;
    delete m_pPositionZ;
}

CString CInternalData::GetDefaultParameterText() {
    CString text;
    int found[3] = {0, 0, 0};
    int count = 0;
    const int slaves = m_pSetup->GetMotionControllerSlaveCount();
    for (int s = 0; s < slaves && count < 3; ++s) {
        BYTE axisId = 0;
        if (m_pSetup->MotionController_GetAxisIDOfSlave(static_cast<BYTE>(s), axisId) &&
            axisId != 0) {
            found[count++] = s;
        }
    }
    const bool threeAxes = count == 3;
    const int slaveX = found[0];
    const int slaveY = count == 1 ? found[0] : found[1];

    auto addArray = [&](const char* name, const char* prefix) {
        m_pMotion->AddToElemParameters(text, GetDataParamName(name, prefix, nullptr),
                                       GetDefaultUnit(name, prefix, nullptr), "0");
    };
    WriteRadioParam(text, "ProfileType", threeAxes ? 1 : 0);
    WriteRadioParam(text, "ClearBuffer", 1);
    WriteRadioParam(text, "ConfigureMode", 1);
    WriteRadioParam(text, "InsertEndSegment", 1);
    WriteRadioParam(text, "SlaveX", slaveX);
    WriteRadioParam(text, "SlaveY", slaveY);
    if (threeAxes) WriteRadioParam(text, "SlaveZ", found[2]);
    addArray(kPositionName, "X_");
    addArray(kPositionName, "Y_");
    if (threeAxes) addArray(kPositionName, "Z_");
    addArray(kAccelerationName, nullptr);
    addArray(kSpeedName, nullptr);
    WriteRadioParam(text, "Execute", 0);
    WriteRadioParam(text, "WaitForCompletion", 1);
    return text;
}

void CInternalData::SynchronizeSegmentCounts() {
    int nX = m_pPositionX->GetValuesCount();
    int nY = m_pPositionY->GetValuesCount();
    int nZ = m_pPositionZ->GetValuesCount();
    int nA = m_pAcceleration->GetValuesCount();
    int nS = m_pSpeed->GetValuesCount();
    auto ensureOne = [](CMC_ArrayParameter* column, int& n) {
        if (n > 0) return;
        column->InsertValueAt(0, 0.0);
        n = 1;
    };
    ensureOne(m_pPositionX, nX);
    ensureOne(m_pPositionY, nY);
    if (nZ != nX) {
        m_pPositionZ->SetValuesCount(nX);
        nZ = nX;
    }
    ensureOne(m_pAcceleration, nA);
    ensureOne(m_pSpeed, nS);

    const int n = nX < nY ? nX : nY;
    if (nX > nY) m_pPositionX->RemoveValueAt(nY, nX - nY);
    if (nY > nX) m_pPositionY->RemoveValueAt(nX, nY - nX);
    if (nZ > n) m_pPositionZ->RemoveValueAt(n, nZ - n);
    if (nA != n) m_pAcceleration->SetValuesCount(n);
    if (nS != n) m_pSpeed->SetValuesCount(n);
}

CString CInternalData::InvalidValueText(const char* name) const {
    CString format;
    format.LoadString(IDS_INVALID_VALUE);
    // The resource holds one %s; substituting it by hand keeps a stray directive harmless.
    std::string text = format.str();
    const auto at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, name ? name : "");
    return CString(text);
}

CString CInternalData::InvalidValueMessage(const char* name) const {
    return InvalidValueText(name) + "\r\n";
}

bool CInternalData::HasAxisLetter(int slave) { return slave >= 0 && slave <= kLastLetteredSlave; }

bool CInternalData::IsUsableSlave(int slave) const {
    if (!HasAxisLetter(slave)) return false;
    BYTE axisId = 0;
    if (!m_pSetup->MotionController_GetAxisIDOfSlave(static_cast<BYTE>(slave & 0xFF), axisId))
        return false;
    if (axisId == 0) return false;
    CMC_Setup* axisSetup = AxisSetupOf(*m_pMotion, slave);
    return axisSetup && axisSetup->GetIntOption("IsClosedPosition");
}

CString CInternalData::ReadSlave(const CString& text, const char* name, int& slave,
                                 std::initializer_list<const int*> mustDiffer) {
    const int count = m_pSetup->GetMotionControllerSlaveCount();
    CString message = ReadRadioParam(text, name, slave, 0, count);
    if (!message.IsEmpty()) return message;
    for (const int* other : mustDiffer) {
        if (slave == *other) return InvalidValueMessage(name);
    }
    if (!IsUsableSlave(slave)) return InvalidValueMessage(name);
    return message;
}

// Without units the columns hold the drives' internal numbers: an entry may name no unit or
// the column's internal unit, but no unit its numbers would have to be converted from (10 mm
// are not 10 counts). Refused like any bad entry, the column takes the entry's name and type.
CString CInternalData::ReadNoUnitColumn(const CString& text, const char* baseName,
                                        const char* prefix, int type, CMC_ArrayParameter* column) {
    const CString name = GetDataParamName(baseName, prefix, nullptr);
    const auto entry = FindEntryIn(text, name.str());
    if (entry && !entry->unit.empty() &&
        entry->unit != GetDefaultUnit(baseName, prefix, nullptr).str()) {
        column->SetNameAndType(type, name);
        return InvalidValueMessage(name);
    }
    return ReadNoUnitArrayDataParam(text, type, name, column);
}

CString CInternalData::ReadPositionColumn(const CString& text, const char* prefix,
                                          CMC_ArrayParameter* column) {
    if (m_nUnitKind != 0) return ReadArrayDataParam(text, kPositionName, prefix, nullptr, column);
    return ReadNoUnitColumn(text, kPositionName, prefix, VT_LONG, column);
}

CString CInternalData::ReadDynamicsColumn(const CString& text, const char* name, int type,
                                          CMC_ArrayParameter* column, int segmentCount) {
    CString message = m_nUnitKind != 0 ? ReadArrayDataParam(text, name, nullptr, nullptr, column)
                                       : ReadNoUnitColumn(text, name, nullptr, type, column);
    if (message.IsEmpty() && column->GetValuesCount() != segmentCount)
        message = InvalidValueMessage(name);
    column->SetMinInInternalUnit(0.0);
    // A negative acceleration or speed cannot be meant; it would reach the program as it stands.
    if (message.IsEmpty()) {
        for (int i = 0; i < column->GetValuesCount(); ++i) {
            if (column->GetValueInInternalUnit(i) < 0.0) return InvalidValueMessage(name);
        }
    }
    return message;
}

void CInternalData::ResetPositionZ() {
    if (m_nUnitKind != 0) {
        InitializeArrayDataParam(m_pPositionZ, kPositionName, "Z_", nullptr);
        return;
    }
    m_pPositionZ->InitializeMotionParam(VT_LONG, GetDataParamName(kPositionName, "Z_", nullptr),
                                        nullptr, "", MC_UNSET_LIMIT, MC_UNSET_LIMIT);
}

int CInternalData::ReadParameters(const CString& text, CString& error) {
    error = ReadEntries(text);
    if (error.IsEmpty()) {
        int scratch = 0;
        error += ValidateSegments(&scratch);
    }
    return error.IsEmpty() ? 1 : 0;
}

CString CInternalData::ReadEntries(const CString& text) {
    const EntryWalk walk(*this, text);
    CString error;
    CString message = ReadRadioParam(text, "ProfileType", m_nProfileType, 0, 1);
    if (!message.IsEmpty()) {
        error += message;
        m_nProfileType = 0;
    }
    ReadOptionalRadioParam(text, "ConfigureMode", m_nConfigureMode, 0, 1);
    ReadOptionalRadioParam(text, "ClearBuffer", m_nClearBuffer, 0, 1);
    ReadOptionalRadioParam(text, "InsertEndSegment", m_nInsertEndSegment, 0, 1);

    error += ReadSlave(text, kSlaveEntries[0], m_nSlaveX, {});
    error += ReadSlave(text, kSlaveEntries[1], m_nSlaveY, {&m_nSlaveX});
    if (m_nProfileType == 1) {
        error += ReadSlave(text, kSlaveEntries[2], m_nSlaveZ, {&m_nSlaveX, &m_nSlaveY});
    }
    UpdateAxesAndUnits();

    message = ReadPositionColumn(text, "X_", m_pPositionX);
    const int n = m_pPositionX->GetValuesCount();
    if (message.IsEmpty() && n < 1) message = InvalidValueMessage(m_pPositionX->GetName());
    error += message;

    auto readFollowingPosition = [&](const char* prefix, CMC_ArrayParameter* column) {
        message = ReadPositionColumn(text, prefix, column);
        if (message.IsEmpty() && n >= 1 && column->GetValuesCount() != n)
            message = InvalidValueMessage(column->GetName());
        error += message;
    };
    readFollowingPosition("Y_", m_pPositionY);
    if (m_nProfileType == 1) {
        readFollowingPosition("Z_", m_pPositionZ);
    } else {
        ResetPositionZ();
    }

    message = ReadDynamicsColumn(text, kAccelerationName, VT_FIXED, m_pAcceleration, n);
    error += message;
    message = ReadDynamicsColumn(text, kSpeedName, VT_FIXED, m_pSpeed, n);
    error += message;

    error += ReadRadioParam(text, "Execute", m_nExecute, 0, 1);
    ReadOptionalRadioParam(text, "WaitForCompletion", m_nWaitForCompletion, 0, 1);
    // The event replaces the working message with its own problems, so the speed's message
    // (already appended) is never reported twice.
    if (m_nExecute == 1 && !ReadEvent(text, message)) error += message;
    return error;
}

int CInternalData::ReadEvent(const CString& text, CString& message) {
    if (parametertext::EntryLines* walk = WalkOver(text))
        return m_event.ReadFromEntries(*walk, message);
    return m_event.ReadParameters(text, message);
}

void CInternalData::WriteParameters(CString& text) {
    WriteRadioParam(text, "ProfileType", m_nProfileType);
    WriteRadioParam(text, "ConfigureMode", m_nConfigureMode);
    if (m_nConfigureMode != 0) WriteRadioParam(text, "ClearBuffer", m_nClearBuffer);
    WriteRadioParam(text, "InsertEndSegment", m_nInsertEndSegment);
    WriteRadioParam(text, "SlaveX", m_nSlaveX);
    WriteRadioParam(text, "SlaveY", m_nSlaveY);
    if (m_nProfileType == 1) WriteRadioParam(text, "SlaveZ", m_nSlaveZ);
    WriteArrayDataParam(text, m_pPositionX);
    WriteArrayDataParam(text, m_pPositionY);
    if (m_nProfileType == 1) WriteArrayDataParam(text, m_pPositionZ);
    WriteArrayDataParam(text, m_pAcceleration);
    WriteArrayDataParam(text, m_pSpeed);
    WriteRadioParam(text, "Execute", m_nExecute);
    if (m_nExecute == 1) m_event.WriteParameters(text);
    if (m_nInsertEndSegment != 0) WriteRadioParam(text, "WaitForCompletion", m_nWaitForCompletion);
}

CString CInternalData::ValidateSegments(int* segment) const {
    const int n = m_pPositionX->GetValuesCount();
    const bool threeAxes = m_nProfileType == 1;
    if (n < 1 || m_pAcceleration->GetValuesCount() != n || m_pSpeed->GetValuesCount() != n ||
        m_pPositionY->GetValuesCount() != n || (threeAxes && m_pPositionZ->GetValuesCount() != n)) {
        *segment = 0;
        return "Invalid number of segments. You should have at least one segment.";
    }
    for (int i = 0; i < n; ++i) {
        if (m_pPositionX->GetValueInInternalUnit(i) != 0.0) continue;
        if (m_pPositionY->GetValueInInternalUnit(i) != 0.0) continue;
        if (m_nProfileType != 0 && m_pPositionZ->GetValueInInternalUnit(i) != 0.0) continue;
        *segment = i;
        return "Illegal position increment values!\nSegments cannot have all increments equal "
               "to 0.";
    }
    // A text may carry negative values that the editor would otherwise write back unchecked.
    for (int i = 0; i < n; ++i) {
        const char* negative = m_pAcceleration->GetValueInInternalUnit(i) < 0.0 ? kAccelerationName
                               : m_pSpeed->GetValueInInternalUnit(i) < 0.0      ? kSpeedName
                                                                                : nullptr;
        if (!negative) continue;
        *segment = i;
        return InvalidValueText(negative);  // shown in a message box: no line end
    }
    return CString();
}
