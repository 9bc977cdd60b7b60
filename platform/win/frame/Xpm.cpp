#include "platform/win/frame/XpmQt.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

QImage AfxImageFromXpm(AFX_XPM xpm) {
    int cx = 0, cy = 0, nColors = 0, cpp = 0;
    if (!xpm || std::sscanf(xpm[0], "%d %d %d %d", &cx, &cy, &nColors, &cpp) != 4 || cx <= 0 ||
        cy <= 0 || nColors <= 0 || cpp <= 0)
        return QImage();

    std::map<std::string, QRgb> palette;
    for (int i = 1; i <= nColors; ++i) {
        const char* line = xpm[i];
        if (std::strlen(line) < std::size_t(cpp))
            return QImage();
        const std::string key(line, std::size_t(cpp));
        // The visual class "c" follows the key; only colour values are used.
        const char* value = std::strstr(line + cpp, " c ");
        if (!value)
            return QImage();
        value += 3;
        while (*value == ' ')
            ++value;
        unsigned rgb = 0;
        if (*value == '#' && std::sscanf(value + 1, "%6x", &rgb) == 1)
            palette[key] = qRgb(int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF));
        else if (std::strncmp(value, "None", 4) == 0 || std::strncmp(value, "none", 4) == 0)
            palette[key] = qRgba(0, 0, 0, 0);
        else
            return QImage();
    }

    QImage image(cx, cy, QImage::Format_ARGB32);
    for (int y = 0; y < cy; ++y) {
        const char* row = xpm[1 + nColors + y];
        if (std::strlen(row) < std::size_t(cx * cpp))
            return QImage();
        for (int x = 0; x < cx; ++x) {
            auto it = palette.find(std::string(row + x * cpp, std::size_t(cpp)));
            if (it == palette.end())
                return QImage();
            image.setPixel(x, y, it->second);
        }
    }
    return image;
}

QImage AfxBitmapImage(const AFX_RESOURCE& bitmap, int nScale) {
    if (nScale < 1 || std::size_t(nScale) > bitmap.nSize)
        return QImage();
    QImage image = AfxImageFromXpm(static_cast<const AFX_XPM*>(bitmap.pData)[nScale - 1]);
    image.setDevicePixelRatio(nScale);
    return image;
}

int AfxPictureScale() {
    return qApp && qApp->devicePixelRatio() > 1.0 ? 2 : 1;
}
