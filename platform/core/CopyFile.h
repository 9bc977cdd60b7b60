// CopyFile: a copy of a file under a new name, with the original's permission bits.
#pragma once

#include "platform/core/WinTypes.h"

#include <string>
#include <vector>

struct stat;

// Copies lpExistingFileName to lpNewFileName. An existing file of that name is never replaced
// (FALSE with errno EEXIST): the program only makes new copies, so bFailIfExists must be TRUE. The
// copy appears whole or not at all, and holes of a sparse file stay holes. FALSE (errno set) on
// failure.
BOOL CopyFile(LPCTSTR lpExistingFileName, LPCTSTR lpNewFileName, BOOL bFailIfExists);

// Host paths, for the copies kept beside a file: a new copy as CopyFile makes it, with the
// original's owner and group too where the process may give them.
bool AfxCopyNewFile(const std::string& from, const std::string& to);
// A hard link costs nothing; where one is not allowed (another user's file under the kernel's
// link protection, file systems without links) a copy is made.
bool AfxLinkOrCopyFile(const std::string& from, const std::string& to);
// Gives the open file fd the owner and group of st where the process may, then its mode.
void AfxKeepOwnerAndMode(int fd, const struct stat& st);

// The folder of a path ("." for a bare name, "/" for the root's files) and its last name.
std::string AfxFolderOf(const std::string& path);
std::string AfxNameOf(const std::string& path);

// The names in a folder, "." and ".." left out, in no particular order; none where the folder
// cannot be read.
std::vector<std::string> AfxFolderNames(const std::string& folder);
