#include "platform/core/Afx.h"
#include "platform/win/MessageBoxQt.h"
#include "platform/win/ModalRunQt.h"
#include "platform/win/WndQt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace {

int ShowMessageBox(const CString& text, const CString& caption, UINT nType) {
    const bool bYesNo = (nType & 0x0F) == MB_YESNO;
    QMessageBox box(AfxGetDeviceWidget());
    box.setWindowTitle(AfxToQString(caption));
    box.setText(AfxToQString(text));
    box.setIcon((nType & MB_ICONINFORMATION) ? QMessageBox::Information : QMessageBox::NoIcon);
    if (bYesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    QPointer<QWidget> pFocus = QApplication::focusWidget();
    AfxNotifyModalRun(&box, true);
    const int result = box.exec();
    AfxNotifyModalRun(&box, false);
    if (pFocus) {
        if (!pFocus->window()->isActiveWindow())
            pFocus->window()->activateWindow();
        pFocus->setFocus(Qt::OtherFocusReason);
    }
    if (bYesNo)
        return result == QMessageBox::Yes ? IDYES : IDNO;
    return IDOK;
}

} // namespace

void AfxInstallMessageBoxPresenter() {
    AfxSetMessageBoxPresenter(&ShowMessageBox);
}
