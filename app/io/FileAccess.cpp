#include "app/io/FileAccess.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "app/cli/AppError.h"
#include "app/io/FileHandle.h"

namespace {

namespace fs = std::filesystem;

// Temporary files of a save are ".NAME.vantrel-save-PID-XXXXXX" beside the file NAME.
constexpr const char* kTemporaryMarker = ".vantrel-save-";
constexpr std::size_t kRandomLength = 6;
// More links than this in a row are a loop.
constexpr int kMaxLinkDepth = 40;
// Recovery names tried in one folder: NAME.recovered, NAME.recovered-1, ...
constexpr int kRecoveryNames = 100;

timespec CurrentTime() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

// Anything of ours older than this was left by another process.
const timespec kProcessStart = CurrentTime();

bool IsEarlier(const timespec& a, const timespec& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

std::string Describe(const std::string& path, const char* action, int error) {
    return path + ": cannot " + action + ": " + std::strerror(error);
}

// Reads fd to its end, or to one byte past limit, straight into the storage of bytes; false
// with errno set on a read error. Storage reserved beforehand (a regular file's size) is used
// without growing.
bool ReadAll(int fd, std::string& bytes, std::uint64_t limit) {
    constexpr size_t kBlock = 65536;
    while (bytes.size() <= limit) {
        if (bytes.size() == bytes.capacity()) bytes.reserve(std::max(2 * bytes.capacity(), kBlock));
        const size_t start = bytes.size();
        const size_t room = bytes.capacity() - start;
        bytes.resize(bytes.capacity());
        ssize_t got = read(fd, bytes.data() + start, room);
        bytes.resize(start + static_cast<size_t>(std::max<ssize_t>(got, 0)));
        if (got == 0) return true;
        if (got < 0 && errno != EINTR) return false;
    }
    return true;
}

// A content id hashes its bytes in blocks of this size, so that a file can be hashed as it is
// read; each block's hash is mixed into the hash of those before it.
constexpr std::size_t kHashBlock = std::size_t{1} << 20;
constexpr std::size_t kReadFailed = ~std::size_t{0};

std::size_t MixBlock(std::size_t hash, std::string_view block) {
    constexpr std::size_t kPrime = 0x100000001B3;
    return (hash ^ std::hash<std::string_view>{}(block)) * kPrime;
}

// Fills block from fd, short only at the end of the file; the count read, or kReadFailed.
std::size_t ReadBlock(int fd, std::vector<char>& block) {
    std::size_t filled = 0;
    while (filled < block.size()) {
        const ssize_t got = read(fd, block.data() + filled, block.size() - filled);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            return kReadFailed;
        }
        filled += static_cast<std::size_t>(got);
    }
    return filled;
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

std::string TooLarge(const std::string& name, std::uint64_t limit) {
    return name + ": too large (the limit is " + SizeText(limit) + ")";
}

std::string KindProblem(const std::string& path, mode_t mode) {
    return path + (S_ISDIR(mode) ? ": is a directory" : ": not a regular file");
}

// The file a write to path lands in: the end of a chain of links, so the links survive. The
// end may not exist yet: a dangling link's target is where the file is created.
std::string ResolveWriteTarget(const std::string& path) {
    fs::path current(path);
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error))) return current.string();
        fs::path next = fs::read_symlink(current, error);
        if (error) throw AppError(Describe(path, "write", error.value()));
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    throw AppError(Describe(path, "write", ELOOP));
}

fs::path FolderOf(const fs::path& file) {
    fs::path folder = file.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

// The state of the file a save replaces, or none when it is created; refuses what may not be
// replaced, as an editor does: folders, devices and files the user may not write.
std::optional<struct stat> CheckReplaceable(const std::string& target, const std::string& path) {
    struct stat info {};
    if (stat(target.c_str(), &info) != 0) {
        if (errno == ENOENT) return std::nullopt;
        throw AppError(Describe(path, "write", errno));
    }
    if (!S_ISREG(info.st_mode)) throw AppError(KindProblem(path, info.st_mode));
    if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0) return info;
    if (errno == EACCES)
        throw AppError(path + ": cannot write: the file is read-only for this user");
    throw AppError(Describe(path, "write", errno));
}

mode_t CreationMode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Gives the new file the old one's owner, group and permissions where the system allows; a
// group that cannot be kept gets no more access than others had. Special bits are never set.
bool AdoptOwnership(int fd, const std::optional<struct stat>& old) {
    if (!old) return fchmod(fd, CreationMode()) == 0;
    if (fchown(fd, old->st_uid, old->st_gid) != 0)
        (void)fchown(fd, static_cast<uid_t>(-1), old->st_gid);
    struct stat now {};
    if (fstat(fd, &now) != 0) return false;
    mode_t mode = old->st_mode & 0777;
    if (now.st_gid != old->st_gid) mode = (mode & ~mode_t{070}) | ((mode & 07) << 3);
    return fchmod(fd, mode) == 0;
}

bool IsRunning(pid_t pid) { return kill(pid, 0) == 0 || errno == EPERM; }

// The process id in a temporary file's name after its prefix ("PID-XXXXXX"), or 0.
pid_t CreatorOf(std::string_view rest) {
    std::size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string_view::npos || rest.size() != dash + 1 + kRandomLength)
        return 0;
    pid_t pid = 0;
    for (char c : rest.substr(0, dash)) {
        if (c < '0' || c > '9' || pid > 99999999) return 0;
        pid = pid * 10 + (c - '0');
    }
    return pid;
}

// Removes the temporary files of earlier saves of name that were killed before they ended:
// older than this process, and their creator is gone.
void RemoveStaleTemporaries(const fs::path& folder, const std::string& name) {
    const std::string prefix = "." + name + kTemporaryMarker;
    DIR* listing = opendir(folder.c_str());
    if (listing == nullptr) return;
    while (const dirent* entry = readdir(listing)) {
        std::string_view entryName(entry->d_name);
        if (entryName.substr(0, prefix.size()) != prefix) continue;
        pid_t creator = CreatorOf(entryName.substr(prefix.size()));
        const fs::path stale = folder / entry->d_name;
        struct stat info {};
        if (creator <= 0 || lstat(stale.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        if (IsEarlier(info.st_mtim, kProcessStart) && !IsRunning(creator)) unlink(stale.c_str());
    }
    closedir(listing);
}

std::string TemporaryPattern(const fs::path& folder, const std::string& name) {
    return (folder / ("." + name + kTemporaryMarker + std::to_string(getpid()) + "-" +
                      std::string(kRandomLength, 'X')))
        .string();
}

// Makes the rename itself last across a crash; a failure here loses nothing.
void SyncFolder(const fs::path& folder) {
    FileHandle handle(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (handle.IsOpen()) (void)fsync(handle.Get());
}

// Writes a new file at path holding bytes, refusing to replace anything there; errno on failure.
bool WriteNewFile(const fs::path& path, std::string_view bytes) {
    FileHandle file(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!file.IsOpen()) return false;
    if (WriteAll(file.Get(), bytes) && fsync(file.Get()) == 0 && file.Close()) return true;
    int error = errno;
    unlink(path.c_str());
    errno = error;
    return false;
}

// Places bytes under the first free recovery name in folder; empty when the folder takes none.
std::string KeepIn(const fs::path& folder, const std::string& name, std::string_view bytes) {
    for (int number = 0; number < kRecoveryNames; ++number) {
        std::string candidate = name + ".recovered";
        if (number > 0) candidate += "-" + std::to_string(number);
        fs::path path = folder / candidate;
        if (WriteNewFile(path, bytes)) return fs::absolute(path).lexically_normal().string();
        if (errno != EEXIST) return {};
    }
    return {};
}

}  // namespace

std::string SizeText(std::uint64_t bytes) {
    const char* const units[] = {"bytes", "KiB", "MiB", "GiB"};
    int unit = 0;
    while (unit < 3 && bytes >= 1024 && bytes % 1024 == 0) {
        bytes /= 1024;
        ++unit;
    }
    return std::to_string(bytes) + " " + units[unit];
}

std::string ReadWholeFile(const std::string& path, std::uint64_t limit) {
    // Not blocking in open keeps a pipe without a writer from hanging before it is refused.
    FileHandle file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.IsOpen()) throw AppError(Describe(path, "read", errno));
    struct stat info {};
    if (fstat(file.Get(), &info) != 0) throw AppError(Describe(path, "read", errno));
    if (!S_ISREG(info.st_mode)) throw AppError(KindProblem(path, info.st_mode));
    if (static_cast<std::uint64_t>(info.st_size) > limit) throw AppError(TooLarge(path, limit));
    std::string bytes;
    // One byte more than the size, so that the end shows without growing.
    bytes.reserve(static_cast<std::size_t>(info.st_size) + 1);
    if (!ReadAll(file.Get(), bytes, limit)) throw AppError(Describe(path, "read", errno));
    if (bytes.size() > limit) throw AppError(TooLarge(path, limit));
    return bytes;
}

bool PathIsMissing(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) != 0 && errno == ENOENT;
}

std::string ReadStandardInput(std::uint64_t limit) {
    std::string bytes;
    if (!ReadAll(STDIN_FILENO, bytes, limit))
        throw AppError(Describe("standard input", "read", errno));
    if (bytes.size() > limit) throw AppError(TooLarge("standard input", limit));
    return bytes;
}

ContentId ContentIdOf(std::string_view bytes) {
    std::size_t hash = 0;
    for (std::size_t at = 0; at < bytes.size(); at += kHashBlock)
        hash = MixBlock(hash, bytes.substr(at, kHashBlock));
    return {bytes.size(), hash};
}

// Block by block, so that a long element is not held a second time to be compared.
bool FileHolds(const std::string& path, const ContentId& id) {
    FileHandle file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!file.IsOpen() || fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uint64_t>(info.st_size) != id.size)
        return false;
    std::vector<char> block(kHashBlock);
    std::size_t hash = 0;
    std::uint64_t total = 0;
    for (;;) {
        const std::size_t filled = ReadBlock(file.Get(), block);
        if (filled == kReadFailed) return false;
        if (filled == 0) break;
        total += filled;
        if (total > id.size) return false;
        hash = MixBlock(hash, std::string_view(block.data(), filled));
        if (filled < block.size()) break;
    }
    return total == id.size && hash == id.hash;
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
    const fs::path target = ResolveWriteTarget(path);
    const std::optional<struct stat> old = CheckReplaceable(target.string(), path);
    const fs::path folder = FolderOf(target);
    const std::string name = target.filename().string();
    RemoveStaleTemporaries(folder, name);
    std::string temp = TemporaryPattern(folder, name);
    FileHandle file(mkostemp(temp.data(), O_CLOEXEC));
    if (!file.IsOpen()) throw AppError(Describe(path, "write", errno));
    bool ok = AdoptOwnership(file.Get(), old) && WriteAll(file.Get(), bytes) &&
              fsync(file.Get()) == 0 && file.Close() && rename(temp.c_str(), target.c_str()) == 0;
    if (ok) {
        SyncFolder(folder);
        return;
    }
    int error = errno;
    unlink(temp.c_str());
    throw AppError(Describe(path, "write", error));
}

std::string KeepRecoveryCopy(const std::string& path, std::string_view bytes) {
    const std::string name = fs::path(path).filename().string();
    std::vector<fs::path> folders = {FolderOf(path), fs::path(".")};
    std::error_code error;
    fs::path temporary = fs::temp_directory_path(error);
    if (!error) folders.push_back(temporary);
    for (const fs::path& folder : folders) {
        std::string kept = KeepIn(folder, name, bytes);
        if (!kept.empty()) return kept;
    }
    throw AppError("no recovery copy could be written beside " + path +
                   ", in the working folder or in the temporary folder");
}

void WriteStandardOutput(std::string_view bytes) {
    if (!WriteAll(STDOUT_FILENO, bytes))
        throw AppError(Describe("standard output", "write", errno));
}

void WriteStandardError(std::string_view bytes) {
    // Nowhere is left to report a failure of the error stream itself.
    (void)WriteAll(STDERR_FILENO, bytes);
}
