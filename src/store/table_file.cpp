#include "store/table_file.h"

#include <sys/stat.h>

#include <cstdint>

#include "store/file_io.h"

namespace pw {
namespace {

constexpr char kKey[] = "ColumnWidth";

// True when the file at path is longer than a table file can be.
bool Damaged(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           static_cast<std::uint64_t>(st.st_size) > kTableFileMaxBytes;
}

}  // namespace

std::string LoadColumnWidths(ListTable& table) {
    std::string text;
    std::uint64_t size = 0;
    if (table.path.empty()) return std::string();
    const FileRead read = ReadFileWithin(table.path, kTableFileMaxBytes, text, &size);
    if (read == FileRead::kTooLarge) {
        return "The table file " + table.path + " is " + std::to_string(size) +
               " bytes long, more than the " + std::to_string(kTableFileMaxBytes) +
               " bytes a table file can be: it is taken as damaged, not read and not written "
               "over. Move it away to have the column widths of its window remembered again.";
    }
    if (read != FileRead::kRead || text.empty() || text.find(kKey) == std::string::npos)
        return std::string();

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
    return std::string();
}

bool WriteColumnWidthsFile(const ListTable& table) {
    if (table.path.empty()) return false;
    // An empty widths list has nothing to remember: the file is left as it is, so that the
    // window's defaults stay in force next time.
    if (table.columnWidths.empty()) return true;
    if (Damaged(table.path)) return false;  // it may hold what its owner wants back
    const std::string line = "ColumnWidth=" + JoinList(table.columnWidths, ";") + "\r\n";
    return WriteFileAtomic(table.path, line);
}

}  // namespace pw
