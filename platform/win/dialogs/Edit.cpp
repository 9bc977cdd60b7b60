// CEdit, and the "edit" window class: single-line fields over QLineEdit and multi-line fields
// over QPlainTextEdit. Texts cross the boundary with CR LF line breaks, as the handheld's edit
// fields keep them; Qt keeps plain LF inside.
#include "platform/win/dialogs/Edit.h"

#include "platform/win/CommCtrl.h"
#include "platform/win/dialogs/DialogQt.h"
#include "platform/win/dialogs/TextCtrlProcQt.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

IMPLEMENT_DYNAMIC(CEdit, CWnd)

CEdit::CEdit() = default;
CEdit::~CEdit() = default;

namespace {

QString FromCrLf(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString ToCrLf(QString text) {
    text.replace(QChar(u'\n'), QStringLiteral("\r\n"));
    return text;
}

// Positions in the CR LF text count a line break as two characters; Qt counts it as one.
int ToQtPos(const QString& plain, int pos) {
    int crlf = 0;
    int q = 0;
    for (; q < plain.size() && crlf < pos; ++q)
        crlf += plain[q] == u'\n' ? 2 : 1;
    return q;
}

int FromQtPos(const QString& plain, int pos) {
    return pos + int(plain.left(pos).count(u'\n'));
}

// Answers EM_GETSEL into the optional DWORD pointers, and as MAKELONG(start, end).
LRESULT AnswerGetSel(int start, int end, WPARAM wParam, LPARAM lParam) {
    if (wParam)
        *reinterpret_cast<DWORD*>(wParam) = DWORD(start);
    if (lParam)
        *reinterpret_cast<DWORD*>(lParam) = DWORD(end);
    return LRESULT(MAKELONG(WORD(start), WORD(end)));
}

// EM_SETSEL's range: a start of -1 removes the selection; an end of -1 means the end of text.
void NormaliseSel(int length, int& start, int& end) {
    if (end < 0 || end > length)
        end = length;
    start = std::min(start, length);
}

class CSingleLineEdit : public QLineEdit, public CTextCtrlProc {
public:
    CSingleLineEdit(CWnd* pWnd, QWidget* pParent) : QLineEdit(pParent), m_pWnd(pWnd) {}

    QString WindowText() const override { return text(); }
    void SetWindowText(const QString& text) override { setText(text); }

protected:
    LRESULT ControlProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case EM_GETSEL: {
            const int start = hasSelectedText() ? selectionStart() : cursorPosition();
            return AnswerGetSel(start, start + int(selectedText().size()), wParam, lParam);
        }
        case EM_SETSEL: {
            int start = int(wParam);
            int end = int(lParam);
            NormaliseSel(int(text().size()), start, end);
            if (start < 0)
                deselect();
            else
                setSelection(start, end - start);
            return 0;
        }
        case EM_SCROLLCARET:
            return TRUE; // a line edit always keeps its cursor in view
        default:
            return 0;
        }
    }

    void focusInEvent(QFocusEvent* e) override {
        QLineEdit::focusInEvent(e);
        AfxNotifyParent(m_pWnd->m_hWnd, EN_SETFOCUS);
    }

private:
    CWnd* m_pWnd;
};

class CMultiLineEdit : public QPlainTextEdit, public CTextCtrlProc {
public:
    CMultiLineEdit(CWnd* pWnd, DWORD style, QWidget* pParent)
        : QPlainTextEdit(pParent), m_pWnd(pWnd), m_bWantReturn((style & ES_WANTRETURN) != 0) {
        setTabChangesFocus(true);
        setLineWrapMode((style & ES_AUTOHSCROLL) ? NoWrap : WidgetWidth);
        setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn
                                                        : Qt::ScrollBarAlwaysOff);
        setHorizontalScrollBarPolicy((style & WS_HSCROLL) ? Qt::ScrollBarAlwaysOn
                                                          : Qt::ScrollBarAlwaysOff);
        if (style & ES_READONLY) {
            setReadOnly(true);
            // A read-only field still shows its caret and scrolls from the keyboard.
            setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        }
        if (!(style & WS_BORDER))
            setFrameShape(QFrame::NoFrame);
        document()->setDocumentMargin(1);
    }

    QString WindowText() const override { return ToCrLf(Plain()); }
    void SetWindowText(const QString& text) override { setPlainText(FromCrLf(text)); }

protected:
    LRESULT ControlProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case EM_GETSEL: {
            const QTextCursor c = textCursor();
            const QString plain = Plain();
            return AnswerGetSel(FromQtPos(plain, c.selectionStart()),
                                FromQtPos(plain, c.selectionEnd()), wParam, lParam);
        }
        case EM_SETSEL: {
            const QString plain = Plain();
            int start = int(wParam);
            int end = int(lParam);
            NormaliseSel(int(ToCrLf(plain).size()), start, end);
            QTextCursor c = textCursor();
            if (start < 0) {
                c.clearSelection();
            } else {
                c.setPosition(ToQtPos(plain, start));
                c.setPosition(ToQtPos(plain, end), QTextCursor::KeepAnchor);
            }
            setTextCursor(c);
            return 0;
        }
        case EM_SCROLLCARET:
            ensureCursorVisible();
            return TRUE;
        default:
            return 0;
        }
    }

    void keyPressEvent(QKeyEvent* e) override {
        const bool bEnter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
        // Without want-return, Enter belongs to the dialog (its OK), as does Escape.
        if ((bEnter && !m_bWantReturn) || e->key() == Qt::Key_Escape) {
            e->ignore();
            return;
        }
        QPlainTextEdit::keyPressEvent(e);
    }

    void focusInEvent(QFocusEvent* e) override {
        QPlainTextEdit::focusInEvent(e);
        // The dialog selects a field's whole text when the user tabs into it.
        if (e->reason() == Qt::TabFocusReason || e->reason() == Qt::BacktabFocusReason)
            selectAll();
        AfxNotifyParent(m_pWnd->m_hWnd, EN_SETFOCUS);
    }

private:
    // The document's text with its line breaks as LF, nothing else changed.
    QString Plain() const {
        QString text = document()->toRawText();
        text.replace(QChar::ParagraphSeparator, u'\n');
        text.replace(QChar::LineSeparator, u'\n');
        return text;
    }

    CWnd* m_pWnd;
    bool m_bWantReturn;
};

QWidget* CreateEdit(CWnd* pWnd, const CREATESTRUCT& cs, QWidget* pParent, CWndClassProc** ppProc) {
    const DWORD style = DWORD(cs.style);
    if (style & ES_MULTILINE) {
        auto* pEdit = new CMultiLineEdit(pWnd, style, pParent);
        if (cs.lpszName)
            pEdit->SetWindowText(AfxToQString(cs.lpszName));
        *ppProc = pEdit;
        return pEdit;
    }
    auto* pEdit = new CSingleLineEdit(pWnd, pParent);
    pEdit->setFrame((style & WS_BORDER) != 0);
    AfxLiftLengthLimit(pEdit);
    if (!(style & ES_AUTOHSCROLL))
        AfxLimitToWidth(pEdit);
    if (style & ES_READONLY)
        pEdit->setReadOnly(true);
    if (cs.lpszName)
        pEdit->SetWindowText(AfxToQString(cs.lpszName));
    *ppProc = pEdit;
    return pEdit;
}

} // namespace

void AfxRegisterEditClass() {
    AfxRegisterWndClass(u"edit", &CreateEdit);
}
