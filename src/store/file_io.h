#pragma once
// Whole-file reads and writes shared by every file the program keeps. Saves are atomic:
// the new content goes to a temporary file in the same folder, is flushed and then renamed
// over the old file, so a failed save leaves the old file whole. Files hold credentials and
// payment data: every file is created readable and writable by its owner alone, every folder
// accessible by its owner alone, whatever the umask.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include <sys/types.h>

namespace pw {

inline constexpr mode_t kOwnerOnlyFile = 0600;
inline constexpr mode_t kOwnerOnlyFolder = 0700;

// Write seam: every chunk written by WriteFileAtomic passes through it. Tests install a
// function that fails (returns -1 with errno set, as write(2) does) to simulate a full disk.
using WriteFunction = std::function<long(int fd, const char* data, std::size_t size)>;
void SetWriteFunctionForTest(WriteFunction fn);  // an empty function restores write(2)

// Replaces path with data atomically; the file is created 0600 (the flag of older callers
// changes nothing). Creates missing parent folders 0700. False on failure, with the old file
// untouched.
bool WriteFileAtomic(const std::string& path, const std::string& data, bool ownerOnly = true);

// Reads at most maxBytes of the regular file into out. False (out empty) when it cannot be
// opened or read.
bool ReadFileBounded(const std::string& path, std::size_t maxBytes, std::string& out);

// What ReadFileWithin found.
enum class FileRead { kRead, kFailed, kTooLarge };
// Reads the whole regular file when it holds at most maxBytes. A longer file is not read at
// all: out stays empty, *size (when given) gets its size, and the result is kTooLarge. kFailed
// (out empty) when it cannot be opened or read.
FileRead ReadFileWithin(const std::string& path, std::size_t maxBytes, std::string& out,
                        std::uint64_t* size = nullptr);

// Appends data to the file, creating it 0600 when needed, and takes the group's and others'
// rights away from an existing file before writing (nothing is written when that fails).
// False when it cannot be opened. The flag of older callers changes nothing.
bool AppendToFile(const std::string& path, const std::string& data, bool ownerOnly = true);

// Creates the folder and its missing parents, each 0700. True when the folder exists
// afterwards.
bool EnsureDirectory(const std::string& dir);

// Takes the group's and others' rights away from a file or folder (a symbolic link is left
// alone). True when path is missing or now owner-only.
bool NarrowToOwner(const std::string& path);

// The folder part of a path, with its trailing "/", or empty.
std::string DirectoryOf(const std::string& path);

bool FileExists(const std::string& path);

}  // namespace pw
