// Internal to platform/win: the Qt side of windows. Every window handle names a CWnd and the
// QWidget that shows it; window classes make the widget and answer their own messages.
#pragma once

#include "platform/core/String.h"
#include "platform/win/frame/Wnd.h"

#include <QPoint>
#include <QString>

#include <memory>

class QWidget;

// The procedure of a window class ("SysListView32" ...): the messages that CWnd::WindowProc
// leaves to DefWindowProc end here. It lives as long as the window's widget.
class CWndClassProc {
public:
    virtual ~CWndClassProc() = default;
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

// Makes the widget of a new window of a class (a child of pParent, or top-level) and the
// procedure that answers the class's messages; the procedure must be owned by the widget.
using AfxWndClassFactory = QWidget* (*)(CWnd* pWnd, const CREATESTRUCT& cs, QWidget* pParent,
                                        CWndClassProc** ppProc);
void AfxRegisterWndClass(const std::u16string& className, AfxWndClassFactory factory);

// Gives pWnd a handle for a widget made elsewhere (dialogs, their controls). When Qt deletes
// the widget the handle goes away and pWnd's m_hWnd becomes null.
void AfxAttachWidget(CWnd* pWnd, QWidget* pWidget, UINT nID = 0, DWORD dwStyle = 0);
QWidget* AfxGetWidget(HWND hWnd);
inline QWidget* AfxGetWidget(const CWnd* pWnd) {
    return pWnd ? AfxGetWidget(pWnd->m_hWnd) : nullptr;
}
// The window object whose widget this is (not its parent's), or null.
CWnd* AfxWndFromWidget(const QWidget* pWidget);

// The handheld's screen: the main window's size at the first start, and the widest a dialog
// or message box may be where the desktop places them.
constexpr int AFX_DEVICE_CX = 240;
constexpr int AFX_DEVICE_CY = 320;

// Whether a window manager frames the program's windows with a title bar of its own, so that
// dialogs need no caption strip of their own; judged on X11 by the main window's frame, and
// always so on Wayland.
bool AfxWindowManagerDrawsCaptions();

// The widget whose client top-left corner is the device screen's origin: the main window.
QWidget* AfxGetDeviceWidget();
QPoint AfxDeviceToGlobal(POINT ptDevice);
POINT AfxGlobalToDevice(QPoint ptGlobal);
// Records the device position of mouse input for GetMessagePos (installed once).
void AfxInstallMessagePosTracker();
// Input that comes without the mouse (a screen reader's action) and stands for a tap there.
void AfxSetMessagePos(POINT ptDevice);

// Both strings are UTF-16, so these are copies.
inline QString AfxToQString(LPCTSTR psz) {
    return psz ? QString::fromUtf16(psz) : QString();
}
inline QString AfxToQString(const CString& s) {
    return QString::fromUtf16(s.str().data(), qsizetype(s.str().size()));
}
inline CString AfxFromQString(const QString& s) {
    return CString(
        std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), std::size_t(s.size())));
}
