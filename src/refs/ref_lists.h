#pragma once
// Reference lists: payee accounts and memo texts kept in line files below Ref/, one
// "~"-joined row per line ended by CR LF. No widgets here.
#include <QtGlobal>
#include <string>
#include <vector>

#include "store/text_list.h"

namespace pw {

// One of the eight lists: main-menu command, file, caption string, columns and widths.
struct RefListSpec {
    int command = 0;
    std::string file;
    int captionId = 0;
    TextList titles;
    TextList widths;  // decimal texts
    int systemIndex = 0;
    bool memo = false;
};

const std::vector<RefListSpec>& RefLists();
// The list of a main-menu command, or nullptr.
const RefListSpec* RefListByCommand(int command);
// The payee or memo list of a system (0..3).
const RefListSpec& RefListOf(int systemIndex, bool memo);

// The row editors: 1 payee with the Liberty Reserve holder's name, 2 memo, 3 payee with a
// comment only, 4 payee with the V-Money holder's name; 0 for a name no rule knows.
int RefEditorFor(const std::string& fileName);

struct RefEditorSpec {
    int kind = 0;
    int resource = 0;
    std::vector<std::string> labels;  // in column order
    std::vector<int> controls;        // control ids, in column order
    int nameField = -1;               // the read-only holder's name, filled by "Get Name"
    int nameSystem = -1;              // whose client answers "Get Name"
    bool accountRequired = false;     // field 0 must not be empty (message 137)
};
const RefEditorSpec& RefEditorOf(int kind);  // 1..4

// Program directory + "Ref/" + file.
std::string RefListPath(const std::string& programDir, const std::string& file);

// The rows of a file's text: split at every CR and LF, empty lines dropped.
TextList ParseRefList(const std::string& text);
// Each row followed by CR LF.
std::string FormatRefList(const TextList& rows);

// Largest list file read; a longer file is left alone rather than cut short.
inline constexpr std::size_t kRefListMaxBytes = 4 * 1024 * 1024;

enum class RefLoad { Ok, Missing, Unreadable };
// Reads the rows of a list file. A missing file gives no rows; a file that cannot be read
// whole (or is longer than kRefListMaxBytes) gives Unreadable and must not be overwritten.
RefLoad ReadRefList(const std::string& path, TextList& rows);
// Writes the rows in one atomic save, creating Ref/ when it is missing.
bool WriteRefList(const std::string& path, const TextList& rows);

// The text of a cell: field column of the row, empty when the row has fewer fields.
std::string RefCellText(const std::string& row, int column);

// Told when a list file exists but cannot be read, and when a save fails: the pattern with
// "%1" replaced by the path (a window passes the pattern's translation).
inline constexpr char kRefUnreadablePattern[] = QT_TRANSLATE_NOOP(
    "Purseward", "The list file %1 cannot be read whole; it is shown empty and left as it is.");
inline constexpr char kRefNotWrittenPattern[] = QT_TRANSLATE_NOOP(
    "Purseward", "The list file %1 could not be written; it keeps its earlier rows.");
std::string RefUnreadableMessage(const std::string& path,
                                 const std::string& pattern = kRefUnreadablePattern);
std::string RefNotWrittenMessage(const std::string& path,
                                 const std::string& pattern = kRefNotWrittenPattern);

}  // namespace pw
