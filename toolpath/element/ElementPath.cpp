#include "toolpath/element/ElementPath.h"

#include <cmath>
#include <memory>

#include "host/AxisResolution.h"
#include "host/CMC_ArrayParameter.h"
#include "host/CMC_AxisData.h"
#include "host/CMC_EditMotionInternalData.h"
#include "host/CMC_Motion.h"
#include "host/CMC_Setup.h"
#include "host/CMC_Value.h"
#include "host/CMC_Variable.h"
#include "host/ControllerParameters.h"
#include "toolpath/element/PathError.h"

namespace {

constexpr const char* kSlaveEntries[3] = {"SlaveX", "SlaveY", "SlaveZ"};

// What one chosen axis tells about units, found the way the module probes it.
struct AxisProbe {
    CMC_Setup* setup = nullptr;
    UnitKind kind = UnitKind::None;
    CString baseUnit;
    double length = 0.0;  // of 1000 internal position units, in the base unit
};

UnitKind KindOfBaseUnit(const CMC_Units& units, const CString& base) {
    if (units.CompatibleUnits("mm", base)) return UnitKind::Linear;
    if (units.CompatibleUnits("rad", base)) return UnitKind::Rotary;
    return UnitKind::None;
}

// Fills probe for the slave; false when the axis cannot carry units. The setup is kept even then,
// because the columns of an element without units are held on the X axis's setup.
bool ProbeAxis(CMC_Motion& motion, int slave, AxisProbe& probe) {
    CMC_AxisData* axis = motion.GetMotionControllerSlaveAxis(slave);
    if (!axis) return false;
    probe.setup = axis->GetAxisSetup();
    if (!probe.setup) return false;
    CMC_Variable* position =
        probe.setup->FindVariable(ElementColumnNameOf(kColumnX).parameter->name, 1);
    if (!position) return false;
    CMC_Units& units = probe.setup->GetUnits();
    const CMC_Unit* base = units.FindBaseUnit(CMC_Units::DumpIUOfUnit(position->GetUnitName()));
    if (!base) return false;
    probe.baseUnit = base->GetUnitName();
    probe.kind = KindOfBaseUnit(units, probe.baseUnit);
    // The same host calls as the module's probe, so that ties between axes break alike.
    position->SetValueInInternalUnit(1000.0);
    probe.length = position->GetValueInBaseUnit();
    return probe.kind != UnitKind::None && probe.length > 0.0;
}

// Reads the entries with the host's own operations, as the module's model does; it collects every
// problem in m_error.
class ElementReader : public CMC_EditMotionInternalData {
  public:
    ElementReader(CMC_Setup& controller, CMC_Motion& motion)
        : CMC_EditMotionInternalData(controller, motion) {}

    int ReadParameters(const CString& text, CString& error) override {
        m_path = ElementPath();
        int profile = 0;
        m_error = ReadRadioParam(text, "ProfileType", profile, 0, 1);
        m_path.axisCount = profile == 1 ? 3 : 2;
        m_path.slaves = {-1, -1, -1};
        for (int i = 0; i < m_path.axisCount; ++i) ReadSlave(text, i);
        if (m_error.IsEmpty()) ReadColumns(text);
        error = m_error;
        return m_error.IsEmpty() ? 1 : 0;
    }
    // The reader never writes an element.
    void WriteParameters(CString&) override {}

    ElementPath& Path() { return m_path; }

  private:
    void ReadSlave(const CString& text, int axis) {
        const int count = m_pSetup->GetMotionControllerSlaveCount();
        m_error += ReadRadioParam(text, kSlaveEntries[axis],
                                  m_path.slaves[static_cast<size_t>(axis)], 0, count);
    }

    // The element's column of that index, named and typed as the host's table has it.
    CString ReadColumn(const CString& text, int index, CMC_ArrayParameter& column) {
        const ElementColumnName& name = ElementColumnNameOf(index);
        if (m_path.unitKind != UnitKind::None)
            return ReadArrayDataParam(text, name.parameter->name, name.prefix, nullptr, &column);
        return ReadNoUnitArrayDataParam(text, name.parameter->type, name.entry, &column);
    }

    void ReadColumns(const CString& text) {
        const ElementAxes axes = ChooseElementAxes(*m_pMotion, m_path.slaves, m_path.axisCount);
        m_path.unitKind = axes.kind;
        CMC_Setup* setup = axes.setup ? axes.setup : m_pSetup;
        std::vector<std::unique_ptr<CMC_ArrayParameter>> positions;
        for (int i = 0; i < m_path.axisCount; ++i) {
            positions.push_back(std::make_unique<CMC_ArrayParameter>(setup));
            m_error += ReadColumn(text, kColumnX + i, *positions.back());
        }
        CMC_ArrayParameter acceleration(setup);
        CMC_ArrayParameter speed(setup);
        m_error += ReadColumn(text, kColumnAcceleration, acceleration);
        m_error += ReadColumn(text, kColumnSpeed, speed);
        if (!m_error.IsEmpty()) return;

        const int count = positions[0]->GetValuesCount();
        for (const auto& column : positions) CheckCount(*column, count);
        CheckCount(acceleration, count);
        CheckCount(speed, count);
        if (!m_error.IsEmpty()) return;

        ElementColumns read{m_path.axisCount, m_path.slaves, m_path.unitKind, setup, {}};
        for (int i = 0; i < m_path.axisCount; ++i)
            read.columns[static_cast<size_t>(kColumnX + i)] =
                positions[static_cast<size_t>(i)].get();
        read.columns[kColumnAcceleration] = &acceleration;
        read.columns[kColumnSpeed] = &speed;
        m_path = PathOfColumns(read);
    }

    void CheckCount(const CMC_ArrayParameter& column, int count) {
        if (count >= 1 && column.GetValuesCount() == count) return;
        m_error += "Entry \"" + column.GetName() + "\" must hold one value for each of the " +
                   CString(std::to_string(count)) + " segments!\r\n";
    }

    ElementPath m_path;
    CString m_error;
};

}  // namespace

ElementAxes ChooseElementAxes(CMC_Motion& motion, const std::array<int, 3>& slaves, int axisCount) {
    AxisProbe probes[3];
    bool usable = true;
    for (int i = 0; i < axisCount && usable; ++i) {
        usable = ProbeAxis(motion, slaves[static_cast<size_t>(i)], probes[i]) &&
                 (i == 0 || (probes[i].kind == probes[0].kind &&
                             probes[i].baseUnit == probes[i - 1].baseUnit));
    }
    if (!usable) return {UnitKind::None, probes[0].setup};
    int reference = 0;
    for (int i = 1; i < axisCount; ++i) {
        if (IsFinerResolution(probes[i].length, probes[reference].length)) reference = i;
    }
    return {probes[0].kind, probes[reference].setup};
}

ElementPath PathOfColumns(const ElementColumns& read) {
    ElementPath path;
    path.axisCount = read.axisCount;
    path.slaves = read.slaves;
    path.unitKind = read.unitKind;
    path.units = read.setup->GetUnits();
    const CMC_ArrayParameter& acceleration = *read.columns[kColumnAcceleration];
    const CMC_ArrayParameter& speed = *read.columns[kColumnSpeed];
    ColumnUnits& names = path.columnUnits;
    for (size_t i = 0; i < static_cast<size_t>(read.axisCount); ++i)
        names.position[i] = read.columns[kColumnX + i]->GetSelectedUnit().str();
    names.acceleration = acceleration.GetSelectedUnit().str();
    names.speed = speed.GetSelectedUnit().str();
    path.scales = ScalesOf(path.units, names, path.unitKind != UnitKind::None);
    const int count = read.columns[kColumnX]->GetValuesCount();
    path.segments.resize(static_cast<size_t>(count));
    for (int s = 0; s < count; ++s) {
        PathSegment& segment = path.segments[static_cast<size_t>(s)];
        for (size_t i = 0; i < static_cast<size_t>(read.axisCount); ++i)
            segment.counts[i] =
                static_cast<std::int64_t>(read.columns[kColumnX + i]->GetValueInInternalUnit(s));
        segment.accelerationLiteral = acceleration.GetValueInInternalUnit(s);
        segment.speedLiteral = speed.GetValueInInternalUnit(s);
    }
    return path;
}

double CountLength(const PathSegment& segment) {
    double square = 0.0;
    for (std::int64_t count : segment.counts) {
        const double c = static_cast<double>(count);
        square += c * c;
    }
    return std::sqrt(square);
}

std::string PositionUnitName(const ElementPath& path, int axis) {
    const std::string& name = path.columnUnits.position[static_cast<size_t>(axis)];
    return name.empty() ? "counts" : name;
}

double ElementPath::Increment(std::size_t segment, int axis) const {
    const size_t a = static_cast<size_t>(axis);
    return scales.position[a].ToColumn(static_cast<double>(segments[segment].counts[a]));
}

double ElementPath::Acceleration(std::size_t segment) const {
    return scales.acceleration.ToColumn(segments[segment].accelerationLiteral);
}

double ElementPath::Speed(std::size_t segment) const {
    return scales.speed.ToColumn(segments[segment].speedLiteral);
}

namespace {

// The host's messages end each in CR LF; one line for the user.
std::string OneLine(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return text;
}

}  // namespace

ElementPath ReadElementPath(std::string_view elementText, const std::string& sourceName,
                            CMC_Setup& controller, CMC_Motion& motion) {
    ElementReader reader(controller, motion);
    CString error;
    if (!reader.ReadParameters(CString(elementText), error))
        throw PathError(SourcePlace{sourceName}, OneLine(error.str()));
    return std::move(reader.Path());
}
