// Ending the program from outside: SIGTERM, SIGINT and SIGHUP close the main window as the
// window's close button does, so the documents close and the program ends as Exit ends it,
// letting go of everything it holds.
#pragma once

// Called by the main routine once the program goes on starting; until the message loop runs,
// a signal waits.
void AfxInstallSignalClose();
// Gives the signals back their default handling.
void AfxRemoveSignalClose();
