#pragma once
// The CSV export of a history table: the column names and then each row, fields joined by
// ";" and lines ended by CR LF, written as stored (no quoting, no escaping). No widgets.
#include <string>

#include "accounts/account_client.h"
#include "store/text_list.h"

namespace pw {

class ModalUi;

// The proposed file: "<programDir><prefix>History_<yyyymmdd>.csv".
std::string ExportFileName(const std::string& programDir, const std::string& prefix,
                           const Date& today);

// The file content: "Date;From/To;...\r\n" and one line per row in table order.
std::string HistoryCsv(const TextList& columnNames, const RowList& rows);

// " Export complete.\r\n File <path> created." in the string table's words.
std::string ExportCompleteMessage(const std::string& path);
// The message of an export that could not be written; names the file.
std::string ExportFailedMessage(const std::string& path);

// Replaces the file at path with the export in one atomic step: a failed write leaves an old
// file whole and no partial one. False when the file could not be written.
bool WriteHistoryCsv(const std::string& path, const TextList& columnNames, const RowList& rows);

// The folder the export proposes: the user's documents folder (with a trailing "/") when it
// exists, else the program directory. The export holds payment data: it does not belong in a
// folder the program shares with its other files.
std::string ExportFolder(const std::string& documentsDir, const std::string& programDir);

// The export of a tab: asks for the file in a Save As dialog that proposes ExportFileName,
// writes it and tells the user how it went. Cancel writes nothing and says nothing.
void ExportHistoryTo(ModalUi& ui, const std::string& programDir, const std::string& prefix,
                     const Date& today, const TextList& columnNames, const RowList& rows);

}  // namespace pw
