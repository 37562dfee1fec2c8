// Base of every class that receives commands through a message map.
#pragma once

#include "platform/CObject.h"
#include "platform/MessageMap.h"

class CCmdTarget : public CObject {
  public:
    // Runs the handler that the message map chain binds to (id, code); TRUE when one ran.
    BOOL OnCmdMsg(UINT nID, UINT nCode);

    virtual const AFX_MSGMAP* GetMessageMap() const;

  protected:
    // The root of every map chain: binds nothing.
    static const AFX_MSGMAP* GetThisMessageMap();
};
