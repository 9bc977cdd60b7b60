#include "platform/win/frame/Menu.h"

#include "platform/core/CmdUI.h"
#include "platform/core/Resource.h"
#include "platform/win/WinUser.h"
#include "platform/win/frame/FrameWnd.h"
#include "platform/win/frame/MenuQt.h"
#include "platform/win/frame/ModalRunQt.h"
#include "platform/win/frame/WndQt.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>

#include <memory>
#include <vector>

struct HMENU__ {
    struct Item {
        UINT nFlags = 0;
        UINT nID = 0;
        CString strText;
        HMENU hSubMenu = nullptr; // owned
    };
    std::vector<Item> items;
    // The object GetSubMenu hands out for this menu; it does not own the menu.
    std::unique_ptr<CMenu> pWrapper;

    ~HMENU__() {
        for (Item& item : items)
            delete item.hSubMenu;
    }
};

namespace {

HMENU BuildMenu(const std::vector<AFX_MENU_ITEM>& items) {
    auto* hMenu = new HMENU__;
    for (const AFX_MENU_ITEM& src : items) {
        HMENU__::Item item;
        item.nFlags = src.nFlags;
        item.nID = src.nID;
        item.strText = src.lpszText;
        if (src.nFlags & MF_POPUP)
            item.hSubMenu = BuildMenu(src.items);
        hMenu->items.push_back(std::move(item));
    }
    return hMenu;
}

const HMENU__::Item* ItemAt(HMENU hMenu, int nPos) {
    if (!hMenu || nPos < 0 || std::size_t(nPos) >= hMenu->items.size())
        return nullptr;
    return &hMenu->items[std::size_t(nPos)];
}

constexpr char kCommandProperty[] = "vl_command";

// A menu opened under the pointer by a click lies under the second press of a double click;
// that press and its release belong to the click, not to the menu's first item.
class CDoubleClickRest : public QObject {
public:
    CDoubleClickRest(QMenu* pMenu, QPoint ptOpened) : QObject(pMenu), m_ptOpened(ptOpened) {
        m_shown.start();
        pMenu->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* /*pObject*/, QEvent* pEvent) override {
        const QEvent::Type type = pEvent->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
            type != QEvent::MouseButtonRelease)
            return false;
        const QPoint pt = static_cast<QMouseEvent*>(pEvent)->globalPosition().toPoint();
        return m_shown.elapsed() < QApplication::doubleClickInterval() &&
               (pt - m_ptOpened).manhattanLength() <= QApplication::startDragDistance();
    }

private:
    QElapsedTimer m_shown;
    QPoint m_ptOpened;
};

} // namespace

HMENU LoadMenu(HINSTANCE hInstance, LPCTSTR lpMenuName) {
    if (!IS_INTRESOURCE(lpMenuName))
        return nullptr;
    const UINT nID = UINT(reinterpret_cast<std::uintptr_t>(lpMenuName));
    const AFX_RESOURCE* pRes = AfxFindResource(hInstance, nID, RT_MENU);
    if (!pRes)
        return nullptr;
    return BuildMenu(static_cast<const AFX_MENU_ITEM*>(pRes->pData)->items);
}

BOOL DestroyMenu(HMENU hMenu) {
    if (!hMenu)
        return FALSE;
    delete hMenu;
    return TRUE;
}

HINSTANCE AfxFindResourceHandle(LPCTSTR /*lpszName*/, UINT /*nType*/) {
    // The program has one resource module, which holds all its resources.
    return AfxGetResourceHandle();
}

void AfxFillQMenu(QMenu* pMenu, HMENU hMenu) {
    for (const HMENU__::Item& item : hMenu->items) {
        if (item.nFlags & MF_SEPARATOR) {
            pMenu->addSeparator();
        } else if (item.hSubMenu) {
            QMenu* pSub = pMenu->addMenu(AfxToQString(item.strText));
            AfxFillQMenu(pSub, item.hSubMenu);
        } else {
            // "Text\tKey": the key is shown in the menu's key column as the resource words it
            // ("Strg+Q" in German), not as Qt would name the key.
            QAction* pAction = pMenu->addAction(AfxToQString(item.strText));
            pAction->setProperty(kCommandProperty, item.nID);
            pAction->setEnabled((item.nFlags & (MF_GRAYED | MF_DISABLED)) == 0);
            pAction->setCheckable((item.nFlags & MF_CHECKED) != 0);
            pAction->setChecked((item.nFlags & MF_CHECKED) != 0);
        }
    }
}

UINT AfxCommandOfAction(const QAction* pAction) {
    const QVariant v = pAction ? pAction->property(kCommandProperty) : QVariant();
    return v.isValid() ? v.toUInt() : 0;
}

void AfxUpdateQMenu(QMenu* pMenu, const std::function<bool(UINT)>& isEnabled) {
    for (QAction* pAction : pMenu->actions()) {
        if (QMenu* pSub = pAction->menu())
            AfxUpdateQMenu(pSub, isEnabled);
        else if (const UINT nID = AfxCommandOfAction(pAction))
            pAction->setEnabled(isEnabled(nID));
    }
}

IMPLEMENT_DYNCREATE(CMenu, CObject)

CMenu::CMenu() = default;

CMenu::~CMenu() {
    if (m_bOwned)
        DestroyMenu();
}

BOOL CMenu::LoadMenu(UINT nIDResource) {
    return Attach(::LoadMenu(AfxGetResourceHandle(), MAKEINTRESOURCE(nIDResource)));
}

BOOL CMenu::Attach(HMENU hMenu) {
    if (!hMenu || m_hMenu)
        return FALSE;
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU hMenu = m_hMenu;
    m_hMenu = nullptr;
    return hMenu;
}

BOOL CMenu::DestroyMenu() {
    return ::DestroyMenu(Detach());
}

CMenu* CMenu::GetSubMenu(int nPos) const {
    const HMENU__::Item* pItem = ItemAt(m_hMenu, nPos);
    if (!pItem || !pItem->hSubMenu)
        return nullptr;
    HMENU hSub = pItem->hSubMenu;
    if (!hSub->pWrapper) {
        hSub->pWrapper = std::make_unique<CMenu>();
        hSub->pWrapper->m_bOwned = false;
        hSub->pWrapper->m_hMenu = hSub;
    }
    return hSub->pWrapper.get();
}

UINT CMenu::GetMenuItemCount() const {
    return m_hMenu ? UINT(m_hMenu->items.size()) : UINT(-1);
}

UINT CMenu::GetMenuItemID(int nPos) const {
    const HMENU__::Item* pItem = ItemAt(m_hMenu, nPos);
    if (!pItem)
        return 0;
    return pItem->hSubMenu ? UINT(-1) : pItem->nID;
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
    rString.Empty();
    if (!m_hMenu)
        return 0;
    const HMENU__::Item* pFound = nullptr;
    if (nFlags & MF_BYPOSITION) {
        pFound = ItemAt(m_hMenu, int(nIDItem));
    } else {
        for (const HMENU__::Item& item : m_hMenu->items) {
            if (!item.hSubMenu && !(item.nFlags & MF_SEPARATOR) && item.nID == nIDItem)
                pFound = &item;
        }
    }
    if (pFound)
        rString = pFound->strText;
    return rString.GetLength();
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, const RECT* /*lpRect*/) {
    if (!m_hMenu || !pWnd)
        return FALSE;
    const HWND hWndOwner = pWnd->m_hWnd;
    QMenu menu(AfxGetWidget(hWndOwner));
    AfxFillQMenu(&menu, m_hMenu);
    // Greyed by the owner's route, as a frame greys its menu bar's pop-ups.
    AfxUpdateQMenu(&menu, [pWnd](UINT nID) {
        CCmdUI state(nID);
        return state.DoUpdate(pWnd, TRUE) != 0;
    });

    const QPoint ptGlobal = AfxDeviceToGlobal(POINT{x, y});
    new CDoubleClickRest(&menu, ptGlobal);
    QPointer<QAction> pChosen;
    {
        const CModalRunScope run(&menu);
        pChosen = menu.exec(ptGlobal);
    }
    const UINT nID = AfxCommandOfAction(pChosen.data());
    if (nFlags & TPM_RETURNCMD)
        return BOOL(nID);
    if (nID != 0)
        ::SendMessage(hWndOwner, WM_COMMAND, nID, 0);
    return TRUE;
}
