// The one place where the handheld's absolute paths are mapped onto host folders.
#pragma once

#include "platform/core/WinTypes.h"

#include <string>

// "\My Documents\Personal\Vestory.vsl" becomes
//   $VESTORYLIST_ROOT/My Documents/Personal/Vestory.vsl  when VESTORYLIST_ROOT is set,
//   <documents folder>/Personal/Vestory.vsl               otherwise, where the documents
//   folder is $XDG_DOCUMENTS_DIR (or user-dirs.dirs) and falls back to ~/Documents.
// A path that does not start with a backslash is a host path and is returned as UTF-8.
std::string AfxHostPathFromDevicePath(LPCTSTR lpszPath);
