// CCeCommandBar: the Windows CE command bar holding the Pocket PC menu bar and tool bar buttons.
#pragma once

#include "platform/win/frame/Wnd.h"

#include <vector>

// Control bar styles.
constexpr DWORD CBRS_SIZE_FIXED = 0x0002;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;

class CCeCommandBar : public CWnd {
    DECLARE_DYNAMIC(CCeCommandBar)
public:
    CCeCommandBar();
    ~CCeCommandBar() override;

    using CWnd::Create; // a bar is created by the overload below; the window's stays visible
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
    // Adds one text button per entry of menu bar definition nMenuBarID (RCDATA), each opening
    // its pop-up of the menu the definition names.
    BOOL InsertMenuBar(UINT nMenuBarID, WORD wButton = 0xFFFF);
    BOOL AddAdornments(DWORD dwFlags = 0);
    // Adds the buttons of tool bar nIDResource with the pictures of the bitmap of the same number.
    BOOL LoadToolBar(UINT nIDResource);

    DWORD GetBarStyle() const { return m_dwBarStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwBarStyle = dwStyle; }

    // Enables each button whose command has a handler on the owner frame's route.
    void UpdateButtons();

    // Whether the shell's shared New button leads the menu bar.
    BOOL m_bShowSharedNewButton = TRUE;

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    DWORD m_dwBarStyle = 0;
    // The tip texts as handed over: the command bar keeps the caller's pointers.
    std::vector<LPCTSTR> m_toolTips;
};
