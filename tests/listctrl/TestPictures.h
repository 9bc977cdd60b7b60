// A small bitmap resource for the image list and the list control's state pictures.
#pragma once

#include "platform/core/Resource.h"

constexpr UINT IDB_TEST_STATES = 900;
constexpr int kTestPictureSize = 8;

// Two 8x8 pictures, green then blue, each with a red (mask) top-left pixel, and a ninth
// column of black that is too narrow to be a picture.
inline const char* const kTestStatesXpm[] = {
    "17 8 4 1",          "r c #FF0000",       "g c #00FF00",       "b c #0000FF",
    "k c #000000",       "rgggggggrbbbbbbbk", "ggggggggbbbbbbbbk", "ggggggggbbbbbbbbk",
    "ggggggggbbbbbbbbk", "ggggggggbbbbbbbbk", "ggggggggbbbbbbbbk", "ggggggggbbbbbbbbk",
    "ggggggggbbbbbbbbk",
};
inline constexpr AFX_XPM kTestStates = kTestStatesXpm;

inline const AFX_RESOURCE_MODULE& TestPictureModule() {
    static const AFX_RESOURCE_MODULE module{{{RT_BITMAP, IDB_TEST_STATES, &kTestStates, 1}}};
    return module;
}
