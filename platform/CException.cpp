#include "platform/CException.h"

#include <cerrno>
#include <system_error>

#include "base/EscapedText.h"
#include "platform/AfxMessageBox.h"
#include "platform/StringTable.h"

namespace {
const char* CauseText(int cause) {
    switch (cause) {
        case CFileException::fileNotFound:
            return "the file does not exist";
        case CFileException::badPath:
            return "the path is invalid";
        case CFileException::tooManyOpenFiles:
            return "too many files are open";
        case CFileException::accessDenied:
            return "access is denied";
        case CFileException::invalidFile:
            return "the file is not open";
        case CFileException::hardIO:
            return "a hardware error occurred";
        case CFileException::sharingViolation:
            return "another program is using the file";
        case CFileException::lockViolation:
            return "the file is locked";
        case CFileException::diskFull:
            return "the disk is full";
        case CFileException::endOfFile:
            return "the end of the file was reached";
        default:
            return "an unexpected error occurred";
    }
}

// The reason in the words of the operating system where it has them.
std::string ReasonText(int cause, LONG osError) {
    bool osWords = osError > 0 && cause != CFileException::sharingViolation &&
                   cause != CFileException::lockViolation;
    return osWords ? std::generic_category().message(osError) : CauseText(cause);
}

std::string OperationText(CFileException::Operation operation, const std::string& file) {
    const std::string quoted = QuotedName(file);
    switch (operation) {
        case CFileException::opRead:
            return "Reading " + quoted + " failed";
        case CFileException::opWrite:
            return "Writing " + quoted + " failed";
        case CFileException::opClose:
            return "Closing " + quoted + " failed";
        default:
            return "Cannot open " + quoted;
    }
}
}  // namespace

BOOL CException::GetErrorMessage(std::string& message) const {
    message.clear();
    return FALSE;
}

int CException::ReportError(UINT nType, UINT nMessageID) const {
    std::string message;
    if (!GetErrorMessage(message) || message.empty()) {
        if (nMessageID == 0 || !AfxLoadString(nMessageID, message)) {
            message = "An unknown error occurred.";
        }
    }
    if (nType == MB_OK) nType |= MB_ICONEXCLAMATION;
    return AfxMessageBox(message.c_str(), nType);
}

CFileException::CFileException(int cause, LONG lOsError, const char* lpszFileName,
                               Operation operation)
    : m_cause(cause),
      m_lOsError(lOsError),
      m_strFileName(lpszFileName ? lpszFileName : ""),
      m_operation(operation) {}

int CFileException::OsErrorToException(LONG lOsError) {
    switch (lOsError) {
        case 0:
            return none;
        case ENOENT:
            return fileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
        case EINVAL:
            return badPath;
        case EMFILE:
        case ENFILE:
            return tooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS:
            return accessDenied;
        case EBADF:
            return invalidFile;
        case EIO:
            return hardIO;
        case EWOULDBLOCK:
            return sharingViolation;
        case ENOSPC:
        case EDQUOT:
            return diskFull;
        default:
            return genericException;
    }
}

BOOL CFileException::GetErrorMessage(std::string& message) const {
    if (m_cause == none) {
        message.clear();
        return FALSE;
    }
    message =
        OperationText(m_operation, m_strFileName) + ": " + ReasonText(m_cause, m_lOsError) + ".";
    return TRUE;
}
