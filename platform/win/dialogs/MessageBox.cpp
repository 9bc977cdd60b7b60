#include "platform/core/Afx.h"
#include "platform/win/dialogs/MessageBoxQt.h"
#include "platform/win/frame/ModalRunQt.h"
#include "platform/win/frame/WndQt.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPointer>

#include <algorithm>

namespace {

// On the desktop a message box is no wider than the handheld's screen: its text wraps instead.
// Qt sizes the box itself whenever its layout changes, so the width is put right after that.
class CMessageBoxWidget : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    bool event(QEvent* e) override {
        const bool bResult = QMessageBox::event(e);
        if (e->type() == QEvent::LayoutRequest || e->type() == QEvent::Show)
            Narrow();
        return bResult;
    }
    void showEvent(QShowEvent* e) override {
        QMessageBox::showEvent(e);
        Narrow();
    }

private:
    void Narrow() {
        if (m_bNarrowing || width() <= AFX_DEVICE_CX || !AfxWindowManagerDrawsCaptions())
            return;
        m_bNarrowing = true;
        if (auto* pLabel = findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
            pLabel->setWordWrap(true);
        const int cy = layout() && layout()->hasHeightForWidth()
                           ? layout()->totalHeightForWidth(AFX_DEVICE_CX)
                           : height();
        // Qt centred the wider box over the main window already; it stays centred.
        move(x() + (width() - AFX_DEVICE_CX) / 2, y());
        setFixedSize(AFX_DEVICE_CX, std::max(cy, height()));
        m_bNarrowing = false;
    }

    bool m_bNarrowing = false;
};

int ShowMessageBox(const CString& text, const CString& caption, UINT nType) {
    const bool bYesNo = (nType & 0x0F) == MB_YESNO;
    CMessageBoxWidget box(AfxGetDeviceWidget());
    box.setWindowTitle(AfxToQString(caption));
    box.setText(AfxToQString(text));
    box.setIcon((nType & MB_ICONINFORMATION) ? QMessageBox::Information : QMessageBox::NoIcon);
    if (bYesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton((nType & MB_DEFBUTTON2) ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    QPointer<QWidget> pFocus = QApplication::focusWidget();
    int result = 0;
    {
        const CModalRunScope run(&box);
        result = box.exec();
    }
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
