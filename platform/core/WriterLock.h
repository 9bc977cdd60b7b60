// CWriterLock: the mark that a process holds a file for writing, readable by every program of the
// user, windows or not.
#pragma once

#include "platform/core/WinTypes.h"

#include <string>

// The mark is a lock file in the user's runtime folder, named after the real path of the file it
// stands for (so a link and its target share one mark) and holding the holder's process id. It
// is an flock: the kernel drops it when the holder dies, so a crashed program never blocks the
// next one. Within one process the mark is shared: taking it again only counts.
class CWriterLock {
public:
    CWriterLock() = default;
    ~CWriterLock(); // lets go
    CWriterLock(const CWriterLock&) = delete;
    CWriterLock& operator=(const CWriterLock&) = delete;

    // A program that keeps the file's contents in memory holds it alone; writers that replace
    // it whole in one go (each crash-safe on its own) share it with each other, not with such a
    // program.
    enum Mode { exclusive, shared };

    // Takes the mark for the host file without waiting. FALSE: another process holds it; the id
    // of one holding it alone goes to *pHolder (0 when unknown). TRUE also when the user has no
    // runtime folder, where no program can mark anything.
    BOOL Lock(const std::string& hostPath, int* pHolder = nullptr, Mode mode = exclusive);
    // Lets go; the last holder in the process removes the lock file.
    void Unlock();
    BOOL IsLocked() const { return !m_lockPath.empty(); }

    // "<runtime folder>/vestorylist-<key>" for the host file, without an extension; empty when
    // there is no runtime folder. Other files of the same holder (a socket) go beside it.
    static std::string BaseName(const std::string& hostPath);

private:
    std::string m_lockPath;
};
