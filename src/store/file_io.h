#pragma once
// Whole-file reads and writes shared by every file the program keeps. Saves are atomic:
// the new content goes to a temporary file in the same folder, is flushed and then renamed
// over the old file, so a failed save leaves the old file whole.
#include <cstddef>
#include <functional>
#include <string>

namespace pw {

// Write seam: every chunk written by WriteFileAtomic passes through it. Tests install a
// function that fails (returns -1 with errno set, as write(2) does) to simulate a full disk.
using WriteFunction = std::function<long(int fd, const char* data, std::size_t size)>;
void SetWriteFunctionForTest(WriteFunction fn);  // an empty function restores write(2)

// Replaces path with data atomically. ownerOnly creates the file readable and writable by
// its owner alone (0600); otherwise 0644. Creates missing parent folders. False on failure,
// with the old file untouched.
bool WriteFileAtomic(const std::string& path, const std::string& data, bool ownerOnly);

// Reads at most maxBytes of the regular file into out. False (out empty) when it cannot be
// opened or read.
bool ReadFileBounded(const std::string& path, std::size_t maxBytes, std::string& out);

// Appends data to the file, creating it when needed. False when it cannot be opened.
// ownerOnly creates the file 0600 and takes the group's and others' rights away from an
// existing file before writing (nothing is written when that fails).
bool AppendToFile(const std::string& path, const std::string& data, bool ownerOnly = false);

// Creates the folder and its parents when missing. True when the folder exists afterwards.
bool EnsureDirectory(const std::string& dir);

// The folder part of a path, with its trailing "/", or empty.
std::string DirectoryOf(const std::string& path);

bool FileExists(const std::string& path);

}  // namespace pw
