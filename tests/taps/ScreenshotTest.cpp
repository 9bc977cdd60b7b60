// A picture of the pop-up menu open over the list, for the README. Written only when
// VESTORYLIST_SCREENSHOTS names a folder:
//   VESTORYLIST_SCREENSHOTS=docs ./taps_tests --gtest_filter='Screenshot*'
#include "platform/win/CommCtrl.h"
#include "platform/win/frame/WndQt.h"
#include "tests/app/AppFixture.h"
#include "tests/support/Input.h"
#include "tests/support/Modal.h"
#include "ui/VestoryListView.h"

#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <cstdlib>

namespace {

using Screenshot = AppFixture;

TEST_F(Screenshot, PopupMenu) {
    const char* folder = std::getenv("VESTORYLIST_SCREENSHOTS");
    if (!folder)
        GTEST_SKIP() << "VESTORYLIST_SCREENSHOTS is not set";
    ASSERT_TRUE(Start({{1, u"Wool coat", u"1", u"L", u"", 3, 14, 2026},
                       {0, u"Shirts", u"5", u"M", u"", 0, 0, 0},
                       {1, u"Silk tie", u"2", u"", u"", 3, 16, 2026},
                       {0, u"Curtains", u"2 pairs", u"", u"", 0, 0, 0}}));
    QWidget* pScreen = AfxGetDeviceWidget();
    ASSERT_NE(pScreen, nullptr);
    const std::string path = std::string(folder) + "/screenshot-popup.png";
    bool saved = false;
    ArmModal([&](ModalHandle& popup) {
        // The pop-up is a window of its own: paint it over the main window where it stands.
        QPixmap picture = pScreen->window()->grab();
        QPainter painter(&picture);
        const QPoint at = popup.Widget()->mapToGlobal(QPoint(0, 0)) -
                          pScreen->window()->mapToGlobal(QPoint(0, 0));
        painter.drawPixmap(at, popup.Widget()->grab());
        painter.end();
        saved = picture.save(QString::fromStdString(path), "PNG");
        popup.PressEscape();
    });
    // On the second row, right of the check boxes: its first client y found by hit test.
    LONG y = 0;
    for (;; ++y) {
        ASSERT_LT(y, 400);
        LVHITTESTINFO hit = {};
        hit.pt = {60, y};
        if (View()->SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == 1)
            break;
    }
    POINT device = {60, y + 4};
    View()->ClientToScreen(&device);
    ASSERT_TRUE(Tap(device));
    ProcessEvents();
    EXPECT_TRUE(ModalRan());
    EXPECT_TRUE(saved);
}

} // namespace
