// CWnd: a window object with its window procedure; messages reach it synchronously.
#pragma once

#include "platform/core/CmdTarget.h"
#include "platform/core/String.h"
#include "platform/win/WinUser.h"

class CWndClassProc;

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    // The window object of a handle, or null when the handle names no window.
    static CWnd* FromHandle(HWND hWnd);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Sends the message to every window inside this one (not to this one).
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // Creates a child window (or a top-level one without a parent). pContext reaches WM_CREATE
    // as the creation record's lpCreateParams.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID, void* pContext = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                  int x, int y, int nWidth, int nHeight, HWND hWndParent, UINT nID,
                  void* lpParam = nullptr);
    // Destroys the window and its children; the object itself lives on (see PostNcDestroy).
    BOOL DestroyWindow();

    BOOL ShowWindow(int nCmdShow);
    void UpdateWindow();
    BOOL IsWindowVisible() const;
    void MoveWindow(int x, int y, int nWidth, int nHeight);
    BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const;
    // A place off every screen is left to the window manager, a size larger than the screen
    // is cut to it.
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl);
    void GetClientRect(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    CWnd* GetParent() const;
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    void SetWindowText(LPCTSTR lpszString);
    void GetWindowText(CString& rString) const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    CWnd* SetFocus();
    // The window that has the keyboard, or null.
    static CWnd* GetFocus();
    DWORD GetStyle() const;

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A notification of this window's, offered back to its own map before its parent's.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

protected:
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Called after the window is gone; frames and views delete themselves here.
    virtual void PostNcDestroy();

    friend class CWndManager;

private:
    // The procedure of the window's class (a control's), kept at hand as the framework keeps a
    // subclassed window's: a list rebuild sends it hundreds of thousands of messages.
    CWndClassProc* m_pfnSuper = nullptr;
};
