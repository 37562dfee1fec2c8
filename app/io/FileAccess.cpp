#include "app/io/FileAccess.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <xxhash.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
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

// A file is compared with a content id block by block, as it is read, rather than held whole.
constexpr std::size_t kHashBlock = std::size_t{1} << 20;
constexpr std::size_t kReadFailed = ~std::size_t{0};

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

// A name in a folder held open, so that every step of a save (the checks, the temporary file,
// the rename) works on the same folder, whatever happens to the path meanwhile.
struct Place {
    FileHandle folder;  // opened with O_PATH: enough to work on names in it
    std::string name;
};

fs::path FolderOf(const fs::path& file) {
    fs::path folder = file.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

bool IsDotName(const std::string& name) { return name.empty() || name == "." || name == ".."; }

// The folder holding path's last name, opened relative to base (a folder or AT_FDCWD).
Place OpenPlace(int base, const fs::path& path, const std::string& shown) {
    Place place;
    place.name = path.filename().string();
    if (IsDotName(place.name)) {
        struct stat info {};
        const bool folder = fstatat(base, path.c_str(), &info, 0) == 0 && S_ISDIR(info.st_mode);
        throw AppError(shown + (folder ? ": is a directory" : ": cannot write: not a file name"));
    }
    const fs::path folder = FolderOf(path);
    place.folder = FileHandle(openat(base, folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!place.folder.IsOpen()) throw AppError(Describe(shown, "write", errno));
    return place;
}

// A sticky folder that everyone may write, such as /tmp: its names are not its users' own.
bool IsSharedFolder(const struct stat& folder) {
    constexpr mode_t kShared = S_ISVTX | S_IWOTH;
    return (folder.st_mode & kShared) == kShared;
}

// Whether an entry of a shared folder belongs to someone else: not to the user, nor to the
// folder's owner. The kernel follows such links for no one, and lets only their owner replace
// such files; root is held to the same rule, so a name planted there cannot redirect a write.
bool IsOthersInSharedFolder(const Place& place, const struct stat& entry) {
    struct stat folder {};
    if (fstat(place.folder.Get(), &folder) != 0 || !IsSharedFolder(folder)) return false;
    return entry.st_uid != geteuid() && entry.st_uid != folder.st_uid;
}

std::string LinkText(const Place& place, std::size_t sizeHint, const std::string& shown) {
    std::string text(std::max<std::size_t>(sizeHint, 64) + 1, '\0');
    for (;;) {
        const ssize_t got =
            readlinkat(place.folder.Get(), place.name.c_str(), text.data(), text.size());
        if (got < 0) throw AppError(Describe(shown, "write", errno));
        if (static_cast<std::size_t>(got) < text.size()) {
            text.resize(static_cast<std::size_t>(got));
            return text;
        }
        text.resize(2 * text.size());
    }
}

// Where a write to path lands: the end of a chain of links, so the links survive; a dangling
// link's target is created. Each link is read from the folder that holds it and its target
// found from there. The state of the file found, when there is one, is put in existing.
Place ResolveWriteTarget(const std::string& path, std::optional<struct stat>& existing) {
    Place place = OpenPlace(AT_FDCWD, path, path);
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        struct stat entry {};
        if (fstatat(place.folder.Get(), place.name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT) throw AppError(Describe(path, "write", errno));
            existing.reset();
            return place;
        }
        if (!S_ISLNK(entry.st_mode)) {
            existing = entry;
            return place;
        }
        if (IsOthersInSharedFolder(place, entry))
            throw AppError(path +
                           ": cannot write: another user's link in a shared sticky folder is not "
                           "followed");
        const fs::path next = LinkText(place, static_cast<std::size_t>(entry.st_size), path);
        place = OpenPlace(place.folder.Get(), next, path);
    }
    throw AppError(Describe(path, "write", ELOOP));
}

// Refuses what may not be replaced, as an editor does: folders, devices, another user's file in
// a shared folder, and files the user may not write. A file without any write bit is read-only
// for root too, though the kernel would let root write it.
void CheckReplaceable(const Place& place, const struct stat& info, const std::string& path) {
    if (!S_ISREG(info.st_mode)) throw AppError(KindProblem(path, info.st_mode));
    if (IsOthersInSharedFolder(place, info))
        throw AppError(path +
                       ": cannot write: another user's file in a shared sticky folder is not "
                       "replaced");
    const bool writable = (info.st_mode & 0222) != 0 &&
                          faccessat(place.folder.Get(), place.name.c_str(), W_OK, AT_EACCESS) == 0;
    if (writable) return;
    if ((info.st_mode & 0222) == 0 || errno == EACCES)
        throw AppError(path + ": cannot write: the file is read-only for this user");
    throw AppError(Describe(path, "write", errno));
}

mode_t CreationMode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// What a name in the folder may be long: the file system's limit.
std::size_t NameLimit(const Place& place) {
    const long limit = fpathconf(place.folder.Get(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
}

std::uint32_t NameHash(std::string_view name) {
    std::uint32_t hash = 2166136261u;
    for (const char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

// name, or when it is longer than room its start (whole UTF-8 characters) with "~" and a hash
// of the whole name, so that the names made from it fit the folder's limit, still show which
// file they belong to and differ between long names with one start.
std::string ShortName(const std::string& name, std::size_t room) {
    constexpr std::size_t kHashPart = 9;  // "~" and eight hex digits
    if (name.size() <= room) return name;
    std::size_t cut = room > kHashPart ? room - kHashPart : 0;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    char hash[kHashPart + 1];
    std::snprintf(hash, sizeof hash, "~%08x", static_cast<unsigned>(NameHash(name)));
    return name.substr(0, cut) + hash;
}

// The start of every temporary file name of saves of name: ".NAME.vantrel-save-", NAME
// shortened so that the process id and the random part still fit.
std::string TemporaryStem(const Place& place) {
    constexpr std::size_t kPidDigits = 10;
    const std::size_t fixed = 1 + std::strlen(kTemporaryMarker) + kPidDigits + 1 + kRandomLength;
    const std::size_t limit = NameLimit(place);
    return "." + ShortName(place.name, limit > fixed ? limit - fixed : 0) + kTemporaryMarker;
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

// Removes the temporary files of earlier saves of the name that were killed before they
// ended: older than this process, and their creator is gone.
void RemoveStaleTemporaries(const Place& place, const std::string& stem) {
    const int listed = openat(place.folder.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* listing = listed < 0 ? nullptr : fdopendir(listed);
    if (listing == nullptr) {
        if (listed >= 0) close(listed);
        return;
    }
    while (const dirent* entry = readdir(listing)) {
        std::string_view entryName(entry->d_name);
        if (entryName.substr(0, stem.size()) != stem) continue;
        pid_t creator = CreatorOf(entryName.substr(stem.size()));
        struct stat info {};
        if (creator <= 0 ||
            fstatat(place.folder.Get(), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode))
            continue;
        if (IsEarlier(info.st_mtim, kProcessStart) && !IsRunning(creator))
            unlinkat(place.folder.Get(), entry->d_name, 0);
    }
    closedir(listing);
}

std::string RandomPart() {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned char random[kRandomLength] = {};
    // Without random bytes the clock still varies the name; O_EXCL keeps a clash harmless.
    if (getrandom(random, sizeof random, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof random)) {
        const auto seed = static_cast<std::uint64_t>(CurrentTime().tv_nsec) * 2654435761u;
        for (std::size_t i = 0; i < kRandomLength; ++i)
            random[i] = static_cast<unsigned char>(seed >> (8 * i));
    }
    std::string part;
    for (const unsigned char byte : random) part += kLetters[byte % (sizeof kLetters - 1)];
    return part;
}

// Creates a new temporary file in the folder, never through a link; its name is put in name.
FileHandle CreateTemporary(const Place& place, const std::string& stem, std::string& name) {
    constexpr int kTries = 100;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        name = stem + std::to_string(getpid()) + "-" + RandomPart();
        FileHandle file(openat(place.folder.Get(), name.c_str(),
                               O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (file.IsOpen() || errno != EEXIST) return file;
    }
    errno = EEXIST;
    return FileHandle();
}

// Attributes a copy must not carry: like setuid, a file capability would give the new file
// powers that a save has no business to hand on.
bool IsPrivilege(std::string_view attribute) { return attribute == "security.capability"; }

// The value of one extended attribute of the file at source; none when it is gone meanwhile.
std::optional<std::string> AttributeValue(const std::string& source, const char* attribute) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        const ssize_t size = getxattr(source.c_str(), attribute, nullptr, 0);
        if (size < 0) return std::nullopt;
        std::string value(static_cast<std::size_t>(size), '\0');
        const ssize_t got = getxattr(source.c_str(), attribute, value.data(), value.size());
        if (got >= 0) {
            value.resize(static_cast<std::size_t>(got));
            return value;
        }
        if (errno != ERANGE) return std::nullopt;
    }
    return std::nullopt;
}

std::vector<std::string> AttributeNames(const std::string& source) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        const ssize_t size = listxattr(source.c_str(), nullptr, 0);
        if (size <= 0) return {};
        std::string list(static_cast<std::size_t>(size), '\0');
        const ssize_t got = listxattr(source.c_str(), list.data(), list.size());
        if (got < 0 && errno == ERANGE) continue;
        if (got < 0) return {};
        std::vector<std::string> names;
        for (std::size_t at = 0; at < static_cast<std::size_t>(got);) {
            names.emplace_back(list.c_str() + at);
            at += names.back().size() + 1;
        }
        return names;
    }
    return {};
}

// Gives the new file the old one's extended attributes, its access control list among them,
// as far as the file system and the user's rights allow. The old file is reached through its
// descriptor, which needs no read permission, and only while it is the file that was checked.
void CopyAttributes(const Place& place, const struct stat& old, int to) {
    FileHandle from(
        openat(place.folder.Get(), place.name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat now {};
    if (!from.IsOpen() || fstat(from.Get(), &now) != 0 || now.st_dev != old.st_dev ||
        now.st_ino != old.st_ino)
        return;
    const std::string source = "/proc/self/fd/" + std::to_string(from.Get());
    for (const std::string& attribute : AttributeNames(source)) {
        if (IsPrivilege(attribute)) continue;
        const std::optional<std::string> value = AttributeValue(source, attribute.c_str());
        if (value) (void)fsetxattr(to, attribute.c_str(), value->data(), value->size(), 0);
    }
}

// Gives the new file the old one's owner, group, attributes and permissions where the system
// allows; a group that cannot be kept gets no more access than others had. Special bits are
// never set. The mode comes last, as it also sets the access list's mask.
bool AdoptOwnership(int fd, const Place& place, const std::optional<struct stat>& old) {
    if (!old) return fchmod(fd, CreationMode()) == 0;
    if (fchown(fd, old->st_uid, old->st_gid) != 0)
        (void)fchown(fd, static_cast<uid_t>(-1), old->st_gid);
    CopyAttributes(place, *old, fd);
    struct stat now {};
    if (fstat(fd, &now) != 0) return false;
    mode_t mode = old->st_mode & 0777;
    if (now.st_gid != old->st_gid) mode = (mode & ~mode_t{070}) | ((mode & 07) << 3);
    return fchmod(fd, mode) == 0;
}

// Makes the rename itself last across a crash; a failure here loses nothing.
void SyncFolder(const Place& place) {
    FileHandle handle(openat(place.folder.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (handle.IsOpen()) (void)fsync(handle.Get());
}

// Writes a new file name in the folder holding bytes, refusing to replace anything there;
// errno on failure.
bool WriteNewFile(const Place& place, const std::string& name, std::string_view bytes) {
    FileHandle file(openat(place.folder.Get(), name.c_str(),
                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!file.IsOpen()) return false;
    if (WriteAll(file.Get(), bytes) && fsync(file.Get()) == 0 && file.Close()) return true;
    int error = errno;
    unlinkat(place.folder.Get(), name.c_str(), 0);
    errno = error;
    return false;
}

// Places bytes under the first free recovery name in folder; empty when the folder takes none.
std::string KeepIn(const fs::path& folder, const std::string& name, std::string_view bytes) {
    constexpr std::string_view kRecovered = ".recovered";
    constexpr std::size_t kNumberPart = 3;  // "-99"
    Place place;
    place.folder = FileHandle(open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!place.folder.IsOpen()) return {};
    const std::size_t fixed = kRecovered.size() + kNumberPart;
    const std::size_t limit = NameLimit(place);
    const std::string base = ShortName(name, limit > fixed ? limit - fixed : 0);
    for (int number = 0; number < kRecoveryNames; ++number) {
        std::string candidate = base + std::string(kRecovered);
        if (number > 0) candidate += "-" + std::to_string(number);
        if (WriteNewFile(place, candidate, bytes))
            return fs::absolute(folder / candidate).lexically_normal().string();
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
    return {bytes.size(), XXH3_64bits(bytes.data(), bytes.size())};
}

bool FileHolds(const std::string& path, const ContentId& id) {
    FileHandle file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!file.IsOpen() || fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uint64_t>(info.st_size) != id.size)
        return false;
    // The streamed hash of the blocks is that of the whole, as ContentIdOf takes it.
    const std::unique_ptr<XXH3_state_t, XXH_errorcode (*)(XXH3_state_t*)> state(XXH3_createState(),
                                                                                XXH3_freeState);
    if (!state || XXH3_64bits_reset(state.get()) != XXH_OK) return false;
    std::vector<char> block(kHashBlock);
    std::uint64_t total = 0;
    for (;;) {
        const std::size_t filled = ReadBlock(file.Get(), block);
        if (filled == kReadFailed) return false;
        if (filled == 0) break;
        total += filled;
        if (total > id.size) return false;
        if (XXH3_64bits_update(state.get(), block.data(), filled) != XXH_OK) return false;
        if (filled < block.size()) break;
    }
    return total == id.size && XXH3_64bits_digest(state.get()) == id.hash;
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
    std::optional<struct stat> old;
    const Place place = ResolveWriteTarget(path, old);
    if (old) CheckReplaceable(place, *old, path);
    const std::string stem = TemporaryStem(place);
    RemoveStaleTemporaries(place, stem);
    std::string temp;
    FileHandle file = CreateTemporary(place, stem, temp);
    if (!file.IsOpen()) throw AppError(Describe(path, "write", errno));
    const int folder = place.folder.Get();
    bool ok = AdoptOwnership(file.Get(), place, old) && WriteAll(file.Get(), bytes) &&
              fsync(file.Get()) == 0 && file.Close() &&
              renameat(folder, temp.c_str(), folder, place.name.c_str()) == 0;
    if (ok) {
        SyncFolder(place);
        return;
    }
    int error = errno;
    unlinkat(folder, temp.c_str(), 0);
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

bool AreSameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

void WriteStandardOutput(std::string_view bytes) {
    if (!WriteAll(STDOUT_FILENO, bytes))
        throw AppError(Describe("standard output", "write", errno));
}

void WriteStandardError(std::string_view bytes) {
    // Nowhere is left to report a failure of the error stream itself.
    (void)WriteAll(STDERR_FILENO, bytes);
}
