#include "tests/support/Input.h"

#include "platform/win/frame/WndQt.h"
#include "tests/support/Modal.h"

#include <QApplication>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QWidget>

#include <string>

namespace {

std::string PointText(POINT ptDevice) {
    return "device point (" + std::to_string(ptDevice.x) + ", " + std::to_string(ptDevice.y) + ")";
}

// The widget at a device point and the point in its coordinates.
QWidget* WidgetAt(POINT ptDevice, QPoint* pLocal) {
    QWidget* pScreen = AfxGetDeviceWidget();
    if (!pScreen)
        return nullptr;
    const QPoint pt(ptDevice.x, ptDevice.y);
    QWidget* pTarget = pScreen->childAt(pt);
    if (!pTarget)
        pTarget = pScreen;
    *pLocal = pTarget->mapFrom(pScreen, pt);
    return pTarget;
}

} // namespace

BOOL Tap(POINT ptDevice, SourceLine where) {
    NoteInput("the tap at " + PointText(ptDevice), where);
    QPoint local;
    QWidget* pTarget = WidgetAt(ptDevice, &local);
    if (!pTarget)
        return FALSE;
    QTest::mousePress(pTarget, Qt::LeftButton, Qt::NoModifier, local);
    QTest::mouseRelease(pTarget, Qt::LeftButton, Qt::NoModifier, local);
    return TRUE;
}

BOOL DoubleTap(POINT ptDevice, SourceLine where) {
    NoteInput("the double click at " + PointText(ptDevice), where);
    QPoint local;
    QPointer<QWidget> pTarget = WidgetAt(ptDevice, &local);
    if (!pTarget)
        return FALSE;
    QTest::mousePress(pTarget, Qt::LeftButton, Qt::NoModifier, local);
    QTest::mouseRelease(pTarget, Qt::LeftButton, Qt::NoModifier, local);
    // The first click may have rebuilt or covered the list.
    if (!pTarget)
        return TRUE;
    QTest::mousePress(pTarget, Qt::LeftButton, Qt::NoModifier, local);
    if (!pTarget)
        return TRUE;
    QMouseEvent dbl(QEvent::MouseButtonDblClick, local, pTarget->mapToGlobal(local), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pTarget, &dbl);
    if (pTarget)
        QTest::mouseRelease(pTarget, Qt::LeftButton, Qt::NoModifier, local);
    return TRUE;
}

BOOL RightTap(POINT ptDevice, SourceLine where) {
    NoteInput("the right click at " + PointText(ptDevice), where);
    QPoint local;
    QWidget* pTarget = WidgetAt(ptDevice, &local);
    if (!pTarget)
        return FALSE;
    QTest::mouseClick(pTarget, Qt::RightButton, Qt::NoModifier, local);
    return TRUE;
}

void PressKeys(const char* keys, SourceLine where) {
    for (const QString& name :
         QString::fromUtf8(keys).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QKeySequence sequence(name);
        if (sequence.isEmpty())
            continue;
        NoteInput("the key " + name.toStdString(), where);
        QWidget* pTarget = QApplication::focusWidget();
        if (!pTarget)
            pTarget = AfxGetDeviceWidget();
        if (!pTarget)
            return;
        const QKeyCombination key = sequence[0];
        QTest::keyClick(pTarget, key.key(), key.keyboardModifiers());
        ProcessEvents();
    }
}

void PressCtrlKey(char letter, SourceLine where) {
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
