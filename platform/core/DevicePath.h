// The one place where the handheld's absolute paths are mapped onto host folders.
#pragma once

#include "platform/core/String.h"

#include <string>
#include <string_view>

// "\My Documents\Personal\Vestory.vsl" becomes
//   $VESTORYLIST_ROOT/My Documents/Personal/Vestory.vsl  when VESTORYLIST_ROOT is set,
//   <documents folder>/Personal/Vestory.vsl               otherwise, where the documents
//   folder is $XDG_DOCUMENTS_DIR (or user-dirs.dirs) and falls back to ~/Documents.
// A path that does not start with a backslash is a host path and is returned as UTF-8.
// Characters U+DC80 to U+DCFF stand for the bytes 0x80 to 0xFF that they carry (see below).
std::string AfxHostPathFromDevicePath(LPCTSTR lpszPath);

// A host file name as the framework's path string. Linux names are bytes: a byte that is not
// part of UTF-8 text becomes U+DC00 plus the byte (a lone surrogate, which no text can hold),
// so that AfxHostPathFromDevicePath gives back the very same name.
CString AfxDevicePathFromHostPath(std::string_view hostPath);
