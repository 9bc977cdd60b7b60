#include "tests/support/Modal.h"

#include "platform/win/WndQt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <memory>

namespace {

bool g_bModalRan = false;

QString Plain(QString text) {
    return text.remove(QLatin1Char('&'));
}

QWidget* Control(QWidget* pDialog, int nID) {
    for (QWidget* pChild : pDialog->findChildren<QWidget*>()) {
        CWnd* pWnd = AfxWndFromWidget(pChild);
        if (pWnd && pWnd->GetDlgCtrlID() == nID)
            return pChild;
    }
    return nullptr;
}

} // namespace

CString ModalHandle::Text() const {
    if (auto* pBox = qobject_cast<QMessageBox*>(m_pWidget))
        return AfxFromQString(pBox->text());
    if (auto* pMenu = qobject_cast<QMenu*>(m_pWidget)) {
        QStringList items;
        for (QAction* pAction : pMenu->actions())
            items << (pAction->isSeparator() ? QString() : Plain(pAction->text()));
        return AfxFromQString(items.join(QLatin1Char('\n')));
    }
    return AfxFromQString(m_pWidget->windowTitle());
}

void ModalHandle::TypeText(int nID, const CString& text) {
    QWidget* pControl = Control(m_pWidget, nID);
    if (auto* pCombo = qobject_cast<QComboBox*>(pControl))
        pControl = pCombo->lineEdit();
    if (auto* pEdit = qobject_cast<QLineEdit*>(pControl)) {
        pEdit->setFocus();
        pEdit->selectAll();
        QTest::keyClick(pEdit, Qt::Key_Delete);
        QTest::keyClicks(pEdit, AfxToQString(text));
    } else if (auto* pPlain = qobject_cast<QPlainTextEdit*>(pControl)) {
        pPlain->setPlainText(AfxToQString(text));
    } else if (auto* pText = qobject_cast<QTextEdit*>(pControl)) {
        pText->setPlainText(AfxToQString(text));
    }
}

CString ModalHandle::ControlText(int nID) const {
    QWidget* pControl = Control(m_pWidget, nID);
    if (auto* pCombo = qobject_cast<QComboBox*>(pControl))
        return AfxFromQString(pCombo->currentText());
    if (auto* pEdit = qobject_cast<QLineEdit*>(pControl))
        return AfxFromQString(pEdit->text());
    if (auto* pPlain = qobject_cast<QPlainTextEdit*>(pControl))
        return AfxFromQString(pPlain->toPlainText());
    if (auto* pText = qobject_cast<QTextEdit*>(pControl))
        return AfxFromQString(pText->toPlainText());
    CString text;
    if (CWnd* pWnd = AfxWndFromWidget(pControl))
        pWnd->GetWindowText(text);
    return text;
}

void ModalHandle::PickMenuItem(const CString& text) {
    auto* pMenu = qobject_cast<QMenu*>(m_pWidget);
    if (!pMenu)
        return;
    for (QAction* pAction : pMenu->actions()) {
        if (!pAction->isSeparator() && Plain(pAction->text()) == AfxToQString(text)) {
            pMenu->setActiveAction(pAction);
            QTest::keyClick(pMenu, Qt::Key_Return);
            return;
        }
    }
}

void ModalHandle::PressButton(const CString& text) {
    for (QAbstractButton* pButton : m_pWidget->findChildren<QAbstractButton*>()) {
        if (Plain(pButton->text()) == AfxToQString(text)) {
            pButton->click();
            return;
        }
    }
}

void ModalHandle::PressButton(int nResult) {
    if (auto* pBox = qobject_cast<QMessageBox*>(m_pWidget)) {
        const QMessageBox::StandardButton which = nResult == IDYES  ? QMessageBox::Yes
                                                  : nResult == IDNO ? QMessageBox::No
                                                  : nResult == IDOK ? QMessageBox::Ok
                                                                    : QMessageBox::Cancel;
        if (QAbstractButton* pButton = pBox->button(which))
            pButton->click();
        return;
    }
    if (auto* pButton = qobject_cast<QAbstractButton*>(Control(m_pWidget, nResult))) {
        pButton->click();
        return;
    }
    // A dialog without a button of that number (an OK in the caption): the keyboard's way.
    QTest::keyClick(m_pWidget, nResult == IDOK ? Qt::Key_Return : Qt::Key_Escape);
}

void ModalHandle::ChooseFile(const CString& path) {
    if (auto* pDialog = qobject_cast<QFileDialog*>(m_pWidget)) {
        pDialog->selectFile(AfxToQString(path));
        QMetaObject::invokeMethod(pDialog, "accept");
    }
}

void ModalHandle::PressEscape() {
    QTest::keyClick(m_pWidget, Qt::Key_Escape);
}

void ArmModal(std::function<void(ModalHandle&)> action) {
    g_bModalRan = false;
    auto* pTimer = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    pTimer->setInterval(5);
    QObject::connect(pTimer, &QTimer::timeout, [pTimer, clock, action = std::move(action)] {
        QWidget* pModal = QApplication::activePopupWidget();
        if (!pModal)
            pModal = QApplication::activeModalWidget();
        if (!pModal || !pModal->isVisible()) {
            if (clock->elapsed() > 5000) {
                pTimer->stop();
                pTimer->deleteLater();
            }
            return;
        }
        pTimer->stop();
        pTimer->deleteLater();
        ModalHandle handle(pModal);
        g_bModalRan = true;
        action(handle);
    });
    pTimer->start();
}

bool ModalRan() {
    return g_bModalRan;
}
