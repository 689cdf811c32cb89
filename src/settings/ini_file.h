#pragma once
// The settings INI file with the private-profile rules: section and key names compare without
// regard to case; a value is the text after "=" with surrounding blanks and one pair of
// enclosing quotes removed; a write replaces the value in place or appends the key at the end
// of its section, creating the section and the file when needed. Values are read whole.
// The parsed file is kept in memory and read again only when the file on disk changed (another
// inode, size or time), so many reads of a large file cost one parse, and edits made by hand
// are still seen.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pw {

// A file larger than this is not read at all (a damaged file must not exhaust memory, and a
// file cut short could give a value cut short): reads find no key in it, writes are refused.
inline constexpr std::size_t kIniMaxBytes = 16 * 1024 * 1024;

// The size of the file at path when it is larger than kIniMaxBytes, for the messages that
// tell why it was not read or written; nullopt otherwise.
std::optional<std::uint64_t> IniTooLarge(const std::string& path);

// True and the value when the key exists with a non-empty value.
bool IniRead(const std::string& path, const std::string& section, const std::string& key,
             std::string& value);

// Writes the key (atomic replace; ownerOnly: 0600). False when the file could not be written,
// leaving the old file whole.
bool IniWrite(const std::string& path, const std::string& section, const std::string& key,
              const std::string& value, bool ownerOnly = true);

// Several writes committed in one atomic save.
struct IniEdit {
    std::string section, key, value;
};
bool IniWriteMany(const std::string& path, const std::vector<IniEdit>& edits,
                  bool ownerOnly = true);

// Section names present in the file, in order (first occurrence of each).
std::vector<std::string> IniSections(const std::string& path);

// How many times a file's text has been parsed in this process (for tests and measurements).
std::size_t IniParseCount();

}  // namespace pw
