#pragma once
// Table files: one line "ColumnWidth=60;80;150" CR LF per list window, below Set/.
#include <string>

#include "store/row_list.h"
#include "store/text_list.h"

namespace pw {

// The in-memory list table a list window keeps.
struct ListTable {
    std::string path;         // full path of the table file
    TextList columnNames;     // captions, also the field order of every row
    TextList columnWidths;    // decimal widths as text; empty until loaded or defaulted
    RowList rows;             // one "~"-joined row per table line
};

// A table file holds one short line; a longer file than this is damaged.
inline constexpr std::size_t kTableFileMaxBytes = 30000;

// Fills table.columnWidths from its file; leaves them as they were when the file is missing,
// empty or has no "ColumnWidth". A damaged file (longer than kTableFileMaxBytes) is not read
// at all, nor written over by the saves below: the text returned for the event log says so,
// naming the file and its size. Empty otherwise.
std::string LoadColumnWidths(ListTable& table);

// Writes the widths: widthOf(i) for each position of table.columnWidths (the control's
// width of column i, 0 beyond its columns) is stored into the list and written. Returns false
// when the file could not be written (the old file is left whole).
template <class WidthOf>
bool SaveColumnWidths(ListTable& table, WidthOf widthOf);

// Writes "ColumnWidth=<widths joined by ;>" CR LF in one atomic save (0600), creating Set/
// when missing. An empty widths list leaves the file as it is (true); an empty path fails, and
// so does a damaged file in the way, which is left as it is.
bool WriteColumnWidthsFile(const ListTable& table);

template <class WidthOf>
bool SaveColumnWidths(ListTable& table, WidthOf widthOf) {
    for (std::size_t i = 0; i < table.columnWidths.size(); ++i)
        table.columnWidths[i] = std::to_string(widthOf(static_cast<int>(i)));
    return WriteColumnWidthsFile(table);
}

}  // namespace pw
