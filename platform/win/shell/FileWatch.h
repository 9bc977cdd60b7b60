// CFileWatch: tells the program when the files of a folder change under it, as a command that
// the framework routes from the main window (its view, then the view's document), so that a
// document can follow a file that other programs write.
#pragma once

#include "platform/core/WinTypes.h"

#include <memory>
#include <string>

class CFileWatch {
public:
    CFileWatch();
    ~CFileWatch();
    CFileWatch(const CFileWatch&) = delete;
    CFileWatch& operator=(const CFileWatch&) = delete;

    // Watches the folder hostFolder: after each batch of files there written and closed,
    // renamed in or out, or removed, the command nID reaches the main window. FALSE when the
    // folder cannot be watched (it is not there, or the program has no message loop).
    BOOL Watch(const std::string& hostFolder, UINT nID);
    void Stop();
    BOOL IsWatching() const;
    const std::string& GetFolder() const { return m_folder; }

private:
    struct Notifier;
    std::unique_ptr<Notifier> m_pNotifier;
    std::string m_folder;
};
