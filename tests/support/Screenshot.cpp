#include "tests/support/Screenshot.h"

#include "platform/win/frame/WndQt.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

WindowPicture GrabWindow(CWnd* pWnd) {
    WindowPicture picture;
    QWidget* pWidget = AfxGetWidget(pWnd);
    if (!pWidget)
        return picture;
    const QImage image = pWidget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    picture.cx = image.width();
    picture.cy = image.height();
    picture.pixels.reserve(std::size_t(picture.cx * picture.cy));
    for (int y = 0; y < picture.cy; ++y) {
        for (int x = 0; x < picture.cx; ++x) {
            const QRgb rgb = image.pixel(x, y);
            picture.pixels.push_back(RGB(BYTE(qRed(rgb)), BYTE(qGreen(rgb)), BYTE(qBlue(rgb))));
        }
    }
    return picture;
}

bool SaveWindowPicture(CWnd* pWnd, const std::string& path) {
    QWidget* pWidget = AfxGetWidget(pWnd);
    return pWidget && pWidget->grab().save(QString::fromStdString(path), "PNG");
}
