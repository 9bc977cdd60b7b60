#include "tests/dialogs/DialogDriver.h"

#include "platform/win/frame/WndQt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

namespace dialogs_test {

CWnd* DialogControl(const ModalHandle& dialog, int nID) {
    CWnd* pDlg = AfxWndFromWidget(dialog.Widget());
    return pDlg ? pDlg->GetDlgItem(nID) : nullptr;
}

LRESULT SendToControl(const ModalHandle& dialog, int nID, UINT message, WPARAM wParam,
                      LPARAM lParam) {
    CWnd* pCtrl = DialogControl(dialog, nID);
    return pCtrl ? pCtrl->SendMessage(message, wParam, lParam) : 0;
}

CString WindowText(const ModalHandle& dialog, int nID) {
    CString text;
    if (CWnd* pCtrl = DialogControl(dialog, nID))
        pCtrl->GetWindowText(text);
    return text;
}

namespace {

QWidget* Focus(const ModalHandle& dialog, int nID) {
    QWidget* pWidget = AfxGetWidget(DialogControl(dialog, nID));
    if (!pWidget)
        return nullptr;
    pWidget->setFocus(Qt::MouseFocusReason);
    return QApplication::focusWidget();
}

} // namespace

void TypeKeys(const ModalHandle& dialog, int nID, const QString& text) {
    if (QWidget* pWidget = Focus(dialog, nID))
        QTest::keyClicks(pWidget, text);
}

void PressKey(const ModalHandle& dialog, int nID, int qtKey) {
    if (QWidget* pWidget = Focus(dialog, nID))
        QTest::keyClick(pWidget, Qt::Key(qtKey));
}

void TapCaptionButton(const ModalHandle& dialog, const char* objectName) {
    if (auto* pButton = dialog.Widget()->findChild<QAbstractButton*>(objectName))
        QTest::mouseClick(pButton, Qt::LeftButton);
}

bool HasFocus(const ModalHandle& dialog, int nID) {
    QWidget* pWidget = AfxGetWidget(DialogControl(dialog, nID));
    QWidget* pFocus = QApplication::focusWidget();
    return pWidget && pFocus && (pFocus == pWidget || pWidget->isAncestorOf(pFocus));
}

} // namespace dialogs_test
