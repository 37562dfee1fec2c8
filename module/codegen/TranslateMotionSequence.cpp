// The translation export: an element's parameter text into program text, or its problems.
#include "module/model/CInternalData.h"
#include "module/plugin/VantrelExports.h"

int TranslateMotionSequence(CMC_Setup& setup, CMC_Motion& motion, const CString& text,
                            CString& code) {
    CInternalData data(setup, motion);
    CString error;
    code.Empty();
    if (data.ReadParameters(text, error)) {
        code = data.GenerateMotionCode();
        return 1;
    }
    code = error;
    return 0;
}
