#include "store/table_file.h"

#include "store/file_io.h"

namespace pw {
namespace {

constexpr char kKey[] = "ColumnWidth";

}  // namespace

void LoadColumnWidths(ListTable& table) {
    std::string text;
    if (table.path.empty() || !ReadFileBounded(table.path, kTableFileMaxBytes, text)) return;
    if (text.empty() || text.find(kKey) == std::string::npos) return;

    // The key and its equals sign are stripped as sets of leading characters: first every
    // letter that occurs in "ColumnWidth", then every "=".
    std::size_t start = text.find_first_not_of(kKey);
    if (start == std::string::npos) start = text.size();
    start = text.find_first_not_of('=', start);
    if (start == std::string::npos) start = text.size();

    const std::size_t end = text.find("\r\n", start);
    const std::string widths = end == std::string::npos ? std::string()
                                                        : text.substr(start, end - start);
    SplitText(widths, ";", table.columnWidths);
}

bool WriteColumnWidthsFile(const ListTable& table) {
    if (table.path.empty()) return false;
    // An empty widths list has nothing to remember: the file is left as it is, so that the
    // window's defaults stay in force next time.
    if (table.columnWidths.empty()) return true;
    const std::string line = "ColumnWidth=" + JoinList(table.columnWidths, ";") + "\r\n";
    return WriteFileAtomic(table.path, line);
}

}  // namespace pw
