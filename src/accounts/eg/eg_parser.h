#pragma once
// The answers of the e-gold interface: hidden form inputs (errors and metal balances) or the
// history CSV; the metal price line; and the history rows built from the CSV rows. Several
// values pass through 32-bit floats, which decides their last digit.
#include <ctime>
#include <string>
#include <string_view>

#include "accounts/answer_text.h"
#include "store/row_list.h"
#include "store/text_list.h"

namespace pw::eg {

// "%.*f" of a 32-bit float, in the C locale.
std::string FloatText(float value, int decimals);

// The prices of "stamp,p0,p1,...": the first piece is dropped, every further piece is read as
// a number through a 32-bit float and written "%.2f". No check is made: an error text gives
// "0.00" entries or none.
TextList ParsePrices(std::string_view answer);

// "1/2/2009 10:11:12" becomes "01/02/2009 10:11:12"; a field without exactly one blank, or
// whose first part is not three "/" pieces, stays as it is.
std::string RewriteDate(const std::string& field);

// One balance row: Metal~Ounces~Grams~Rate~USD~UpdateDate. Rate is the price of the metal
// (empty when it has none); Grams = ounces * 31.103 and USD = ounces * rate through floats.
std::string BalanceRow(const std::string& metal, const std::string& ounces,
                       const TextList& prices, std::time_t now);

struct EgAnswer {
    TextList errors;      // error texts
    RowList balances;     // balance rows
    RowList rawHistory;   // "~"-joined CSV fields, header line removed (CsvRows::Raw)
    RowList historyRows;  // HistoryRows(rawHistory), built in the same pass (CsvRows::History)
};


// Parses one answer into out (emptied first). Pages with "<input type=hidden" give errors
// and balances, anything else is read as the history CSV. Every pass ends on a missing end
// marker; an unfinished element is dropped. A "~" sent by the server is written "-". Time
// and memory grow linearly with the answer.
void ParseAnswer(std::string_view answer, const TextList& prices, std::time_t now,
                 EgAnswer& out, CsvRows keep = CsvRows::Raw);

// The errors and balances of a page, read the general way (any shape), as ParseAnswer reads
// an answer that holds "<input type=hidden" (out is not emptied first).
void ReadAnyBalances(std::string_view answer, const TextList& prices, std::time_t now,
                     EgAnswer& out);

// The balances of a page in the usual shape (inputs '<input type=hidden name=NAME
// value="VALUE">' one after the other, no ERROR input), read in one pass into out.balances,
// exactly as ParseAnswer reads them; false (out untouched) for any other answer, which
// ParseAnswer then reads the general way.
bool ReadUsualBalances(std::string_view answer, const TextList& prices, std::time_t now,
                       EgAnswer& out);

// The history row (Date~Type~E-Metal~Weight~Amount~From/To~Currency~Rate~Batch~Memo) of
// a raw row, or empty when the raw row has fewer than eleven fields.
std::string HistoryRow(std::string_view rawRow);
// The history rows of the raw rows; short raw rows are skipped.
RowList HistoryRows(const RowList& rawRows);

}  // namespace pw::eg
