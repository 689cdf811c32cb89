#include "accounts/history_export.h"

#include <sys/stat.h>

#include <cstdio>

#include "store/file_io.h"
#include "ui/base/modal_ui.h"
#include "ui/base/strings.h"
#include "ui/base/tr.h"

namespace pw {

std::string ExportFileName(const std::string& programDir, const std::string& prefix,
                           const Date& today) {
    char date[32];
    std::snprintf(date, sizeof date, "%4d%02d%02d", today.year, today.month, today.day);
    return programDir + prefix + "History_" + date + ".csv";
}

std::string ExportFolder(const std::string& documentsDir, const std::string& programDir) {
    struct stat st;
    if (documentsDir.empty() || ::stat(documentsDir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return programDir;
    return documentsDir.back() == '/' ? documentsDir : documentsDir + "/";
}

std::string HistoryCsv(const TextList& columnNames, const RowList& rows) {
    std::string out = JoinList(columnNames, ";") + "\r\n";
    // A row's "~"-separated fields joined with ";" is the row with each "~" replaced.
    for (const std::string_view row : rows) out += JoinList(Split(row, "~"), ";") + "\r\n";
    return out;
}

std::string ExportCompleteMessage(const std::string& path) {
    return std::string(" ").append(Str(120)).append(".\r\n ").append(Str(121)).append(" ").append(path).append(" ").append(Str(122)).append(".");
}

std::string ExportFailedMessage(const std::string& path) {
    return std::string(" ")
        .append(Purseward::tr("The history could not be exported.").toStdString())
        .append("\r\n ")
        .append(Str(121))
        .append(" ")
        .append(path)
        .append(" ")
        .append(Purseward::tr("could not be written.").toStdString());
}

bool WriteHistoryCsv(const std::string& path, const TextList& columnNames, const RowList& rows) {
    return WriteFileAtomic(path, HistoryCsv(columnNames, rows));
}

void ExportHistoryTo(ModalUi& ui, const std::string& programDir, const std::string& prefix,
                     const Date& today, const TextList& columnNames, const RowList& rows) {
    const std::optional<std::string> path = ui.SaveFileName(
        Purseward::tr("Save As").toStdString(), ExportFileName(programDir, prefix, today), "");
    if (!path || path->empty()) return;
    if (WriteHistoryCsv(*path, columnNames, rows))
        ui.Message(ExportCompleteMessage(*path));
    else
        ui.Message(ExportFailedMessage(*path));
}

}  // namespace pw
