// Probing the chosen axes, deriving unit kind and resolution ratios, binding the columns.
#include <cstdint>
#include <memory>

#include "host/AxisResolution.h"
#include "host/CMC_AxisData.h"
#include "host/CMC_Motion.h"
#include "host/CMC_Setup.h"
#include "host/CMC_Unit.h"
#include "host/CMC_Units.h"
#include "host/CMC_Variable.h"
#include "module/model/CInternalData.h"

namespace {

enum UnitKind { kNoUnits = 0, kRotary = 1, kLinear = 2 };

struct AxisProbe {
    int slave = 0;
    CMC_Setup* setup = nullptr;
    CMC_Variable* position = nullptr;
    const CMC_Unit* baseUnit = nullptr;
    double length = 0.0;  // of 1000 internal position units, in the base unit
};

struct ColumnUnits {
    const char* acceleration;
    const char* speed;
    const char* position;
};

ColumnUnits UnitsOfKind(int kind) {
    if (kind == kLinear) return {"m/s^2", "m/s", "mm"};
    if (kind == kRotary) return {"rad/s^2", "rad/s", "rot"};
    return {"", "", ""};
}

int KindOfBaseUnit(const CMC_Units& units, const CMC_Unit& base) {
    if (units.CompatibleUnits("mm", base.GetUnitName())) return kLinear;
    if (units.CompatibleUnits("rad", base.GetUnitName())) return kRotary;
    return kNoUnits;
}

// Fills the probe of one axis; the kind it finds, or kNoUnits when the axis cannot be used.
int ProbeAxis(CMC_Motion& motion, AxisProbe& probe) {
    CMC_AxisData* axis = motion.GetMotionControllerSlaveAxis(probe.slave);
    if (!axis) return kNoUnits;
    probe.setup = axis->GetAxisSetup();
    if (!probe.setup) return kNoUnits;
    probe.position = probe.setup->FindVariable("TPOS", 1);
    if (!probe.position) return kNoUnits;
    CMC_Units& units = probe.setup->GetUnits();
    probe.baseUnit = units.FindBaseUnit(CMC_Units::DumpIUOfUnit(probe.position->GetUnitName()));
    if (!probe.baseUnit) return kNoUnits;
    return KindOfBaseUnit(units, *probe.baseUnit);
}

bool MeasureAxis(AxisProbe& probe) {
    probe.position->SetValueInInternalUnit(1000.0);
    probe.length = probe.position->GetValueInBaseUnit();
    return probe.length > 0.0;  // also false for a length that is not a number
}

}  // namespace

void CInternalData::UpdateAxesAndUnits() {
    const int axisCount = m_nProfileType == 1 ? 3 : 2;
    AxisProbe probes[3];
    probes[0].slave = m_nSlaveX;
    probes[1].slave = m_nSlaveY;
    if (axisCount == 3) probes[2].slave = m_nSlaveZ;
    m_nUnitKind = kNoUnits;

    for (int i = 0; i < axisCount; ++i) {
        const int kind = ProbeAxis(*m_pMotion, probes[i]);
        const bool fits = i == 0 ? kind != kNoUnits
                                 : kind == m_nUnitKind && probes[i].baseUnit &&
                                       *probes[i].baseUnit == *probes[i - 1].baseUnit;
        if (!fits || !MeasureAxis(probes[i])) {
            m_nUnitKind = kNoUnits;
            break;
        }
        if (i == 0) m_nUnitKind = kind;
    }

    int reference = 0;
    m_nResolutionRatio[0] = m_nResolutionRatio[1] = m_nResolutionRatio[2] = 0;
    if (m_nUnitKind != kNoUnits) {
        for (int i = 1; i < axisCount; ++i) {
            if (IsFinerResolution(probes[i].length, probes[reference].length)) reference = i;
        }
        for (int i = 0; i < axisCount; ++i) {
            if (i == reference) continue;
            const double shortest = probes[reference].length;
            const double quotient =
                IsFinerResolution(shortest, probes[i].length) ? shortest / probes[i].length : 1.0;
            const double ratio = quotient * 4294967296.0;
            // The quotient lies in (0, 1]: 2^32 (equal resolution) keeps its low 32 bits, 0.
            m_nResolutionRatio[i] = static_cast<std::uint32_t>(static_cast<std::int64_t>(ratio));
        }
    }

    // Without a setup for X (the motion does not know the slave, or it has no drive) the
    // columns are bound to the controller's setup: it always exists, and its internal units
    // belong to no family, so the columns carry plain numbers.
    CMC_Setup* setup = probes[reference].setup ? probes[reference].setup : m_pSetup;
    const ColumnUnits units = UnitsOfKind(m_nUnitKind);
    RebindArrayParam(m_pAcceleration, setup, units.acceleration);
    RebindArrayParam(m_pSpeed, setup, units.speed);
    RebindArrayParam(m_pPositionX, setup, units.position);
    RebindArrayParam(m_pPositionY, setup, units.position);
    RebindArrayParam(m_pPositionZ, setup, units.position);
    // A rebuilt column has no limits; acceleration and speed stay non-negative whatever the
    // axes are.
    m_pAcceleration->SetMinInInternalUnit(0.0);
    m_pSpeed->SetMinInInternalUnit(0.0);
}

void CInternalData::RebindArrayParam(CMC_ArrayParameter*& column, CMC_Setup* setup,
                                     const char* unit) {
    // The model's column pointers own their columns; its destructor deletes them.
    if (!column) {
        column = std::make_unique<CMC_ArrayParameter>(setup).release();
        return;
    }
    CMC_Units& units = setup->GetUnits();
    const bool compatible = units.CompatibleUnits(unit, column->GetUnitName()) != 0;
    if (column->GetSetup() == setup && compatible) return;

    const int type = column->GetType();
    const CString name = column->GetName();
    CString newUnit;
    if (compatible) {
        newUnit = column->GetUnitName();
    } else {
        // Across families the values travel as internal numbers.
        newUnit = CMC_Units::GetIUOfUnit(unit);
        column->ChangeUnit(CMC_Units::GetIUOfUnit(column->GetUnitName()));
    }
    CString saved;
    column->SaveData(saved);
    // Held here until it replaces the old column, so that a throw on the way loses neither.
    auto rebuilt = std::make_unique<CMC_ArrayParameter>(setup);
    if (!rebuilt->InitializeMotionParam(type, name, newUnit, saved, MC_UNSET_LIMIT,
                                        MC_UNSET_LIMIT)) {
        // The values do not fit the new setup (a far finer drive): they are stored as near as
        // its type allows, rather than losing the whole column.
        if (!rebuilt->InitializeMotionParam(type, name, newUnit, "", MC_UNSET_LIMIT,
                                            MC_UNSET_LIMIT))
            rebuilt->InitializeMotionParam(type, name, "", "", MC_UNSET_LIMIT, MC_UNSET_LIMIT);
        for (int i = 0; i < column->GetValuesCount(); ++i)
            rebuilt->InsertValueAt(i, column->GetValue(i));
    }
    const std::unique_ptr<CMC_ArrayParameter> replaced(column);
    column = rebuilt.release();
}
