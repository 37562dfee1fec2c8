#include "app/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/AppError.h"

namespace {

std::string Describe(const std::string& path, const char* action, int error) {
    return path + ": cannot " + action + ": " + std::strerror(error);
}

// Reads fd to its end into bytes, straight into their storage; false with errno set on a read
// error. A known size (a regular file's) sizes the storage once.
bool ReadAll(int fd, std::string& bytes, size_t knownSize = 0) {
    constexpr size_t kBlock = 65536;
    // One byte more than the size, so that the end shows without growing.
    bytes.reserve(knownSize + 1);
    for (;;) {
        if (bytes.size() == bytes.capacity()) bytes.reserve(std::max(2 * bytes.capacity(), kBlock));
        const size_t start = bytes.size();
        const size_t room = bytes.capacity() - start;
        bytes.resize(bytes.capacity());
        ssize_t got = read(fd, bytes.data() + start, room);
        bytes.resize(start + static_cast<size_t>(std::max<ssize_t>(got, 0)));
        if (got == 0) return true;
        if (got < 0 && errno != EINTR) return false;
    }
}

// Writes all of bytes to fd; false with errno set on failure.
bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t put = write(fd, bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(put));
    }
    return true;
}

// Regular files and pipes (as from a shell's process substitution) hold text; nothing else does.
bool IsReadableKind(mode_t mode) { return S_ISREG(mode) || S_ISFIFO(mode) || S_ISCHR(mode); }

// The file a write to path lands in: the target of a link, so the link itself survives.
std::string ResolveWriteTarget(const std::string& path) {
    char resolved[PATH_MAX];
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    if (realpath(path.c_str(), resolved) == nullptr) return path;
    return resolved;
}

mode_t CreationMode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// The permissions the new file gets: those of the file it replaces, else the usual ones.
mode_t ModeForReplacement(const std::string& target, const std::string& path) {
    struct stat info {};
    if (stat(target.c_str(), &info) != 0) return CreationMode();
    if (S_ISDIR(info.st_mode)) throw AppError(path + ": is a directory");
    if (!S_ISREG(info.st_mode)) throw AppError(path + ": not a regular file");
    return info.st_mode & 07777;
}

}  // namespace

std::string ReadWholeFile(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw AppError(Describe(path, "read", errno));
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        int error = errno;
        close(fd);
        throw AppError(Describe(path, "read", error));
    }
    if (!IsReadableKind(info.st_mode)) {
        close(fd);
        throw AppError(path + (S_ISDIR(info.st_mode) ? ": is a directory" : ": not a file"));
    }
    std::string bytes;
    bool ok = ReadAll(fd, bytes, S_ISREG(info.st_mode) ? static_cast<size_t>(info.st_size) : 0);
    int error = errno;
    close(fd);
    if (!ok) throw AppError(Describe(path, "read", error));
    return bytes;
}

bool PathIsMissing(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) != 0 && errno == ENOENT;
}

std::string ReadStandardInput() {
    std::string bytes;
    if (!ReadAll(STDIN_FILENO, bytes)) throw AppError(Describe("standard input", "read", errno));
    return bytes;
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
    std::string target = ResolveWriteTarget(path);
    mode_t mode = ModeForReplacement(target, path);
    std::filesystem::path targetPath(target);
    std::filesystem::path folder = targetPath.parent_path();
    if (folder.empty()) folder = ".";
    std::string temp = (folder / ("." + targetPath.filename().string() + ".XXXXXX")).string();
    int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) throw AppError(Describe(path, "write", errno));
    bool ok = fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (ok) return;
    unlink(temp.c_str());
    throw AppError(Describe(path, "write", error));
}

void WriteStandardOutput(std::string_view bytes) {
    if (!WriteAll(STDOUT_FILENO, bytes))
        throw AppError(Describe("standard output", "write", errno));
}

void WriteStandardError(std::string_view bytes) {
    // Nowhere is left to report a failure of the error stream itself.
    (void)WriteAll(STDERR_FILENO, bytes);
}
