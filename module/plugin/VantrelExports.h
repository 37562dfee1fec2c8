// The exports of the Linear Interpolation module, resolved by the host by their plain names.
#pragma once

class CString;
class CMC_Setup;
class CMC_Motion;

// Only these leave the module; everything else in it is hidden.
#define VANTREL_EXPORT __attribute__((visibility("default")))

extern "C" {
// The element's class: "Motion".
VANTREL_EXPORT const char* GetClassName();
// The element's name: "Linear Interpolation".
VANTREL_EXPORT const char* GetName();
// The element's place in the host's element list: 4100.
VANTREL_EXPORT int GetOrderID();
// 1 when setup is a motion controller with the variables CACC, CSPD and TPOS, else 0.
VANTREL_EXPORT int IsEnabled(CMC_Setup* setup);
// Replaces text with the parameter text of a new element.
VANTREL_EXPORT void GetDefaultParameters(CMC_Setup& setup, CMC_Motion& motion, CString& text);
// 1 and the program text in code, or 0 and the element's problems in code.
VANTREL_EXPORT int TranslateMotionSequence(CMC_Setup& setup, CMC_Motion& motion,
                                           const CString& text, CString& code);
// 1 when the user confirmed the editor, which then rewrote text; 0 leaves text untouched.
VANTREL_EXPORT int EditMotionSequence(CMC_Setup& setup, CMC_Motion& motion, CString& text);
}

// Function types of the exports, for hosts that resolve them at run time.
using GetClassNameFn = const char* (*)();
using GetNameFn = const char* (*)();
using GetOrderIDFn = int (*)();
using IsEnabledFn = int (*)(CMC_Setup*);
using GetDefaultParametersFn = void (*)(CMC_Setup&, CMC_Motion&, CString&);
using TranslateMotionSequenceFn = int (*)(CMC_Setup&, CMC_Motion&, const CString&, CString&);
using EditMotionSequenceFn = int (*)(CMC_Setup&, CMC_Motion&, CString&);
