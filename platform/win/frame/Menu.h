// CMenu: a menu loaded from the resources, shown as a pop-up at a device-screen point.
#pragma once

#include "platform/core/Object.h"
#include "platform/core/String.h"

class CWnd;

// Pop-up flags.
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_RETURNCMD = 0x0100;
// Menu item query flags.
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;

class CMenu : public CObject {
    DECLARE_DYNCREATE(CMenu)
public:
    CMenu();
    ~CMenu() override; // destroys a menu it still holds
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;
    operator HMENU() const { return m_hMenu; } // NOLINT: as in the framework

    BOOL LoadMenu(UINT nIDResource);
    BOOL Attach(HMENU hMenu);
    HMENU Detach();
    BOOL DestroyMenu();

    // The pop-up at nPos; the object belongs to the menu.
    CMenu* GetSubMenu(int nPos) const;
    UINT GetMenuItemCount() const;
    // The command of the item at nPos; 0 for a separator, -1 for a pop-up.
    UINT GetMenuItemID(int nPos) const;
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;

    // Shows the menu at (x, y) in device-screen coordinates and runs until the user has chosen
    // or dismissed it. The chosen command reaches pWnd as WM_COMMAND (with TPM_RETURNCMD it is
    // returned instead).
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, const RECT* lpRect = nullptr);

private:
    bool m_bOwned = true; // false for the objects GetSubMenu hands out
};

HMENU LoadMenu(HINSTANCE hInstance, LPCTSTR lpMenuName);
BOOL DestroyMenu(HMENU hMenu);
// The resource module that holds a resource of that name and type.
HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, UINT nType);
