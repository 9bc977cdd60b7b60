// Internal to CReplaceFile: the files a save keeps beside the file it replaces (the backup,
// the daily history) and the names of its own new files.
#pragma once

#include <string>
#include <string_view>
#include <sys/stat.h>

std::string SaveFolderOf(const std::string& path);
std::string SaveNameOf(const std::string& path);

// A save's new file for <name> is ".<name>.tmp-<6 letters or digits>"; while it exists, files
// tied to it are that name with ".bak" (on its way to "<name>.bak") or ".day" (on its way
// into the history) appended. Nothing else is ever removed by a clean-up.
std::string NewFileName(const std::string& name, std::string_view suffix);
// Removes the new files (and what is tied to them) of saves that are gone: a save holds a
// lock on its new file until the file has its final name.
void RemoveStaleNewFiles(const std::string& folder, const std::string& name);

// Gives the open file fd the owner and group of st where the process may, then its mode.
void KeepOwnerAndMode(int fd, const struct stat& st);

// "<target>.bak" becomes the target's current version in one rename; newFile is the save's
// named, locked new file.
void KeepBackup(const std::string& target, const std::string& newFile);
// At the first save of a day, keeps the target's current version as
// "<target>.history/YYYY-MM-DD.vsl" and removes all but the seven newest there. Never fails
// the save: what cannot be kept is skipped.
void KeepHistoryCopy(const std::string& target, const std::string& newFile);
