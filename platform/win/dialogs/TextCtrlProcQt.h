// Internal to platform/win: the procedure of a control that has a window text (static, button,
// edit field, combo box). The text messages are answered here, through the control's own text;
// each control answers the rest of its messages itself.
#pragma once

#include "platform/win/WinUser.h"
#include "platform/win/dialogs/DialogQt.h"
#include "platform/win/frame/WndQt.h"

#include <QString>

class CTextCtrlProc : public CWndClassProc {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) final {
        switch (message) {
        case WM_SETTEXT:
            Give(AfxToQString(reinterpret_cast<LPCTSTR>(lParam)));
            return TRUE;
        case WM_SETTEXTCOUNTED:
            Give(QString::fromUtf16(reinterpret_cast<LPCTSTR>(lParam), qsizetype(wParam)));
            return TRUE;
        case WM_GETTEXTLENGTH:
            return Text().size();
        case WM_GETTEXT:
            return AfxCopyWindowText(Text(), wParam, lParam);
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

private:
    // A widget shows a text as well as it can: a NUL, a lone CR or LF in a field with lines may
    // not come back as they went in. What was given is handed back whole as long as the user
    // has not changed what is shown.
    void Give(const QString& text) {
        SetWindowText(text);
        m_given = text;
        m_shown = WindowText();
    }
    QString Text() const {
        QString shown = WindowText();
        return shown == m_shown ? m_given : shown;
    }

    QString m_given;
    QString m_shown;
};
