#include "platform/core/Exception.h"

#include <cerrno>
#include <cstring>
#include <string>

namespace {
std::string FileMessage(int osError, const CString& fileName) {
    std::string text = fileName.ToUtf8();
    if (osError != 0)
        text += std::string(": ") + std::strerror(osError);
    return text;
}
} // namespace

CFileException::CFileException(Cause cause, int osError, const CString& fileName)
    : CException(FileMessage(osError, fileName)), m_cause(cause), m_lOsError(osError),
      m_strFileName(fileName) {}

CString CFileException::GetReason() const {
    switch (m_cause) {
    case invalidFile:
        return u"not a regular file";
    case badPath:
        return u"dangling symbolic link";
    default:
        return CString::FromUtf8(std::strerror(m_lOsError != 0 ? m_lOsError : EIO));
    }
}

CArchiveException::CArchiveException(Cause cause, std::uint64_t nPosition)
    : CException((cause == endOfFile ? "archive ends early at byte " : "archive damaged at byte ") +
                 std::to_string(nPosition)),
      m_cause(cause), m_nPosition(nPosition) {}
