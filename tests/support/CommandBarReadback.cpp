#include "tests/support/CommandBarReadback.h"

#include "platform/win/frame/WndQt.h"
#include "tests/support/Modal.h"

#include <QMenu>
#include <QTest>
#include <QToolButton>

#include <string>

namespace {

QList<QToolButton*> Buttons(CWnd* pBar) {
    QWidget* pWidget = AfxGetWidget(pBar);
    return pWidget ? pWidget->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly)
                   : QList<QToolButton*>();
}

} // namespace

std::vector<BarButton> CommandBarButtons(CWnd* pBar) {
    std::vector<BarButton> buttons;
    for (QToolButton* pButton : Buttons(pBar)) {
        buttons.push_back(BarButton{AfxFromQString(pButton->text()),
                                    AfxFromQString(pButton->toolTip()), pButton->isEnabled(),
                                    !pButton->icon().isNull(), pButton->menu() != nullptr});
    }
    return buttons;
}

void PressCommandBarButton(CWnd* pBar, int i, SourceLine where) {
    NoteInput("the press of command bar button " + std::to_string(i), where);
    const QList<QToolButton*> buttons = Buttons(pBar);
    if (i >= 0 && i < buttons.size())
        QTest::mouseClick(buttons[i], Qt::LeftButton);
}

std::vector<MenuEntry> MenuEntries(const ModalHandle& handle) {
    std::vector<MenuEntry> entries;
    if (auto* pMenu = qobject_cast<QMenu*>(handle.Widget())) {
        for (QAction* pAction : pMenu->actions()) {
            entries.push_back(
                MenuEntry{pAction->isSeparator() ? CString() : AfxFromQString(pAction->text()),
                          pAction->isEnabled()});
        }
    }
    return entries;
}
