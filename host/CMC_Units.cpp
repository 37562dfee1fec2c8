#include "host/CMC_Units.h"

#include <numbers>
#include <string_view>

namespace {
struct PhysicalUnit {
    const char* name;
    UnitFamily family;
    UnitQuantity quantity;
    double factor;  // in the family's reference unit
    const char* base;
    double factorInBase;
};

constexpr double kPi = std::numbers::pi;
constexpr double kInch = 0.0254;

using F = UnitFamily;
using Q = UnitQuantity;

// The physical units every catalogue knows, in catalogue order.
constexpr PhysicalUnit kPhysicalUnits[] = {
    {"m", F::Length, Q::Position, 1.0, "m", 1.0},
    {"mm", F::Length, Q::Position, 1e-3, "m", 1e-3},
    {"um", F::Length, Q::Position, 1e-6, "m", 1e-6},
    {"in", F::Length, Q::Position, kInch, "in", 1.0},
    {"mil", F::Length, Q::Position, kInch * 1e-3, "in", 1e-3},
    {"rad", F::Angle, Q::Position, 1.0, "rad", 1.0},
    {"deg", F::Angle, Q::Position, kPi / 180.0, "rad", kPi / 180.0},
    {"rot", F::Angle, Q::Position, 2.0 * kPi, "rad", 2.0 * kPi},
    {"m/s", F::LinearSpeed, Q::Speed, 1.0, "m/s", 1.0},
    {"mm/s", F::LinearSpeed, Q::Speed, 1e-3, "m/s", 1e-3},
    {"in/s", F::LinearSpeed, Q::Speed, kInch, "in/s", 1.0},
    {"rad/s", F::AngularSpeed, Q::Speed, 1.0, "rad/s", 1.0},
    {"rot/s", F::AngularSpeed, Q::Speed, 2.0 * kPi, "rad/s", 2.0 * kPi},
    {"rpm", F::AngularSpeed, Q::Speed, 2.0 * kPi / 60.0, "rad/s", 2.0 * kPi / 60.0},
    {"m/s^2", F::LinearAcceleration, Q::Acceleration, 1.0, "m/s^2", 1.0},
    {"mm/s^2", F::LinearAcceleration, Q::Acceleration, 1e-3, "m/s^2", 1e-3},
    {"in/s^2", F::LinearAcceleration, Q::Acceleration, kInch, "in/s^2", 1.0},
    {"rad/s^2", F::AngularAcceleration, Q::Acceleration, 1.0, "rad/s^2", 1.0},
    {"rot/s^2", F::AngularAcceleration, Q::Acceleration, 2.0 * kPi, "rad/s^2", 2.0 * kPi},
};

constexpr UnitQuantity kQuantities[] = {Q::Position, Q::Speed, Q::Acceleration};

const PhysicalUnit* FindPhysicalUnit(const char* name) {
    if (!name) return nullptr;
    for (const PhysicalUnit& unit : kPhysicalUnits) {
        if (std::string_view(unit.name) == name) return &unit;
    }
    return nullptr;
}

UnitQuantity QuantityOfInternalUnit(const char* name) {
    if (!name) return Q::None;
    for (UnitQuantity quantity : kQuantities) {
        if (std::string_view(CMC_Units::InternalUnitName(quantity)) == name) return quantity;
    }
    return Q::None;
}

// Internal units further from their physical units than this would turn values into zero or
// infinity (and their products into NaN) on the way between them; such a drive gets internal
// units of no family instead.
constexpr double kSmallestSize = 1e-100;
constexpr double kLargestSize = 1e100;

bool IsCarriedSize(double size) { return size >= kSmallestSize && size <= kLargestSize; }

UnitFamily FamilyOf(UnitFamily positionFamily, UnitQuantity quantity) {
    const bool linear = positionFamily == F::Length;
    switch (quantity) {
        case Q::Speed:
            return linear ? F::LinearSpeed : F::AngularSpeed;
        case Q::Acceleration:
            return linear ? F::LinearAcceleration : F::AngularAcceleration;
        default:
            return positionFamily;
    }
}

// The base of a derived quantity follows the position's base: m -> m/s -> m/s^2.
CString BaseNameOf(const char* positionBase, UnitQuantity quantity) {
    CString name(positionBase);
    if (quantity == Q::Speed) name += "/s";
    if (quantity == Q::Acceleration) name += "/s^2";
    return name;
}

// One sample to the power of the quantity's time order.
double TimeDivisor(double sampleTime, UnitQuantity quantity) {
    if (quantity == Q::Speed) return sampleTime;
    if (quantity == Q::Acceleration) return sampleTime * sampleTime;
    return 1.0;
}

// The size of the drive's internal unit of quantity in the position's unit (factor) or base.
double InternalSize(const DriveScale& drive, double factor, UnitQuantity quantity) {
    return drive.travelPerRev / drive.countsPerRev * factor /
           TimeDivisor(drive.sampleTime, quantity);
}

bool IsUsableScale(const DriveScale& drive, const PhysicalUnit& position) {
    for (UnitQuantity quantity : kQuantities) {
        if (!IsCarriedSize(InternalSize(drive, position.factor, quantity)) ||
            !IsCarriedSize(InternalSize(drive, position.factorInBase, quantity)))
            return false;
    }
    return true;
}
}  // namespace

CMC_Units::CMC_Units() {
    AddPhysicalUnits();
    for (UnitQuantity quantity : kQuantities) {
        const char* name = InternalUnitName(quantity);
        m_units.emplace_back(name, F::None, quantity, 1.0, name);
    }
}

CMC_Units::CMC_Units(const DriveScale& drive) {
    AddPhysicalUnits();
    const PhysicalUnit* position = FindPhysicalUnit(drive.positionUnit);
    const bool usable =
        position && position->quantity == Q::Position && IsUsableScale(drive, *position);
    for (UnitQuantity quantity : kQuantities) {
        const char* name = InternalUnitName(quantity);
        if (!usable) {
            m_units.emplace_back(name, F::None, quantity, 1.0, name);
            continue;
        }
        m_units.emplace_back(name, FamilyOf(position->family, quantity), quantity,
                             InternalSize(drive, position->factor, quantity),
                             BaseNameOf(position->base, quantity),
                             InternalSize(drive, position->factorInBase, quantity));
    }
}

void CMC_Units::AddPhysicalUnits() {
    m_units.reserve(std::size(kPhysicalUnits) + std::size(kQuantities));
    for (const PhysicalUnit& unit : kPhysicalUnits) {
        m_units.emplace_back(unit.name, unit.family, unit.quantity, unit.factor, unit.base,
                             unit.factorInBase);
    }
}

const CMC_Unit* CMC_Units::FindUnit(const char* name) const {
    if (!name || !*name) return nullptr;
    for (const CMC_Unit& unit : m_units) {
        if (unit.GetUnitName() == name) return &unit;
    }
    return nullptr;
}

const CMC_Unit* CMC_Units::FindBaseUnit(const char* name) const {
    const CMC_Unit* unit = FindUnit(name);
    return unit ? FindUnit(unit->GetBaseUnitName()) : nullptr;
}

int CMC_Units::CompatibleUnits(const char* first, const char* second) const {
    const CMC_Unit* a = FindUnit(first);
    const CMC_Unit* b = FindUnit(second);
    if (!a || !b || a->GetFamily() != b->GetFamily()) return 0;
    if (a->GetFamily() == F::None) return a->GetUnitName() == b->GetUnitName() ? 1 : 0;
    return 1;
}

bool CMC_Units::Convert(double& v, const char* from, const char* to) const {
    double numerator = 1.0;
    double denominator = 1.0;
    if (!ConversionFactors(from, to, numerator, denominator)) return false;
    v = v * numerator / denominator;
    return true;
}

// Units of one base convert by their sizes in that base, which keeps 1000 mil exactly 1 in.
bool CMC_Units::ConversionFactors(const char* from, const char* to, double& numerator,
                                  double& denominator) const {
    if (!CompatibleUnits(from, to)) return false;
    const CMC_Unit* a = FindUnit(from);
    const CMC_Unit* b = FindUnit(to);
    numerator = 1.0;
    denominator = 1.0;
    if (a->GetUnitName() == b->GetUnitName()) return true;
    if (a->GetBaseUnitName() == b->GetBaseUnitName()) {
        numerator = a->GetFactorInBase();
        denominator = b->GetFactorInBase();
        return true;
    }
    numerator = a->GetFactor();
    denominator = b->GetFactor();
    return true;
}

bool CMC_Units::IsUsableUnit(const char* unit) const {
    if (!unit || !*unit) return true;
    return CompatibleUnits(unit, GetIUOfUnit(unit)) != 0;
}

std::vector<const CMC_Unit*> CMC_Units::GetCompatibleUnits(const char* name) const {
    std::vector<const CMC_Unit*> units;
    for (const CMC_Unit& unit : m_units) {
        if (CompatibleUnits(name, unit.GetUnitName())) units.push_back(&unit);
    }
    return units;
}

CString CMC_Units::GetIUOfUnit(const char* unitName) {
    if (const PhysicalUnit* unit = FindPhysicalUnit(unitName)) {
        return InternalUnitName(unit->quantity);
    }
    return InternalUnitName(QuantityOfInternalUnit(unitName));
}

CString CMC_Units::DumpIUOfUnit(const char* unitName) {
    if (const PhysicalUnit* unit = FindPhysicalUnit(unitName)) return unit->base;
    return unitName ? unitName : "";
}

const char* CMC_Units::InternalUnitName(UnitQuantity quantity) {
    switch (quantity) {
        case Q::Position:
            return "IU";
        case Q::Speed:
            return "IU/Ts";
        case Q::Acceleration:
            return "IU/Ts^2";
        default:
            return "";
    }
}
