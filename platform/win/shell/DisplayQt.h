// The program's connection to the desktop's display server, made once at start-up.
#pragma once

#include <QApplication>

#include <memory>

// Opens the display for the program's windows. Without one, says so in one line on standard
// error, naming the variables that tell the program where the display is: null when none is
// set, and the process ends with status 1 when the one named does not answer.
std::unique_ptr<QApplication> AfxOpenDisplay(int& argc, char** argv);
