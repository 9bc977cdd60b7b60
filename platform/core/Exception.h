// The framework's file and archive errors, thrown by value.
#pragma once

#include "platform/core/String.h"

#include <cstdint>
#include <stdexcept>

class CException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class CFileException : public CException {
public:
    // invalidFile: not a regular file; badPath: a symbolic link on the path leads nowhere.
    enum Cause {
        none,
        generic,
        fileNotFound,
        accessDenied,
        diskFull,
        endOfFile,
        invalidFile,
        badPath
    };
    CFileException() : CException(std::string()), m_cause(none), m_lOsError(0) {}
    CFileException(Cause cause, int osError, const CString& fileName);
    // Why, in the system's words ("Permission denied", "not a regular file").
    CString GetReason() const;
    Cause m_cause;
    int m_lOsError;
    CString m_strFileName;
};

class CArchiveException : public CException {
public:
    enum Cause { none, generic, badIndex, endOfFile, badLength };
    // nPosition: offset in the file where the failed read began.
    CArchiveException(Cause cause, std::uint64_t nPosition);
    Cause m_cause;
    std::uint64_t m_nPosition;
};
