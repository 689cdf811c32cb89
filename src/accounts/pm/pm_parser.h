#pragma once
// The answer parser of the Perfect Money interface, one for all three answers: an answer that
// begins with "Error:" is one error; a page with hidden inputs gives errors (the ERROR inputs)
// and name~value~time rows; anything else is the history CSV.
#include <ctime>
#include <string>
#include <string_view>

#include "accounts/answer_text.h"
#include "store/row_list.h"
#include "store/text_list.h"

namespace pw::pm {

struct PmAnswer {
    TextList errors;      // error texts
    RowList inputs;       // name~value~time ("%Y-%m-%d %H:%M:%S", UTC of now)
    RowList csv;          // one "~"-joined record per history line, without the header (CsvRows::Raw)
    RowList historyRows;  // the table rows of those records (CsvRows::History, see AddHistoryRow)
};

// Clears out and fills it from answer. A marker whose end is missing ends its pass; an ERROR
// input cut short is still an error (the text that arrived, or " "). A "~" sent by the
// server is written "-". Time and memory grow linearly with the answer.
void ParseAnswer(std::string_view answer, std::time_t now, PmAnswer& out, CsvRows keep = CsvRows::Raw);

// Appends the table row of a record to rows: "Date", "From/To", "Amount", "Fee", "Currency",
// "Batch", "Memo", "PaymentID" from record fields 0, 7, 4, 5, 3, 2, 9, 8. Every row has these
// eight fields: a "~" that a memo holds (it would split the row and move the payment ID)
// becomes "-". A record of fewer than ten fields gives no row.
void AddHistoryRow(std::string_view record, RowList& rows);

// The errors and inputs of a page, read the general way (any shape), as ParseAnswer reads a
// page that holds "<input name=" (out is not emptied first).
void ReadAnyInputs(std::string_view answer, std::time_t now, PmAnswer& out);

// The inputs of a page in the usual shape (each "<input name='NAME' ... value='VALUE'>" after
// the one before, no ERROR input), read in one pass into out.inputs, exactly as ParseAnswer
// reads them; false (out untouched) for any other page, which ParseAnswer then reads the
// general way.
bool ReadUsualInputs(std::string_view answer, std::time_t now, PmAnswer& out);

// The history records of a CSV text, header included: each record a line plus the following
// lines that do not themselves hold ten fields (a memo may hold line breaks); line breaks
// become blanks, a "~" (the separator of the rows) becomes "-"; fields 9 and on are the memo, joined by ","; a memo holding "Memo: " keeps
// what follows it. Text after the last line feed is not read. Records of fewer than ten
// fields are left out (the header is always dropped by ParseAnswer, whatever its form).
// "No Records Found" anywhere: no records.
RowList ReadCsvRecords(std::string_view csv, bool* firstWasDropped = nullptr);

}  // namespace pw::pm
