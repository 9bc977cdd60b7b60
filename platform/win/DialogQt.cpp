// Dialogs over Qt: the window with its caption strip, the static and button classes, and the
// modal run. Controls are laid out in dialog units turned into pixels with the dialog font's
// base units, as the handheld's dialog manager does.
#include "platform/win/DialogQt.h"

#include "platform/core/Resource.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/TextCtrlProcQt.h"
#include "platform/win/WinApp.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QValidator>

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

class CStaticCtrl : public QLabel, public CTextCtrlProc {
public:
    CStaticCtrl(DWORD style, QWidget* pParent) : QLabel(pParent) {
        setTextFormat(Qt::PlainText);
        const DWORD type = style & SS_TYPEMASK;
        if (type == SS_ICON) {
            setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return;
        }
        setWordWrap(true);
        const Qt::Alignment h = type == SS_RIGHT    ? Qt::AlignRight
                                : type == SS_CENTER ? Qt::AlignHCenter
                                                    : Qt::AlignLeft;
        setAlignment(h | Qt::AlignTop);
    }

    QString WindowText() const override { return text(); }
    void SetWindowText(const QString& text) override { setText(text); }
};

// The picture of an icon resource whose size is nearest to the control's.
QPixmap IconPicture(WORD nIconID, QSize size) {
    const AFX_RESOURCE* pRes = AfxFindResource(AfxGetResourceHandle(), nIconID, RT_GROUP_ICON);
    if (!pRes)
        return {};
    QPixmap best;
    for (AFX_XPM xpm : static_cast<const AFX_ICON*>(pRes->pData)->images) {
        QPixmap picture(xpm);
        const auto distance = [&](const QPixmap& p) {
            return std::abs(p.width() - size.width()) + std::abs(p.height() - size.height());
        };
        if (best.isNull() || distance(picture) < distance(best))
            best = picture;
    }
    return best;
}

QWidget* CreateStatic(CWnd* /*pWnd*/, const CREATESTRUCT& cs, QWidget* pParent,
                      CWndClassProc** ppProc) {
    auto* pStatic = new CStaticCtrl(DWORD(cs.style), pParent);
    if ((DWORD(cs.style) & SS_TYPEMASK) == SS_ICON) {
        if (const auto* pIcon = static_cast<const AFX_ICONCREATE*>(cs.lpCreateParams)) {
            // An icon control takes the size of its icon.
            const QPixmap picture = IconPicture(pIcon->nIconID, QSize(32, 32));
            pStatic->setPixmap(picture);
        }
    } else if (cs.lpszName) {
        pStatic->SetWindowText(AfxToQString(cs.lpszName));
    }
    *ppProc = pStatic;
    return pStatic;
}

class CPushButtonCtrl : public QPushButton, public CTextCtrlProc {
public:
    CPushButtonCtrl(CWnd* pWnd, QWidget* pParent) : QPushButton(pParent), m_pWnd(pWnd) {
        setAutoDefault(false);
        connect(this, &QPushButton::clicked, this,
                [this] { AfxNotifyParent(m_pWnd->m_hWnd, 0 /* BN_CLICKED */); });
    }

    QString WindowText() const override { return text(); }
    void SetWindowText(const QString& text) override { setText(text); }

private:
    CWnd* m_pWnd;
};

class CGroupBoxCtrl : public QGroupBox, public CTextCtrlProc {
public:
    explicit CGroupBoxCtrl(QWidget* pParent) : QGroupBox(pParent) {
        // A group box only frames: taps go through it to the controls inside.
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

    QString WindowText() const override { return title(); }
    void SetWindowText(const QString& text) override { setTitle(text); }
};

QWidget* CreateButton(CWnd* pWnd, const CREATESTRUCT& cs, QWidget* pParent,
                      CWndClassProc** ppProc) {
    const QString text = AfxToQString(cs.lpszName);
    if ((DWORD(cs.style) & BS_TYPEMASK) == BS_GROUPBOX) {
        auto* pBox = new CGroupBoxCtrl(pParent);
        pBox->SetWindowText(text);
        *ppProc = pBox;
        return pBox;
    }
    auto* pButton = new CPushButtonCtrl(pWnd, pParent);
    pButton->SetWindowText(text);
    *ppProc = pButton;
    return pButton;
}

// Keeps a line edit's text within what its field shows.
class CFitWidthValidator : public QValidator {
public:
    explicit CFitWidthValidator(QLineEdit* pEdit) : QValidator(pEdit), m_pEdit(pEdit) {}

    State validate(QString& input, int& /*pos*/) const override {
        const QMargins margins = m_pEdit->textMargins();
        // The line edit keeps a small margin of its own on each side, and the caret needs one.
        const int nRoom = m_pEdit->contentsRect().width() - margins.left() - margins.right() - 5;
        return m_pEdit->fontMetrics().horizontalAdvance(input) <= nRoom ? Acceptable : Invalid;
    }

private:
    QLineEdit* m_pEdit;
};

} // namespace

void AfxLimitToWidth(QLineEdit* pEdit) {
    pEdit->setValidator(new CFitWidthValidator(pEdit));
}

void AfxRegisterDialogClasses() {
    static bool bRegistered = false;
    if (bRegistered)
        return;
    bRegistered = true;
    AfxRegisterWndClass(u"static", &CreateStatic);
    AfxRegisterWndClass(u"button", &CreateButton);
    AfxRegisterEditClass();
    AfxRegisterComboBoxClass();
}

void AfxNotifyParent(HWND hWndCtrl, WORD nCode) {
    CWnd* pCtrl = CWnd::FromHandle(hWndCtrl);
    CWnd* pParent = pCtrl ? pCtrl->GetParent() : nullptr;
    if (!pParent)
        return;
    ::SendMessage(pParent->m_hWnd, WM_COMMAND, WPARAM(MAKELONG(WORD(pCtrl->GetDlgCtrlID()), nCode)),
                  reinterpret_cast<LPARAM>(hWndCtrl));
}

LRESULT AfxCopyWindowText(const QString& text, WPARAM cchMax, LPARAM lpBuffer) {
    if (cchMax == 0 || lpBuffer == 0)
        return 0;
    const qsizetype n = std::min<qsizetype>(text.size(), qsizetype(cchMax) - 1);
    auto* pBuffer = reinterpret_cast<LPTSTR>(lpBuffer);
    std::copy_n(reinterpret_cast<const char16_t*>(text.utf16()), n, pBuffer);
    pBuffer[n] = u'\0';
    return n;
}

namespace {

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
    QPalette palette = pCaption->palette();
    palette.setColor(QPalette::Window, QColor(0x00, 0x33, 0x99));
    palette.setColor(QPalette::WindowText, Qt::white);
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
    const int nCaption = metrics.baseY + 8;
    CreateCaption(pDialog, tmpl, nCaption)->setGeometry(0, 0, metrics.MapX(tmpl.cx), nCaption);
    pDialog->setFixedSize(metrics.MapX(tmpl.cx), nCaption + metrics.MapY(tmpl.cy));
    // The dialog sits where its template says, measured from the top-left of the screen.
    pDialog->move(AfxDeviceToGlobal(POINT{metrics.MapX(tmpl.x), metrics.MapY(tmpl.y)}));
    AfxAttachWidget(m_pDlg, pDialog, 0, tmpl.style);

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
                pWidget->resize(pLabel->pixmap().size());
        }
        if (className == u"static" || (item.style & BS_TYPEMASK) == BS_GROUPBOX)
            pWidget->setFocusPolicy(Qt::NoFocus);
        else
            pWidget->setFocusPolicy((item.style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
        if (item.style & WS_DISABLED)
            pWidget->setEnabled(false);
        m_controls.push_back(std::move(pCtrl));
    }
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
    loop.exec(QEventLoop::DialogExec);
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
