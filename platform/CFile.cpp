#include "platform/CFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {
int AccessFlags(UINT flags) {
    switch (flags & 0x3) {
        case CFile::modeWrite:
            return O_WRONLY;
        case CFile::modeReadWrite:
            return O_RDWR;
        default:
            return O_RDONLY;
    }
}

int CreationFlags(UINT flags) {
    if ((flags & CFile::modeCreate) == 0) return 0;
    return (flags & CFile::modeNoTruncate) ? O_CREAT : O_CREAT | O_TRUNC;
}

// The flock operation of a sharing mode, or 0 for none.
int LockOperation(UINT flags) {
    switch (flags & 0x70) {
        case CFile::shareDenyWrite:
            return LOCK_SH | LOCK_NB;
        case CFile::shareExclusive:
        case CFile::shareDenyRead:
            return LOCK_EX | LOCK_NB;
        default:
            return 0;
    }
}

// Opens without blocking on a FIFO, refuses directories and restores blocking reads.
int OpenDescriptor(const char* path, UINT flags, int& osError) {
    int fd = ::open(path, AccessFlags(flags) | CreationFlags(flags) | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) {
        osError = errno;
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        osError = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd);
        return -1;
    }
    int lock = LockOperation(flags);
    if ((lock != 0 && ::flock(fd, lock) != 0) ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        osError = errno;
        ::close(fd);
        return -1;
    }
    return fd;
}
}  // namespace

CFile::CFile(const char* lpszFileName, UINT nOpenFlags) {
    CFileException error;
    if (!Open(lpszFileName, nOpenFlags, &error)) throw error;
}

CFile::~CFile() {
    if (m_hFile >= 0) ::close(m_hFile);
}

BOOL CFile::Open(const char* lpszFileName, UINT nOpenFlags, CFileException* pError) {
    if (m_hFile >= 0) ::close(m_hFile);
    m_hFile = -1;
    m_strFileName = lpszFileName ? lpszFileName : "";
    int osError = 0;
    int fd = lpszFileName && *lpszFileName ? OpenDescriptor(lpszFileName, nOpenFlags, osError) : -1;
    if (fd < 0) {
        if (osError == 0) osError = ENOENT;
        if (pError) {
            *pError = CFileException(CFileException::OsErrorToException(osError), osError,
                                     m_strFileName.c_str(), CFileException::opOpen);
        }
        return FALSE;
    }
    m_hFile = fd;
    return TRUE;
}

void CFile::ThrowError(int osError, CFileException::Operation operation) const {
    throw CFileException(CFileException::OsErrorToException(osError), osError,
                         m_strFileName.c_str(), operation);
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
    if (m_hFile < 0) ThrowError(EBADF, CFileException::opRead);
    auto* buffer = static_cast<char*>(lpBuf);
    UINT done = 0;
    while (done < nCount) {
        ssize_t got = ::read(m_hFile, buffer + done, nCount - done);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            ThrowError(errno, CFileException::opRead);
        }
        done += static_cast<UINT>(got);
    }
    return done;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
    if (m_hFile < 0) ThrowError(EBADF, CFileException::opWrite);
    const auto* buffer = static_cast<const char*>(lpBuf);
    UINT done = 0;
    while (done < nCount) {
        ssize_t put = ::write(m_hFile, buffer + done, nCount - done);
        if (put < 0) {
            if (errno == EINTR) continue;
            ThrowError(errno, CFileException::opWrite);
        }
        done += static_cast<UINT>(put);
    }
}

void CFile::Close() {
    if (m_hFile < 0) return;
    int fd = m_hFile;
    m_hFile = -1;
    if (::close(fd) != 0 && errno != EINTR) ThrowError(errno, CFileException::opClose);
}
