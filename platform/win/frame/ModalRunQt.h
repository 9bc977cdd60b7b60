// Internal to platform/win and the tests: modal runs told to a watcher. The tests answer the
// windows of dialogs, pop-up menus, message boxes and file dialogs through it, and close the
// ones nobody expected; the program itself sets no watcher.
#pragma once

#include <QPointer>
#include <QWidget>

class QMenu;

// Called with a modal run's window as the run starts (bStarting) and as it ends.
using AfxModalRunWatcher = void (*)(QWidget* pWindow, bool bStarting);

// Sets the watcher (nullptr for none); returns the one before.
AfxModalRunWatcher AfxSetModalRunWatcher(AfxModalRunWatcher pWatcher);

// A modal run on pWindow for as long as the object lives: the watcher, if there is one, is
// told that it starts, and that it ends however the scope is left (with no window if the
// window went during the run).
class CModalRunScope {
public:
    explicit CModalRunScope(QWidget* pWindow);
    ~CModalRunScope();
    CModalRunScope(const CModalRunScope&) = delete;
    CModalRunScope& operator=(const CModalRunScope&) = delete;

private:
    QPointer<QWidget> m_pWindow;
};

// For a menu that Qt runs itself (a tool button's): each of its runs lasts from its showing
// to its hiding.
void AfxWatchMenuRuns(QMenu* pMenu);
