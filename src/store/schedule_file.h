#pragma once
// Schedule files: Set/<tag>.sav, one record per line, each enciphered with the account tag
// as key text, CR LF after each.
#include <cstddef>
#include <cstdint>
#include <string>

#include "store/text_list.h"

namespace pw {

// A schedule holds a handful of records; a larger file is not read.
inline constexpr std::size_t kScheduleFileMaxBytes = 16u * 1024u * 1024u;

struct ScheduleLoad {
    TextList records;    // plain "~"-joined records, in file order
    TextList dueTimes;   // the due-time field of each record
    int skippedLines = 0;  // lines that did not decipher to the field count
    // The file exists but could not be read whole (no permission, a read error, or larger
    // than a schedule file can be): saving over it would lose what it holds.
    bool unreadable = false;
    std::uint64_t tooLarge = 0;  // the size of a file larger than kScheduleFileMaxBytes
};

// The path of the schedule file of a tag below programDir ("<programDir>Set/<tag>.sav"), or
// empty when the tag is empty or is not safe as a file name.
std::string ScheduleFilePath(const std::string& programDir, const std::string& tag);

// Reads the schedule file of tag. fieldCount: 8 or 9 (the system's record size);
// dueField: 0-based index of the due-time field within a record. Lines end with CR LF or LF;
// empty lines are skipped; a last line without a line end still counts; a line that does
// not decipher to fieldCount fields is counted in skippedLines. The file is never rewritten.
ScheduleLoad LoadSchedule(const std::string& programDir, const std::string& tag, int fieldCount,
                          int dueField);

// Writes records enciphered under tag, atomically and owner-only. An empty tag writes
// nothing. A record the cipher refuses (empty or too long) is left out, the others written. False when the file could not be written (the old file is left whole).
bool SaveSchedule(const std::string& programDir, const std::string& tag, const TextList& records);

}  // namespace pw
