// Pictures of the dialogs for the README: written only when VESTORYLIST_SCREENSHOTS names a
// folder, e.g. VESTORYLIST_SCREENSHOTS=docs ./dialogs_tests --gtest_filter='Screenshot*'.
#include "data/VestoryListDoc.h"
#include "platform/core/StdIds.h"
#include "platform/win/frame/FrameWnd.h"
#include "tests/app/AppFixture.h"
#include "tests/support/Modal.h"

#include <QPixmap>
#include <QWidget>

#include <cstdlib>
#include <filesystem>

namespace {

class Screenshot : public AppFixture {
protected:
    void SetUp() override {
        const char* folder = std::getenv("VESTORYLIST_SCREENSHOTS");
        if (!folder)
            GTEST_SKIP() << "VESTORYLIST_SCREENSHOTS is not set";
        m_folder = folder;
    }

    // Arms a grab of the next dialog, saved as docs/<name>.png, then closes it with Escape.
    void ArmGrab(const char* name) {
        ArmModal([this, name](ModalHandle& dialog) {
            const std::filesystem::path file = m_folder / (std::string(name) + ".png");
            EXPECT_TRUE(dialog.Widget()->grab().save(QString::fromStdString(file.string())));
            dialog.PressEscape();
        });
    }

    std::filesystem::path m_folder;
};

TEST_F(Screenshot, ItemDialog) {
    ASSERT_TRUE(Start(
        {{1, u"Wool coat", u"2", u"L", u"Stain on the left sleeve.\r\nNo starch.", 3, 14, 2026}}));
    ArmGrab("screenshot-item-dialog");
    Document()->EditItem(0);
    EXPECT_TRUE(ModalRan());
}

TEST_F(Screenshot, About) {
    ASSERT_TRUE(Start({}));
    ArmGrab("screenshot-about");
    Frame()->SendMessage(WM_COMMAND, ID_APP_ABOUT, 0);
    EXPECT_TRUE(ModalRan());
}

} // namespace
