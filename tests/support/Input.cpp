#include "tests/support/Input.h"

#include "platform/win/WndQt.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

BOOL Tap(POINT ptDevice) {
    QWidget* pScreen = AfxGetDeviceWidget();
    if (!pScreen)
        return FALSE;
    const QPoint pt(ptDevice.x, ptDevice.y);
    QWidget* pTarget = pScreen->childAt(pt);
    if (!pTarget)
        pTarget = pScreen;
    const QPoint local = pTarget->mapFrom(pScreen, pt);
    QTest::mousePress(pTarget, Qt::LeftButton, Qt::NoModifier, local);
    QTest::mouseRelease(pTarget, Qt::LeftButton, Qt::NoModifier, local);
    return TRUE;
}

void PressCtrlKey(char letter) {
    QWidget* pScreen = AfxGetDeviceWidget();
    if (!pScreen)
        return;
    QWidget* pFocus = QApplication::focusWidget();
    QWidget* pTarget = pFocus && pFocus->window() == pScreen ? pFocus : pScreen;
    QTest::keyClick(pTarget, letter, Qt::ControlModifier);
}

bool AnyWindowVisible() {
    for (QWidget* pWidget : QApplication::topLevelWidgets()) {
        if (pWidget->isVisible())
            return true;
    }
    return false;
}

void ProcessEvents() {
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
