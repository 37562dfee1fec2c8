#include "host/CMC_Unit.h"

CMC_Unit::CMC_Unit(const char* name, UnitFamily family, UnitQuantity quantity, double factor,
                   const char* baseName)
    : CMC_Unit(name, family, quantity, factor, baseName, factor) {}

CMC_Unit::CMC_Unit(const char* name, UnitFamily family, UnitQuantity quantity, double factor,
                   const char* baseName, double factorInBase)
    : m_name(name),
      m_family(family),
      m_quantity(quantity),
      m_factor(factor),
      m_baseName(baseName),
      m_factorInBase(factorInBase) {}
