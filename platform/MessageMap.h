// Message maps: static tables that bind command notifications to handler functions.
//
// In the class:      DECLARE_MESSAGE_MAP()
// In the .cpp file:  BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//                        ON_BN_CLICKED(IDC_NEXT, &CMyDlg::OnNext)
//                    END_MESSAGE_MAP()
// Handlers take no arguments and return nothing. Commands the map does not bind go on to the
// base class's map.
#pragma once

#include "platform/AfxTypes.h"
#include "platform/WinDefs.h"

class CCmdTarget;

// Every handler is stored as a member of CCmdTarget; it is called on the derived object.
using AFX_PMSG = void (CCmdTarget::*)();

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // WM_COMMAND; 0 ends the table
    UINT nCode;     // notification code
    UINT nID;       // first control or command id
    UINT nLastID;   // last id of the range
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                     \
  protected:                                      \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                 \
        using ThisClass [[maybe_unused]] = theClass;                                  \
        using TheBaseClass = baseClass;                                               \
        static const AFX_MSGMAP_ENTRY messageEntries[] = {
// clang-format off
#define END_MESSAGE_MAP()                                                                    \
            {0, 0, 0, 0, nullptr}};                                                          \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, messageEntries}; \
        return &messageMap;                                                                  \
    }
// clang-format on

#define ON_CONTROL(code, id, memberFxn)                                                 \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), \
     static_cast<AFX_PMSG>(memberFxn)},
#define ON_COMMAND(id, memberFxn) ON_CONTROL(0, id, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
