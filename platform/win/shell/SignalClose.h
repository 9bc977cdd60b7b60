// Ending the program from outside: SIGTERM, SIGINT and SIGHUP end any modal run as if
// cancelled and then the message loop, after which the main window closes as its close button
// closes it: the documents close and the program ends as Exit ends it, letting go of everything
// it holds.
#pragma once

// Called by the main routine once the program goes on starting; until the message loop runs,
// a signal waits.
void AfxInstallSignalClose();
// Gives the signals back their default handling.
void AfxRemoveSignalClose();
