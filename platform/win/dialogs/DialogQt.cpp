// The dialogs' controls over Qt: the static and button classes, the width limit of fields, and
// what every control class shares (notifications to the parent, the window text's copy).
#include "platform/win/dialogs/DialogQt.h"

#include "platform/core/Resource.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/dialogs/TextCtrlProcQt.h"
#include "platform/win/frame/XpmQt.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QValidator>

#include <limits>

namespace {

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

// The picture of an icon resource whose size is nearest to the control's in the display's
// pixels; it lays out at the control's size.
QPixmap IconPicture(WORD nIconID, QSize size) {
    const AFX_RESOURCE* pRes = AfxFindResource(AfxGetResourceHandle(), nIconID, RT_GROUP_ICON);
    if (!pRes)
        return {};
    const int nScale = AfxPictureScale();
    size *= nScale;
    QPixmap best;
    for (AFX_XPM xpm : static_cast<const AFX_ICON*>(pRes->pData)->images) {
        const QPixmap picture = QPixmap::fromImage(AfxImageFromXpm(xpm));
        const auto distance = [&](const QPixmap& p) {
            return std::abs(p.width() - size.width()) + std::abs(p.height() - size.height());
        };
        if (best.isNull() || distance(picture) < distance(best))
            best = picture;
    }
    if (best.width() >= size.width())
        best.setDevicePixelRatio(nScale);
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

void AfxLiftLengthLimit(QLineEdit* pEdit) {
    pEdit->setMaxLength(std::numeric_limits<int>::max());
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
