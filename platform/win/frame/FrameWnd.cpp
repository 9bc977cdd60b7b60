#include "platform/win/frame/FrameWnd.h"

#include "platform/core/CmdUI.h"
#include "platform/core/Document.h"
#include "platform/core/Resource.h"
#include "platform/core/StdIds.h"
#include "platform/win/dialogs/FilePrompt.h"
#include "platform/win/frame/CreateContext.h"
#include "platform/win/frame/View.h"
#include "platform/win/frame/WndQt.h"
#include "platform/win/frame/XpmQt.h"
#include "platform/win/shell/WinApp.h"

#include <QAbstractEventDispatcher>
#include <QIcon>
#include <QKeySequence>
#include <QPixmap>
#include <QShortcut>
#include <QWidget>

namespace {

// Letters and digits have the same codes as virtual keys and as Qt keys.
int QtKeyFromVirtualKey(WORD vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        return int(vk);
    switch (vk) {
    case VK_INSERT:
        return Qt::Key_Insert;
    case VK_DELETE:
        return Qt::Key_Delete;
    default:
        return 0;
    }
}

// Control bars bring their buttons up to date whenever the program has nothing else to do.
void InstallIdleUpdate() {
    static bool bInstalled = false;
    auto* pDispatcher = QAbstractEventDispatcher::instance();
    if (bInstalled || !pDispatcher)
        return;
    bInstalled = true;
    QObject::connect(pDispatcher, &QAbstractEventDispatcher::aboutToBlock, [] {
        CWinApp* pApp = AfxGetApp();
        if (pApp && pApp->m_pMainWnd)
            pApp->m_pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI);
    });
}

CString FirstLine(const CString& text) {
    const std::u16string_view s = text.str();
    return CString(s.substr(0, s.find(u'\n')));
}

} // namespace

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd() = default;
CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext) {
    m_nIDHelp = nIDResource;
    TCHAR szTitle[256] = {};
    LoadString(AfxGetResourceHandle(), nIDResource, szTitle, 256);
    const CString title = FirstLine(szTitle);
    // The handheld's screen size; where the window goes is the window manager's business.
    if (!CreateEx(0, nullptr, title, dwDefaultStyle, CW_USEDEFAULT, CW_USEDEFAULT, AFX_DEVICE_CX,
                  AFX_DEVICE_CY, pParentWnd ? pParentWnd->m_hWnd : nullptr, 0, pContext))
        return FALSE; // the frame is gone already

    InstallIdleUpdate();
    QWidget* pWidget = AfxGetWidget(m_hWnd);
    if (const AFX_RESOURCE* pIcon =
            AfxFindResource(AfxGetResourceHandle(), nIDResource, RT_GROUP_ICON)) {
        QIcon icon;
        for (AFX_XPM xpm : static_cast<const AFX_ICON*>(pIcon->pData)->images)
            icon.addPixmap(QPixmap::fromImage(AfxImageFromXpm(xpm)));
        pWidget->setWindowIcon(icon);
    }
    if (const AFX_RESOURCE* pAccel =
            AfxFindResource(AfxGetResourceHandle(), nIDResource, RT_ACCELERATOR)) {
        const auto* pEntries = static_cast<const ACCEL*>(pAccel->pData);
        const HWND hWnd = m_hWnd;
        for (std::size_t i = 0; i < pAccel->nSize; ++i) {
            const ACCEL& accel = pEntries[i];
            const int key = (accel.fVirt & FVIRTKEY) ? QtKeyFromVirtualKey(accel.key) : 0;
            if (key == 0)
                continue;
            int modifiers = 0;
            if (accel.fVirt & FCONTROL)
                modifiers |= int(Qt::ControlModifier);
            if (accel.fVirt & FSHIFT)
                modifiers |= int(Qt::ShiftModifier);
            if (accel.fVirt & FALT)
                modifiers |= int(Qt::AltModifier);
            auto* pShortcut = new QShortcut(QKeySequence(key | modifiers), pWidget);
            pShortcut->setContext(Qt::WindowShortcut);
            const WORD cmd = accel.cmd;
            // As with a greyed menu item, a disabled command's key does nothing.
            QObject::connect(pShortcut, &QShortcut::activated, [hWnd, cmd] {
                auto* pFrame = dynamic_cast<CFrameWnd*>(CWnd::FromHandle(hWnd));
                if (pFrame && pFrame->IsCommandEnabled(cmd))
                    pFrame->SendMessage(WM_COMMAND, MAKELONG(cmd, 1), 0);
            });
        }
    }
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    auto* pContext = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
    if (!pContext || !pContext->m_pNewViewClass)
        return 0;
    auto* pView = dynamic_cast<CView*>(pContext->m_pNewViewClass->CreateObject());
    if (!pView)
        return -1;
    const RECT rect{0, 0, 0, 0};
    // A view that fails to be created has deleted itself.
    if (!pView->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, rect, this, AFX_IDW_PANE_FIRST,
                       pContext))
        return -1;
    return 0;
}

BOOL CFrameWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_SIZE) {
        RecalcLayout();
        *pResult = 0;
        return TRUE;
    }
    if (message == WM_CLOSE) {
        // Closing the main window closes the documents, which takes the frame with them, once
        // they may close.
        const HWND hWnd = m_hWnd;
        CWinApp* pApp = AfxGetApp();
        if (pApp && pApp->m_pMainWnd == this) {
            if (!pApp->SaveAllModified()) {
                *pResult = 0;
                return TRUE;
            }
            pApp->CloseAllDocuments(FALSE);
        }
        if (CWnd* pStill = CWnd::FromHandle(hWnd))
            pStill->DestroyWindow();
        *pResult = 0;
        return TRUE;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

void CFrameWnd::PostNcDestroy() {
    delete this;
}

CView* CFrameWnd::GetActiveView() const {
    return m_pViewActive;
}

void CFrameWnd::SetActiveView(CView* pViewNew) {
    m_pViewActive = pViewNew;
}

CDocument* CFrameWnd::GetActiveDocument() {
    return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument* /*pDoc*/, BOOL bMakeVisible) {
    if (!m_pViewActive) {
        if (auto* pView = dynamic_cast<CView*>(GetDlgItem(AFX_IDW_PANE_FIRST)))
            SetActiveView(pView);
    }
    SendMessageToDescendants(WM_INITIALUPDATE);
    RecalcLayout();
    // The keyboard starts in the view, as it goes to the active view when a frame is activated.
    if (m_pViewActive)
        m_pViewActive->SetFocus();
    if (bMakeVisible && !IsWindowVisible()) {
        CWinApp* pApp = AfxGetApp();
        ShowWindow(pApp && pApp->m_pMainWnd == this ? pApp->m_nCmdShow : SW_SHOW);
    }
    // The view and its document are on the route now: their handlers enable buttons.
    SendMessageToDescendants(WM_IDLEUPDATECMDUI);
}

void CFrameWnd::RecalcLayout() {
    QWidget* pWidget = AfxGetWidget(m_hWnd);
    if (!pWidget)
        return;
    const int cx = pWidget->width();
    int cyClient = pWidget->height();
    // The command bar runs along the bottom edge, as the Pocket PC menu bar does.
    if (CWnd* pBar = GetDlgItem(AFX_IDW_TOOLBAR)) {
        QWidget* pBarWidget = AfxGetWidget(pBar);
        const int cyBar = pBarWidget->isHidden() ? 0 : pBarWidget->sizeHint().height();
        cyClient = std::max(0, cyClient - cyBar);
        pBar->MoveWindow(0, cyClient, cx, cyBar);
    }
    if (CWnd* pView = GetDlgItem(AFX_IDW_PANE_FIRST))
        pView->MoveWindow(0, 0, cx, cyClient);
}

BOOL CFrameWnd::IsCommandEnabled(UINT nID) {
    CCmdUI state(nID);
    return state.DoUpdate(this, TRUE);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CFrameWnd::OnFileSave() {
    CDocument* pDoc = GetActiveDocument();
    CString path;
    if (pDoc && AfxPromptForFileName(path, FALSE, pDoc->m_pDocTemplate))
        pDoc->OnSaveDocument(path);
}
