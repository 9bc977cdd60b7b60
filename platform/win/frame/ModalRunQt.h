// Internal to platform/win and the tests: modal runs told to a watcher. The tests answer the
// windows of dialogs, pop-up menus, message boxes and file dialogs through it, and close the
// ones nobody expected; the program itself sets no watcher.
#pragma once

class QWidget;

// Called with a modal run's window as the run starts (bStarting) and as it ends.
using AfxModalRunWatcher = void (*)(QWidget* pWindow, bool bStarting);

// Sets the watcher (nullptr for none); returns the one before.
AfxModalRunWatcher AfxSetModalRunWatcher(AfxModalRunWatcher pWatcher);
// Tells the watcher, if there is one, that a modal run on pWindow starts or ends.
void AfxNotifyModalRun(QWidget* pWindow, bool bStarting);
