// Internal to platform/win: the resources' XPM pictures as images. This Qt is built without its
// own XPM reader, so the platform reads the simple XPM that the resources use.
#pragma once

#include "platform/core/Resource.h"

#include <QImage>

// The picture, or a null image when the XPM is malformed. Colours are "#RRGGBB" or "None"
// (transparent).
QImage AfxImageFromXpm(AFX_XPM xpm);
