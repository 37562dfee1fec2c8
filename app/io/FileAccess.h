// Reading and writing the files the application is given, with one-line error messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The most an element file, a script or standard input may hold.
inline constexpr std::uint64_t kInputSizeLimit = std::uint64_t{1} << 30;

// The whole content of the regular file at path; throws AppError naming the file when it cannot
// be read, is not a regular file (a directory, a device, a pipe) or holds more than limit bytes.
std::string ReadWholeFile(const std::string& path, std::uint64_t limit = kInputSizeLimit);
// True when nothing exists at path (a dangling link counts as something).
bool PathIsMissing(const std::string& path);
// Everything on standard input; throws AppError beyond limit bytes.
std::string ReadStandardInput(std::uint64_t limit = kInputSizeLimit);
// What a file held when it was read, to tell later whether it changed: its size and a hash of
// its bytes, so that a long element need not be kept twice.
struct ContentId {
    std::uint64_t size = 0;
    std::uint64_t hash = 0;
    bool operator==(const ContentId&) const = default;
};
ContentId ContentIdOf(std::string_view bytes);
// True when the file at path can be read and holds what id describes.
bool FileHolds(const std::string& path, const ContentId& id);
// "1 GiB", "16 MiB": a limit as messages and documents state it.
std::string SizeText(std::uint64_t bytes);

// Replaces the file at path with bytes through a temporary file in the same folder, so the file
// is either the old one or the new one, never a part. Every step works through the folder that
// holds the name, and no link is followed by the write itself. A link is followed to the file it
// names (a dangling link's target is created), except another user's link in a shared sticky
// folder (such as /tmp), which is refused as the kernel refuses to follow it; another user's
// file there is not replaced either. The new file keeps the old one's owner, group, permission
// bits and extended attributes (its access control list) as far as the system allows, never
// with setuid, setgid or sticky bits, nor a file capability. A file the user may not write, or
// one without any write bit (for root too), is not replaced. Temporary files that a killed save
// of the same file left behind are removed; their names are shortened to fit the file system's
// limit. Throws AppError naming path on failure; the old file is then whole.
void WriteFileAtomically(const std::string& path, std::string_view bytes);
// Keeps bytes that could not be saved to path in a new file: beside path, else in the working
// folder, else in the temporary folder, named after path with ".recovered" (and a number when
// that exists; a long name is shortened to fit). Returns its path; throws AppError when no
// folder takes it.
std::string KeepRecoveryCopy(const std::string& path, std::string_view bytes);
// True when both paths name one existing file (the same device and inode), through links or as
// hard links of it.
bool AreSameFile(const std::string& a, const std::string& b);

// Writes bytes unchanged to standard output; throws AppError on failure.
void WriteStandardOutput(std::string_view bytes);
// Writes bytes unchanged to standard error, where a failure has nowhere left to be reported.
void WriteStandardError(std::string_view bytes);
