#include "platform/win/listctrl/ImageList.h"

#include "platform/win/listctrl/ImageListQt.h"
#include "tests/listctrl/TestPictures.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

class ImageListTest : public testing::Test {
protected:
    void SetUp() override {
        m_hOld = AfxGetResourceHandle();
        AfxSetResourceHandle(&TestPictureModule());
    }
    void TearDown() override { AfxSetResourceHandle(m_hOld); }

private:
    HINSTANCE m_hOld = nullptr;
};

TEST_F(ImageListTest, CutsTheBitmapIntoWholePicturesWithTheMaskColourTransparent) {
    CImageList list;
    ASSERT_TRUE(list.Create(IDB_TEST_STATES, kTestPictureSize, 1, kRed));
    EXPECT_EQ(list.GetImageCount(), 2); // the 1-pixel black column is dropped
    EXPECT_EQ(AfxGetImageListSize(list), QSize(kTestPictureSize, kTestPictureSize));
    struct Case {
        int nImage;
        QColor body;
    } cases[] = {{0, Qt::green}, {1, Qt::blue}};
    for (const Case& c : cases) {
        const QPixmap* pPicture = AfxGetImageListPicture(list, c.nImage);
        ASSERT_NE(pPicture, nullptr);
        const QImage image = pPicture->toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << c.nImage;
        EXPECT_EQ(image.pixelColor(3, 3), c.body) << c.nImage;
    }
    EXPECT_EQ(AfxGetImageListPicture(list, 2), nullptr);
}

TEST_F(ImageListTest, FailsAndStaysEmptyWhenThePicturesCannotBeMade) {
    struct Case {
        UINT nID;
        int cx;
    } cases[] = {{901, 8}, {IDB_TEST_STATES, 0}, {IDB_TEST_STATES, 18}};
    for (const Case& c : cases) {
        CImageList list;
        EXPECT_FALSE(list.Create(c.nID, c.cx, 1, kRed)) << c.nID << " " << c.cx;
        EXPECT_EQ(list.GetSafeHandle(), nullptr);
        EXPECT_EQ(list.GetImageCount(), 0);
    }
}

TEST_F(ImageListTest, AReleasedListsHandleShowsNothing) {
    CImageList list;
    ASSERT_TRUE(list.Create(IDB_TEST_STATES, kTestPictureSize, 1, kRed));
    const HIMAGELIST hList = list;
    EXPECT_TRUE(list.DeleteImageList());
    EXPECT_EQ(list.GetSafeHandle(), nullptr);
    EXPECT_EQ(list.GetImageCount(), 0);
    EXPECT_EQ(AfxGetImageListPicture(hList, 0), nullptr);
    EXPECT_FALSE(list.DeleteImageList());
}

} // namespace
