// A file opened through the operating system, with errors reported as CFileException.
//
// Sharing modes are advisory locks (flock): shareDenyWrite takes a shared lock, shareExclusive
// and shareDenyRead an exclusive one, without waiting. Opening fails with a sharing violation
// when another holder's lock conflicts. Only programs that lock too are kept out.
#pragma once

#include <string>

#include "platform/CException.h"
#include "platform/CObject.h"

class CFile : public CObject {
  public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };

    CFile() = default;
    // Opens the file or throws CFileException.
    CFile(const char* lpszFileName, UINT nOpenFlags);
    CFile(const std::string& fileName, UINT nOpenFlags) : CFile(fileName.c_str(), nOpenFlags) {}
    // Closes the file; errors are not reported here (call Close to see them).
    ~CFile() override;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Opens the file; FALSE on failure, with the reason in *pError when given. A directory,
    // a missing file and a missing permission all fail.
    BOOL Open(const char* lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    BOOL Open(const std::string& fileName, UINT nOpenFlags, CFileException* pError = nullptr) {
        return Open(fileName.c_str(), nOpenFlags, pError);
    }
    // Reads up to nCount bytes; fewer only at the end of the file. Throws CFileException.
    UINT Read(void* lpBuf, UINT nCount);
    // Writes all nCount bytes or throws CFileException.
    void Write(const void* lpBuf, UINT nCount);
    // Closes the file; throws CFileException when the system reports an error.
    void Close();

    const std::string& GetFilePath() const { return m_strFileName; }
    bool IsOpen() const { return m_hFile >= 0; }

  private:
    [[noreturn]] void ThrowError(int osError, CFileException::Operation operation) const;

    int m_hFile = -1;
    std::string m_strFileName;
};
