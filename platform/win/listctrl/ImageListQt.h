// The pictures behind an image list handle, for the platform's widgets that draw them.
#pragma once

#include "platform/core/WinTypes.h"

#include <QPixmap>
#include <QSize>

// Picture nImage of the list, or null when the handle names no live list or the index is
// out of range.
const QPixmap* AfxGetImageListPicture(HIMAGELIST hImageList, int nImage);
// The size of one picture; empty for a handle that names no live list.
QSize AfxGetImageListSize(HIMAGELIST hImageList);
// The bitmap resource the list was made from; 0 for a handle that names no live list.
UINT AfxGetImageListBitmapID(HIMAGELIST hImageList);
