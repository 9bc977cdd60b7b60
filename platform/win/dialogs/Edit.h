// CEdit: a window object for an edit field; its messages reach the field.
#pragma once

#include "platform/win/CommCtrl.h" // EM_SETSEL, EM_SCROLLCARET
#include "platform/win/frame/Wnd.h"

// Edit messages beyond those in CommCtrl.h, and the edit field's notifications.
constexpr UINT EM_GETSEL = 0x00B0;
constexpr WORD EN_SETFOCUS = 0x0100;

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    CEdit();
    ~CEdit() override;
};
