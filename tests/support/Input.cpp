#include "tests/support/Input.h"

#include "platform/win/WndQt.h"
#include "tests/support/Modal.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <string>

BOOL Tap(POINT ptDevice, std::source_location where) {
    NoteInput("the tap at device point (" + std::to_string(ptDevice.x) + ", " +
                  std::to_string(ptDevice.y) + ")",
              where);
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

void PressCtrlKey(char letter, std::source_location where) {
    NoteInput(std::string("Ctrl+") + letter, where);
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
