// CWriterLock: the mark that a process holds a file for writing, readable by every program of the
// user, windows or not.
#pragma once

#include "platform/core/String.h"
#include "platform/core/WinTypes.h"

#include <functional>
#include <string>

// The mark is a lock file in the user's private runtime folder, named after the application and
// the real path of the file it stands for (so a link and its target share one mark) and holding
// the holder's process id. It is an flock: the kernel drops it when the holder dies, so a crashed
// program never blocks the next one. A mark on a file also locks the file's folder, which no
// cleaning of the runtime folder can remove, and is the only mark where the user has no private
// folder. Within one process the mark is shared: taking it again only counts.
class CWriterLock {
public:
    CWriterLock() = default;
    ~CWriterLock(); // lets go
    CWriterLock(const CWriterLock&) = delete;
    CWriterLock& operator=(const CWriterLock&) = delete;

    // A program that keeps the file's contents in memory holds it alone; writers that replace
    // it whole in one go (each crash-safe on its own) share it with each other, not with such a
    // program. A claim on a place (a folder), whose files are locked on their own, is held
    // alone by its mark only.
    enum Mode { exclusive, shared, exclusiveMark };

    // How long a writer waits for a holder that is letting go: a program ending, an import
    // writing its list.
    static constexpr DWORD kWaitMs = 3000;

    // Takes the mark for the host file without waiting. FALSE: another process of the user holds
    // it (or nothing can be marked); the id of one holding it goes to *pHolder (0 when unknown).
    BOOL Lock(const std::string& hostPath, int* pHolder = nullptr, Mode mode = exclusive);
    // Takes the mark, trying again until dwTimeoutMs have passed or giveUp (called with the
    // holder's id after each refusal) says to stop. FALSE as Lock.
    BOOL LockWithin(const std::string& hostPath, DWORD dwTimeoutMs, int* pHolder = nullptr,
                    Mode mode = exclusive, const std::function<bool(int nHolder)>& giveUp = {});
    // Lets go; the last holder in the process removes the lock file.
    void Unlock();
    BOOL IsLocked() const { return !m_key.empty(); }

    // The one sentence that tells the user that the file is held: "<application> is already
    // running on this list (process <holder>) but does not answer."
    static CString HeldMessage(int nHolder);

    // "<runtime folder>/<application>-<key>" for the host file, without an extension; empty
    // when the user has no private runtime folder. Other files of the same holder (a socket) go
    // beside it.
    static std::string BaseName(const std::string& hostPath);

private:
    std::string m_key; // the real path's key, for the marks this process holds
};
