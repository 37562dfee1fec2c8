// The identity exports, IsEnabled and the default element.
#include "host/CMC_Setup.h"
#include "module/model/CInternalData.h"
#include "module/plugin/VantrelExports.h"

const char* GetClassName() { return "Motion"; }

const char* GetName() { return "Linear Interpolation"; }

int GetOrderID() { return 4100; }

int IsEnabled(CMC_Setup* setup) {
    // A host that passes no setup gets "not usable" rather than a crash.
    if (!setup) return 0;
    if (!setup->IsMotionController()) return 0;
    if (!setup->FindVariable("CACC", 1)) return 0;
    if (!setup->FindVariable("CSPD", 1)) return 0;
    if (!setup->FindVariable("TPOS", 1)) return 0;
    return 1;
}

void GetDefaultParameters(CMC_Setup& setup, CMC_Motion& motion, CString& text) {
    CInternalData data(setup, motion);
    text = data.GetDefaultParameterText();
}
