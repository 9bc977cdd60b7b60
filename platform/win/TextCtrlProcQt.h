// Internal to platform/win: the procedure of a control that has a window text (static, button,
// edit field, combo box). The three text messages are answered here, through the control's own
// text; each control answers the rest of its messages itself.
#pragma once

#include "platform/win/DialogQt.h"
#include "platform/win/WinUser.h"
#include "platform/win/WndQt.h"

#include <QString>

class CTextCtrlProc : public CWndClassProc {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) final {
        switch (message) {
        case WM_SETTEXT:
            SetWindowText(AfxToQString(reinterpret_cast<LPCTSTR>(lParam)));
            return TRUE;
        case WM_GETTEXTLENGTH:
            return WindowText().size();
        case WM_GETTEXT:
            return AfxCopyWindowText(WindowText(), wParam, lParam);
        default:
            return ControlProc(message, wParam, lParam);
        }
    }

    // The text as the program sees it: line breaks are CR LF in a control that has lines.
    virtual QString WindowText() const = 0;
    virtual void SetWindowText(const QString& text) = 0;

protected:
    virtual LRESULT ControlProc(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {
        return 0;
    }
};
