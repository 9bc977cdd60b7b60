// RunningApp: the program started as from its icon on the list in the current device root, and
// closed again when it goes.
#pragma once

#include "app/VestoryListApp.h"

#include <memory>

class CVestoryListView;

class RunningApp {
public:
    RunningApp();
    ~RunningApp();
    RunningApp(const RunningApp&) = delete;
    RunningApp& operator=(const RunningApp&) = delete;

    CVestoryListView* View() const;
    // Closes the list and takes the program down; the destructor does it if not done before.
    void Stop();

private:
    std::unique_ptr<CVestoryListApp> m_pApp;
};
