// Start-up measurement from outside: with VESTORYLIST_EXIT_AFTER_FIRST_PAINT=1 in the
// environment the program writes the line "first paint" to standard output once its main window
// has been painted for the first time, then closes that window as Exit does. A benchmark times
// a whole start as one process run, up to the line, shut-down excluded.
#pragma once

// Called by the main routine before the start-up routine; does nothing without the variable.
void AfxInstallFirstPaintExit();
