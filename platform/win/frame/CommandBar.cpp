#include "platform/win/frame/CommandBar.h"

#include "platform/core/Resource.h"
#include "platform/core/StdIds.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/frame/FrameWnd.h"
#include "platform/win/frame/Menu.h"
#include "platform/win/frame/MenuQt.h"
#include "platform/win/frame/ModalRunQt.h"
#include "platform/win/frame/WndQt.h"
#include "platform/win/frame/XpmQt.h"

#include <QBitmap>
#include <QEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QPixmap>
#include <QShortcut>
#include <QToolButton>

namespace {

constexpr DWORD CBRS_ALL = 0x0040FFFF;
constexpr WORD I_IMAGENONE = 0xFFFE;
constexpr char kCommandProperty[] = "vl_command";
constexpr char kMenuBarProperty[] = "vl_menubar";

// The buttons in the order they were added, menu bar first.
QList<QToolButton*> Buttons(QWidget* pBar) {
    return pBar ? pBar->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly)
                : QList<QToolButton*>();
}

// The bar sits at the bottom of the window, so its pop-ups open upwards, over the list, as on
// the handheld (a tool button would drop them below the window where the screen allows).
class CPopupAboveButton : public QObject {
public:
    CPopupAboveButton(QToolButton* pButton, QMenu* pMenu) : QObject(pMenu), m_pButton(pButton) {
        pMenu->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override {
        if (pEvent->type() == QEvent::Show) {
            auto* pMenu = static_cast<QMenu*>(pObject);
            const QPoint origin = m_pButton->mapToGlobal(QPoint(0, 0));
            pMenu->move(origin.x(), origin.y() - pMenu->sizeHint().height());
        }
        return false;
    }

private:
    QToolButton* m_pButton;
};

QToolButton* AddButton(QWidget* pBar, UINT nID) {
    auto* pButton = new QToolButton(pBar);
    pButton->setProperty(kCommandProperty, nID);
    pButton->setAutoRaise(true);
    auto* pLayout = static_cast<QHBoxLayout*>(pBar->layout());
    pLayout->insertWidget(pLayout->count() - 1, pButton); // before the closing stretch
    return pButton;
}

void SendCommand(HWND hWndOwner, UINT nID) {
    ::SendMessage(hWndOwner, WM_COMMAND, nID, 0);
}

} // namespace

IMPLEMENT_DYNAMIC(CCeCommandBar, CWnd)

CCeCommandBar::CCeCommandBar() = default;
CCeCommandBar::~CCeCommandBar() = default;

BOOL CCeCommandBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    m_dwBarStyle = dwStyle & CBRS_ALL;
    if (!CreateEx(0, nullptr, nullptr, dwStyle | WS_CHILD, 0, 0, 0, 0,
                  pParentWnd ? pParentWnd->m_hWnd : nullptr, nID))
        return FALSE;
    QWidget* pBar = AfxGetWidget(m_hWnd);
    auto* pLayout = new QHBoxLayout(pBar);
    pLayout->setContentsMargins(1, 1, 1, 1);
    pLayout->setSpacing(0);
    pLayout->addStretch(1);
    pBar->setAutoFillBackground(true);
    return TRUE;
}

BOOL CCeCommandBar::InsertMenuBar(UINT nMenuBarID, WORD /*wButton*/) {
    QWidget* pBar = AfxGetWidget(m_hWnd);
    const AFX_RESOURCE* pRes = AfxFindResource(AfxGetResourceHandle(), nMenuBarID, RT_RCDATA);
    if (!pBar || !pRes || pRes->nSize < 4)
        return FALSE;
    // Words: menu, button count, then seven words a button: picture, command, state, style,
    // text string, 0, pop-up position.
    const auto* pWords = static_cast<const WORD*>(pRes->pData);
    const std::size_t nWords = pRes->nSize / 2;
    const std::size_t nButtons = pWords[1];
    if (nWords < 2 + 7 * nButtons)
        return FALSE;
    CMenu menu;
    if (!menu.LoadMenu(pWords[0]))
        return FALSE;

    const HWND hWndOwner = GetParent() ? GetParent()->m_hWnd : nullptr;
    if (m_bShowSharedNewButton) {
        QToolButton* pNew = AddButton(pBar, ID_FILE_NEW);
        pNew->setText(QStringLiteral("New"));
        QObject::connect(pNew, &QToolButton::clicked,
                         [hWndOwner] { SendCommand(hWndOwner, ID_FILE_NEW); });
    }
    for (std::size_t i = 0; i < nButtons; ++i) {
        const WORD* pButton = pWords + 2 + 7 * i;
        CMenu* pPopup = menu.GetSubMenu(pButton[6]);
        if (pButton[0] != I_IMAGENONE || !pPopup)
            return FALSE;
        TCHAR szText[256] = {};
        LoadString(AfxGetResourceHandle(), pButton[4], szText, 256);

        QToolButton* pToolButton = AddButton(pBar, pButton[1]);
        pToolButton->setProperty(kMenuBarProperty, true);
        // The pop-up's own title carries the underlined letter (Alt+letter opens it).
        CString popupTitle;
        menu.GetMenuString(pButton[6], popupTitle, MF_BYPOSITION);
        QString text = AfxToQString(szText);
        if (QString(AfxToQString(popupTitle)).remove(QLatin1Char('&')) == text)
            text = AfxToQString(popupTitle);
        pToolButton->setText(text);
        pToolButton->setPopupMode(QToolButton::InstantPopup);
        pToolButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
        auto* pMenu = new QMenu(pToolButton);
        AfxFillQMenu(pMenu, *pPopup);
        pToolButton->setMenu(pMenu);
        new CPopupAboveButton(pToolButton, pMenu);
        // Greyed just before it opens, so the active view and document count.
        QObject::connect(pMenu, &QMenu::aboutToShow, [pMenu, hWndOwner] {
            auto* pFrame = dynamic_cast<CFrameWnd*>(CWnd::FromHandle(hWndOwner));
            AfxUpdateQMenu(pMenu,
                           [pFrame](UINT nID) { return pFrame && pFrame->IsCommandEnabled(nID); });
        });
        // The button runs its menu modally, as TrackPopupMenu does.
        AfxWatchMenuRuns(pMenu);
        QObject::connect(pMenu, &QMenu::triggered, [hWndOwner](QAction* pAction) {
            if (const UINT nID = AfxCommandOfAction(pAction))
                SendCommand(hWndOwner, nID);
        });
        // F10 opens the first pop-up, as it enters a desktop window's menu bar.
        if (i == 0) {
            auto* pF10 = new QShortcut(QKeySequence(Qt::Key_F10), pToolButton);
            pF10->setContext(Qt::WindowShortcut);
            QObject::connect(pF10, &QShortcut::activated, pToolButton, &QToolButton::showMenu,
                             Qt::QueuedConnection);
        }
    }
    return TRUE;
}

BOOL CCeCommandBar::AddAdornments(DWORD /*dwFlags*/) {
    // The optional adornments (help, OK) are not asked for; the window manager's own close
    // button stands in for the bar's.
    return m_hWnd != nullptr;
}

BOOL CCeCommandBar::LoadToolBar(UINT nIDResource) {
    QWidget* pBar = AfxGetWidget(m_hWnd);
    const AFX_RESOURCE* pRes = AfxFindResource(AfxGetResourceHandle(), nIDResource, RT_TOOLBAR);
    const AFX_RESOURCE* pBitmap = AfxFindResource(AfxGetResourceHandle(), nIDResource, RT_BITMAP);
    if (!pBar || !pRes || !pBitmap || pRes->nSize < 8)
        return FALSE;
    // Words: version, button width, button height, count, then one command a button
    // (0 for a separator).
    const auto* pWords = static_cast<const WORD*>(pRes->pData);
    const int cx = pWords[1];
    const int cy = pWords[2];
    const std::size_t nCount = pWords[3];
    if (pRes->nSize / 2 < 4 + nCount || cx <= 0)
        return FALSE;
    // The strip, and the same at twice the size for displays of device pixel ratio 2: each
    // button's icon has both, and Qt takes the one its screen wants.
    std::vector<QPixmap> strips;
    for (int nScale = 1; nScale <= 2; ++nScale) {
        QPixmap strip = QPixmap::fromImage(AfxBitmapImage(*pBitmap, nScale));
        if (strip.isNull())
            break;
        // The pictures' light grey ground is the button's own face.
        strip.setMask(strip.createMaskFromColor(QColor(192, 192, 192), Qt::MaskInColor));
        strips.push_back(std::move(strip));
    }
    if (strips.empty())
        return FALSE;

    const HWND hWndOwner = GetParent() ? GetParent()->m_hWnd : nullptr;
    int nImage = 0;
    for (std::size_t i = 0; i < nCount; ++i) {
        const UINT nID = pWords[4 + i];
        if (nID == 0)
            continue;
        QToolButton* pButton = AddButton(pBar, nID);
        QIcon icon;
        for (std::size_t i = 0; i < strips.size(); ++i) {
            const int nScale = int(i) + 1;
            QPixmap picture = strips[i].copy(nImage * cx * nScale, 0, cx * nScale, cy * nScale);
            picture.setDevicePixelRatio(nScale);
            icon.addPixmap(picture);
        }
        pButton->setIcon(icon);
        pButton->setIconSize(QSize(cx, cy));
        ++nImage;
        QObject::connect(pButton, &QToolButton::clicked,
                         [hWndOwner, nID] { SendCommand(hWndOwner, nID); });
    }
    UpdateButtons();
    return TRUE;
}

void CCeCommandBar::UpdateButtons() {
    auto* pFrame = dynamic_cast<CFrameWnd*>(GetParent());
    for (QToolButton* pButton : Buttons(AfxGetWidget(m_hWnd))) {
        // Menu bar buttons only open their pop-ups; they have no command to check.
        if (pButton->property(kMenuBarProperty).toBool())
            continue;
        const UINT nID = pButton->property(kCommandProperty).toUInt();
        pButton->setEnabled(pFrame && pFrame->IsCommandEnabled(nID));
    }
}

LRESULT CCeCommandBar::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TB_SETTOOLTIPS) {
        // Tips pair with the buttons in order; the texts stay the caller's.
        const auto* ppTips = reinterpret_cast<const LPCTSTR*>(lParam);
        m_toolTips.assign(ppTips, ppTips + wParam);
        const QList<QToolButton*> buttons = Buttons(AfxGetWidget(m_hWnd));
        for (qsizetype i = 0; i < buttons.size() && std::size_t(i) < m_toolTips.size(); ++i) {
            buttons[i]->setToolTip(AfxToQString(m_toolTips[std::size_t(i)]));
            if (buttons[i]->text().isEmpty())
                buttons[i]->setAccessibleName(buttons[i]->toolTip());
        }
        return TRUE;
    }
    if (message == WM_IDLEUPDATECMDUI) {
        UpdateButtons();
        return 0;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}
