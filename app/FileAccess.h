// Reading and writing the files the application is given, with one-line error messages.
#pragma once

#include <string>
#include <string_view>

// The whole content of the file at path; throws AppError naming the file when it cannot be read
// or is a directory or device.
std::string ReadWholeFile(const std::string& path);
// True when nothing exists at path (a dangling link counts as something).
bool PathIsMissing(const std::string& path);
// Everything on standard input.
std::string ReadStandardInput();
// Replaces the file at path with bytes through a temporary file in the same folder, so the file
// is either the old one or the new one, never a part.
void WriteFileAtomically(const std::string& path, std::string_view bytes);
// Writes bytes unchanged to standard output or standard error; throws AppError on failure.
void WriteStandardOutput(std::string_view bytes);
void WriteStandardError(std::string_view bytes);
