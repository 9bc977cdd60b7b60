// Start-up measurement from outside: with VESTORYLIST_EXIT_AFTER_FIRST_PAINT=1 in the
// environment the program closes its main window, as Exit does, once that window has been
// painted for the first time, so a benchmark can time a whole start as one process run.
#pragma once

// Called by the main routine before the start-up routine; does nothing without the variable.
void AfxInstallFirstPaintExit();
