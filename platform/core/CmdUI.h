// CCmdUI: asks the command route whether a command is enabled, for a menu item, a tool bar
// button or an accelerator.
#pragma once

#include "platform/core/CmdTarget.h"

class CCmdUI {
public:
    explicit CCmdUI(UINT nID) : m_nID(nID) {}
    virtual ~CCmdUI() = default;

    virtual void Enable(BOOL bOn = TRUE);

    // Offers the command to pTarget's update handlers; without one, the command is enabled
    // exactly when it has a handler (if bDisableIfNoHndler). Returns whether it is enabled.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    UINT m_nID;
    BOOL m_bEnabled = TRUE;
    BOOL m_bEnableChanged = FALSE;
};
