// What a window shows, pixel by pixel (as QWidget::grab paints it).
#pragma once

#include "platform/core/WinTypes.h"

#include <string>
#include <vector>

class CWnd;

struct WindowPicture {
    int cx = 0;
    int cy = 0;
    std::vector<COLORREF> pixels; // row by row

    COLORREF At(int x, int y) const { return pixels[std::size_t(y * cx + x)]; }
};

WindowPicture GrabWindow(CWnd* pWnd);
// Saves what the window shows as a PNG file.
bool SaveWindowPicture(CWnd* pWnd, const std::string& path);
