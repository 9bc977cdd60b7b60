// Internal to platform/win: the resources' XPM pictures as images. This Qt is built without its
// own XPM reader, so the platform reads the simple XPM that the resources use.
#pragma once

#include "platform/core/Resource.h"

#include <QImage>

// The picture, or a null image when the XPM is malformed. Colours are "#RRGGBB" or "None"
// (transparent).
QImage AfxImageFromXpm(AFX_XPM xpm);

// A bitmap resource's picture at scale 1 or, drawn at twice the size, 2, its pixel ratio set so
// that it lays out at the size of the first; a null image when the resource has none at that
// scale.
QImage AfxBitmapImage(const AFX_RESOURCE& bitmap, int nScale);
// The scale of picture a display of the application's device pixel ratio wants: 2 above 1.
int AfxPictureScale();
