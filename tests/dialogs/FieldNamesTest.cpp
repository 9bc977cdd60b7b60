// What a screen reader calls the item dialog's fields: the label before each, or the group
// box around it.
#include "platform/core/Resource.h"
#include "platform/win/frame/WndQt.h"
#include "res/Resources.h"
#include "res/resource.h"
#include "tests/dialogs/DialogDriver.h"
#include "tests/support/Modal.h"
#include "ui/ItemDialog.h"

#include <QAccessible>
#include <QWidget>
#include <gtest/gtest.h>

#include <map>

using namespace dialogs_test;

namespace {

TEST(FieldNames, AreTheLabelsOrTheGroupBox) {
    AfxSetResourceHandle(VestoryListResources());
    const std::map<int, QString> wanted = {{IDC_ITEM_NAME, QStringLiteral("Item Name:")},
                                           {IDC_QTY, QStringLiteral("Qty:")},
                                           {IDC_SIZE, QStringLiteral("Size:")},
                                           {IDC_NOTE, QStringLiteral("Note")}};
    std::map<int, QString> got;
    CItemDialog dlg;
    ArmModal([&](ModalHandle& dialog) {
        for (const auto& [nID, name] : wanted) {
            QAccessibleInterface* pField =
                QAccessible::queryAccessibleInterface(AfxGetWidget(DialogControl(dialog, nID)));
            got[nID] = pField ? pField->text(QAccessible::Name) : QStringLiteral("<none>");
        }
        dialog.PressEscape();
    });
    dlg.DoModal();
    EXPECT_EQ(got, wanted);
}

} // namespace
