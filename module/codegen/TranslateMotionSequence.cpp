// The translation export: an element's parameter text into program text, or its problems.
#include "module/model/CInternalData.h"
#include "module/plugin/VantrelExports.h"

int TranslateMotionSequence(CMC_Setup& setup, CMC_Motion& motion, const CString& text,
                            CString& code) {
    CInternalData data(setup, motion);
    CString error;
    code.Empty();
    if (data.ReadParameters(text, error)) {
        // Nothing is saved: the program's storage may take the read texts' place.
        for (CMC_ArrayParameter* column : data.Columns()) column->ForgetReadTexts();
        code = data.GenerateMotionCode();
        return 1;
    }
    code = error;
    return 0;
}
