#include "platform/win/shell/Clipboard.h"

#include "platform/win/frame/WndQt.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

// Asking another program for its formats is a round trip; command enabling asks at every
// idle moment, so the answer is kept until the clipboard changes.
struct TextState {
    bool bKnown = false;
    bool bHasText = false;
};

TextState& State() {
    static TextState state;
    static bool bWatching = false;
    if (!bWatching && QGuiApplication::clipboard()) {
        bWatching = true;
        QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged,
                         [] { State().bKnown = false; });
    }
    return state;
}

} // namespace

BOOL IsClipboardFormatAvailable(UINT format) {
    QClipboard* pClipboard = QGuiApplication::clipboard();
    if (format != CF_UNICODETEXT || !pClipboard)
        return FALSE;
    TextState& state = State();
    if (!state.bKnown) {
        const QMimeData* pData = pClipboard->mimeData();
        state.bHasText = pData && pData->hasText() && !pData->text().isEmpty();
        state.bKnown = true;
    }
    return state.bHasText;
}

BOOL AfxSetClipboardText(const CString& text) {
    QClipboard* pClipboard = QGuiApplication::clipboard();
    if (!pClipboard)
        return FALSE;
    pClipboard->setText(AfxToQString(text));
    State().bKnown = false;
    return TRUE;
}

BOOL AfxGetClipboardText(CString& text) {
    QClipboard* pClipboard = QGuiApplication::clipboard();
    const QMimeData* pData = pClipboard ? pClipboard->mimeData() : nullptr;
    if (!pData || !pData->hasText())
        return FALSE;
    text = AfxFromQString(pData->text());
    return TRUE;
}
