// Input as a user gives it: taps at device-screen points, keys to the main window.
#pragma once

#include "platform/core/WinTypes.h"

#include "tests/support/SourceLine.h"

// A mouse press and release at a device-screen point (from the main window's client top-left
// corner), delivered through Qt to whatever widget is there. FALSE when nothing is there.
BOOL Tap(POINT ptDevice, SourceLine where = SourceLine::current());
// A key with Ctrl held, pressed in the main window (accelerators).
void PressCtrlKey(char letter, SourceLine where = SourceLine::current());
// Keys pressed one after the other where the keyboard is, named as Qt names them and
// separated by blanks: "Down Shift+Down Ctrl+Z Space". Modal windows need armed actions.
void PressKeys(const char* keys, SourceLine where = SourceLine::current());
// The second click of a double click as a person makes it: press, release, press, the
// double click, release.
BOOL DoubleTap(POINT ptDevice, SourceLine where = SourceLine::current());
// A press and release of the right button.
BOOL RightTap(POINT ptDevice, SourceLine where = SourceLine::current());
// Whether any top-level window is on screen.
bool AnyWindowVisible();
// Lets Qt deliver what is pending (repaints, deferred deletions).
void ProcessEvents();
