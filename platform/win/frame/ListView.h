// CListView: a view whose window is a list control ("SysListView32"); LVM_ messages sent to
// the view are answered by the control.
#pragma once

#include "platform/win/frame/View.h"

class CListView : public CView {
    DECLARE_DYNCREATE(CListView)
public:
    CListView();
    ~CListView() override;

    void OnDraw(CDC* pDC) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    // The class and style that the creation step gives the window.
    CString m_strClass;
    DWORD m_dwDefaultStyle;
};
