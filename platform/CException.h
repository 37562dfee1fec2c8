// The framework's exceptions. They are thrown by value and caught by reference:
//   try { ... } catch (CException& e) { e.ReportError(); }
#pragma once

#include <string>

#include "platform/CObject.h"
#include "platform/WinDefs.h"

class CException : public CObject {
  public:
    // Fills message with a description for the user; FALSE (and empty) when there is none.
    virtual BOOL GetErrorMessage(std::string& message) const;
    // Shows the description in a message box of type nType (MB_OK gets an exclamation icon);
    // without one, the string resource nMessageID or a general text. Returns the button id.
    int ReportError(UINT nType = MB_OK, UINT nMessageID = 0) const;
};

// An operation the user has already been told about was abandoned; it carries no message.
class CUserException : public CException {};

// A file could not be opened, read, written or closed.
class CFileException : public CException {
  public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };
    // The file operation that failed, for the message.
    enum Operation { opOpen, opRead, opWrite, opClose };

    explicit CFileException(int cause = none, LONG lOsError = -1,
                            const char* lpszFileName = nullptr, Operation operation = opOpen);

    // The cause that best describes an operating-system error number.
    static int OsErrorToException(LONG lOsError);

    // E.g. `Cannot open "/x/y.txt": No such file or directory.`
    BOOL GetErrorMessage(std::string& message) const override;

    int m_cause;
    LONG m_lOsError;  // errno, or -1 when the cause is not an operating-system error
    std::string m_strFileName;
    Operation m_operation;
};
