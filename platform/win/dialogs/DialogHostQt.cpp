// CDialogHost: a dialog's window over Qt, a QDialog with the handheld's caption strip, built
// from its template and run modally. Controls are laid out in dialog units turned into pixels
// with the dialog font's base units, as the handheld's dialog manager does.
#include "platform/win/dialogs/DialogHostQt.h"

#include "platform/core/Resource.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/dialogs/DialogQt.h"
#include "platform/win/frame/ModalRunQt.h"
#include "platform/win/shell/WinApp.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

// The handheld draws its dialogs at 96 dots per inch.
constexpr int kDeviceDpi = 96;

QFont DialogFont(const AFX_DLGTEMPLATE& tmpl) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    const QString face = AfxToQString(tmpl.lpszFont);
    // "System" names the device's own dialog font: the desktop's general font stands in for it.
    if (!face.isEmpty() && face.compare(QStringLiteral("System"), Qt::CaseInsensitive) != 0)
        font.setFamily(face);
    const int nPoints = tmpl.wPointSize ? tmpl.wPointSize : 8;
    font.setPixelSize((nPoints * kDeviceDpi + 36) / 72);
    return font;
}

// Average width of the letters (rounded as the dialog manager rounds it) and the line height.
AFX_DLGMETRICS DialogMetrics(const QFont& font) {
    const QFontMetrics fm(font);
    const int cx = fm.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return AFX_DLGMETRICS{(cx / 26 + 1) / 2, fm.height()};
}

// The dialog's window: Enter is its OK, Escape and the close box its Cancel, whatever control
// has the focus, unless the control keeps the key (a want-return note field, an open list).
class CDialogWidget : public QDialog {
public:
    explicit CDialogWidget(QWidget* pParent) : QDialog(pParent) {}

    void reject() override { SendCommand(IDCANCEL); }

    void SendCommand(int nID) {
        if (HWND h = AfxWndFromWidget(this) ? AfxWndFromWidget(this)->m_hWnd : nullptr)
            ::SendMessage(h, WM_COMMAND, WPARAM(nID), 0);
    }

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
            // A push button with the focus is the one Enter presses.
            if (auto* pButton = qobject_cast<QPushButton*>(focusWidget())) {
                pButton->click();
                return;
            }
            SendCommand(IDOK);
            return;
        }
        if (e->key() == Qt::Key_Escape) {
            SendCommand(IDCANCEL);
            return;
        }
        QDialog::keyPressEvent(e);
    }
};

// The handheld shows a dialog's title in the bar at the top of the screen, with "ok" at its
// right (and a close box when the dialog has a system menu).
QWidget* CreateCaption(CDialogWidget* pDialog, const AFX_DLGTEMPLATE& tmpl, int nHeight) {
    auto* pCaption = new QWidget(pDialog);
    pCaption->setObjectName(QStringLiteral("vl_caption"));
    pCaption->setAutoFillBackground(true);
    // The handheld's blue bar, unless the desktop's colours are dark: then the desktop's own
    // highlight, which reads on them.
    QPalette palette = pCaption->palette();
    const bool bDark = palette.color(QPalette::Window).lightness() < 128;
    palette.setColor(QPalette::Window,
                     bDark ? palette.color(QPalette::Highlight) : QColor(0x00, 0x33, 0x99));
    palette.setColor(QPalette::WindowText,
                     bDark ? palette.color(QPalette::HighlightedText) : QColor(Qt::white));
    pCaption->setPalette(palette);
    pCaption->setFixedHeight(nHeight);

    auto* pLayout = new QHBoxLayout(pCaption);
    pLayout->setContentsMargins(4, 1, 2, 1);
    pLayout->setSpacing(2);
    auto* pTitle = new QLabel(AfxToQString(tmpl.lpszTitle), pCaption);
    QFont bold = pTitle->font();
    bold.setBold(true);
    pTitle->setFont(bold);
    pLayout->addWidget(pTitle, 1);

    const auto addButton = [&](const QString& text, const QString& name, int nID) {
        auto* pButton = new QPushButton(text, pCaption);
        pButton->setObjectName(name);
        pButton->setFocusPolicy(Qt::NoFocus);
        pButton->setAutoDefault(false);
        pButton->setFixedSize(pButton->fontMetrics().horizontalAdvance(text) + 16, nHeight - 4);
        pLayout->addWidget(pButton);
        QObject::connect(pButton, &QPushButton::clicked, pDialog,
                         [pDialog, nID] { pDialog->SendCommand(nID); });
    };
    // Every dialog can be confirmed with the mouse; a template without the caption OK button
    // gets one all the same, as the handheld's shell adds "ok" to full-screen dialogs.
    addButton(QStringLiteral("ok"), QStringLiteral("vl_caption_ok"), IDOK);
    if (tmpl.style & WS_SYSMENU)
        addButton(QStringLiteral("\u00D7"), QStringLiteral("vl_caption_close"), IDCANCEL);
    return pCaption;
}

// On the desktop "ok" is a button at the bottom right: beside the template's own bottom row of
// push buttons, or in a row of its own below the template. Returns the height added.
int AddOkButton(CDialogWidget* pDialog, const AFX_DLGTEMPLATE& tmpl, const AFX_DLGMETRICS& m,
                int cxDialog) {
    const AFX_DLGITEM* pBottom = nullptr;
    for (const AFX_DLGITEM& item : tmpl.items) {
        if (std::u16string_view(item.lpszClass) == u"button" &&
            (item.style & BS_TYPEMASK) != BS_GROUPBOX && (!pBottom || item.y > pBottom->y))
            pBottom = &item;
    }
    auto* pOk = new QPushButton(QStringLiteral("ok"), pDialog);
    pOk->setObjectName(QStringLiteral("vl_ok"));
    pOk->setAutoDefault(false);
    QObject::connect(pOk, &QPushButton::clicked, pDialog,
                     [pDialog] { pDialog->SendCommand(IDOK); });
    const int cxMargin = m.MapX(pBottom ? pBottom->x : 7);
    const int cxOk = std::max(m.MapX(pBottom ? pBottom->cx : 40),
                              pOk->fontMetrics().horizontalAdvance(pOk->text()) + 16);
    const int cyOk = m.MapY(pBottom ? pBottom->cy : 12);
    if (pBottom) {
        pOk->setGeometry(cxDialog - cxMargin - cxOk, m.MapY(pBottom->y), cxOk, cyOk);
        return 0;
    }
    const int cyRow = cyOk + m.MapY(7);
    pOk->setGeometry(cxDialog - cxMargin - cxOk, m.MapY(tmpl.cy), cxOk, cyOk);
    return cyRow;
}

bool IsStaticText(const AFX_DLGITEM& item) {
    return std::u16string_view(item.lpszClass) == u"static" && item.lpszText &&
           (item.style & 0x1F) <= 2; // SS_LEFT, SS_CENTER, SS_RIGHT
}

bool IsGroupBox(const AFX_DLGITEM& item) {
    return std::u16string_view(item.lpszClass) == u"button" &&
           (item.style & BS_TYPEMASK) == BS_GROUPBOX;
}

// Screen readers name a field as the dialog manager's accessibility does: by the text just
// before it in the template, or else by the group box around it.
void NameFields(const std::vector<std::pair<const AFX_DLGITEM*, QWidget*>>& controls) {
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const auto [pItem, pWidget] = controls[i];
        if (!(pItem->style & WS_TABSTOP) || IsGroupBox(*pItem) ||
            std::u16string_view(pItem->lpszClass) == u"button")
            continue;
        if (i > 0 && IsStaticText(*controls[i - 1].first)) {
            if (auto* pLabel = qobject_cast<QLabel*>(controls[i - 1].second)) {
                pLabel->setBuddy(pWidget);
                // An editable combo box would give its text as its name otherwise.
                pWidget->setAccessibleName(pLabel->text().remove('&'));
                continue;
            }
        }
        const QRect field(pItem->x, pItem->y, pItem->cx, pItem->cy);
        for (const auto& [pBoxItem, pBox] : controls) {
            if (IsGroupBox(*pBoxItem) &&
                QRect(pBoxItem->x, pBoxItem->y, pBoxItem->cx, pBoxItem->cy).contains(field)) {
                pWidget->setAccessibleName(QString(AfxToQString(pBoxItem->lpszText)).remove('&'));
                break;
            }
        }
    }
}

} // namespace

CDialogHost::CDialogHost(CDialog* pDlg) : m_pDlg(pDlg) {}

CDialogHost::~CDialogHost() {
    Destroy();
}

BOOL CDialogHost::Create(const AFX_DLGTEMPLATE& tmpl, CWnd* pOwner) {
    AfxRegisterDialogClasses();
    QWidget* pOwnerWidget = AfxGetWidget(pOwner);
    if (!pOwnerWidget)
        pOwnerWidget = AfxGetDeviceWidget();

    auto* pDialog = new CDialogWidget(pOwnerWidget);
    m_pWidget = pDialog;
    const QFont font = DialogFont(tmpl);
    pDialog->setFont(font);
    pDialog->setWindowTitle(AfxToQString(tmpl.lpszTitle));
    const AFX_DLGMETRICS metrics = DialogMetrics(font);
    // Where the window manager draws the title, the dialog shows it once, in the window
    // manager's bar, and no longer than the handheld's screen is wide.
    const bool bDesktop = AfxWindowManagerDrawsCaptions();
    const int nCaption = bDesktop ? 0 : metrics.baseY + 8;
    const int cx =
        bDesktop ? std::min(metrics.MapX(tmpl.cx), AFX_DEVICE_CX) : metrics.MapX(tmpl.cx);
    int cy = nCaption + metrics.MapY(tmpl.cy);
    if (bDesktop) {
        // Title and close box only: the window manager is asked for no minimise or maximise.
        pDialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowCloseButtonHint);
        cy += AddOkButton(pDialog, tmpl, metrics, cx);
    } else {
        CreateCaption(pDialog, tmpl, nCaption)->setGeometry(0, 0, cx, nCaption);
        // The dialog sits where its template says, measured from the top-left of the screen.
        pDialog->move(AfxDeviceToGlobal(POINT{metrics.MapX(tmpl.x), metrics.MapY(tmpl.y)}));
    }
    pDialog->setFixedSize(cx, cy);
    AfxAttachWidget(m_pDlg, pDialog, 0, tmpl.style);

    std::vector<std::pair<const AFX_DLGITEM*, QWidget*>> made;
    for (const AFX_DLGITEM& item : tmpl.items) {
        auto pCtrl = std::make_unique<CWnd>();
        AFX_ICONCREATE icon{item.nIconID};
        const bool bIcon = item.lpszText == nullptr;
        if (!pCtrl->CreateEx(0, item.lpszClass, item.lpszText, item.style | WS_CHILD,
                             metrics.MapX(item.x), nCaption + metrics.MapY(item.y),
                             metrics.MapX(item.cx), metrics.MapY(item.cy), m_pDlg->m_hWnd, item.id,
                             bIcon ? &icon : nullptr))
            continue;
        QWidget* pWidget = AfxGetWidget(pCtrl.get());
        const std::u16string_view className = item.lpszClass;
        // The height of a combo box includes its dropped list; its field is one line high.
        if (className == u"combobox")
            pWidget->setFixedHeight(
                std::max(metrics.MapY(12), pWidget->fontMetrics().height() + 6));
        if (bIcon && pWidget) {
            if (auto* pLabel = qobject_cast<QLabel*>(pWidget))
                pWidget->resize(pLabel->pixmap().deviceIndependentSize().toSize());
        }
        if (className == u"static" || (item.style & BS_TYPEMASK) == BS_GROUPBOX)
            pWidget->setFocusPolicy(Qt::NoFocus);
        else
            pWidget->setFocusPolicy((item.style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
        if (item.style & WS_DISABLED)
            pWidget->setEnabled(false);
        m_controls.push_back(std::move(pCtrl));
        made.emplace_back(&item, pWidget);
    }
    NameFields(made);
    // The first control in the template lies on top of the ones after it.
    for (const auto& pCtrl : m_controls) {
        if (QWidget* pWidget = AfxGetWidget(pCtrl.get()))
            pWidget->lower();
    }
    return TRUE;
}

void CDialogHost::SetInitialFocus() {
    for (const auto& pCtrl : m_controls) {
        QWidget* pWidget = AfxGetWidget(pCtrl.get());
        if (!pWidget || !(pCtrl->GetStyle() & WS_TABSTOP) || !pWidget->isEnabled() ||
            pWidget->isHidden())
            continue;
        // The dialog manager selects an edit field's text as it gives it the focus.
        pCtrl->SendMessage(EM_SETSEL, 0, LPARAM(-1));
        pWidget->setFocus(Qt::OtherFocusReason);
        return;
    }
}

int CDialogHost::Run() {
    if (!m_pWidget)
        return -1;
    m_pWidget->setWindowModality(Qt::ApplicationModal);
    m_pWidget->show();
    m_pWidget->activateWindow();
    // The focus (and EN_SETFOCUS) must be in place when the run starts, as on the handheld,
    // not whenever the window system gets round to activating the window.
    QApplication::setActiveWindow(m_pWidget);
    QEventLoop loop;
    m_pLoop = &loop;
    {
        const CModalRunScope run(m_pWidget);
        loop.exec(QEventLoop::DialogExec);
    }
    m_pLoop = nullptr;
    return m_nResult;
}

void CDialogHost::End(int nResult) {
    m_nResult = nResult;
    if (m_pWidget)
        m_pWidget->hide();
    if (m_pLoop)
        m_pLoop->exit(nResult);
}

void CDialogHost::Center(CWnd* pAlternateOwner) {
    if (!m_pWidget)
        return;
    QWidget* pOwner = AfxGetWidget(pAlternateOwner);
    if (!pOwner)
        pOwner = m_pWidget->parentWidget();
    QRect area;
    if (pOwner)
        area = QRect(pOwner->mapToGlobal(QPoint(0, 0)), pOwner->size());
    else if (QScreen* pScreen = m_pWidget->screen())
        area = pScreen->availableGeometry();
    else
        return;
    QRect frame(QPoint(0, 0), m_pWidget->size());
    frame.moveCenter(area.center());
    m_pWidget->move(frame.topLeft());
}

void CDialogHost::Adopt(CWnd& rControl, HWND hWndCtrl) {
    rControl.m_hWnd = hWndCtrl;
    m_adopted.push_back(&rControl);
}

void CDialogHost::Destroy() {
    // The members that stood for controls go back to standing for nothing.
    for (CWnd* pControl : m_adopted)
        pControl->m_hWnd = nullptr;
    m_adopted.clear();
    if (m_pDlg->m_hWnd)
        m_pDlg->DestroyWindow();
    m_controls.clear();
    // The run is over and no event of the window's is being handled: it can go now.
    delete m_pWidget.data();
}
