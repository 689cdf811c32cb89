#pragma once
// How payment records look in the lists of the mass-payment and schedule windows: the cells
// of a record and the tone of its row. A record has 8 fields (LR, VM) or 9 (PM, EG: the
// payment ID at index 3); the scheduled field follows the memo or the payment ID, then the due
// time, send-if-failed, the currency/metal/payer value and the failed mark last.
#include <string>
#include <vector>

#include "store/text_list.h"

namespace pw {

// Normal window text; grey: scheduled, not failed; red: scheduled and failed.
enum class RowTone { Normal, Scheduled, Failed };

struct ListRow {
    TextList cells;
    RowTone tone = RowTone::Normal;
};

// The local date-time of an OLE automation date field ("45000.500000") as
// "%Y-%m-%d %H:%M"; empty when the field is empty or not a date.
std::string OleDateText(const std::string& field);

// The cells To, Amount, Memo, [Payment ID,] Shedule, Date-Time, Send if failed of a record:
// Amount "%.2f" of the field, Date-Time a blank and the due time (a blank alone when there is
// none), every other cell a blank and the field. withPaymentId: the record has 9 fields.
ListRow RecordRow(const TextList& record, bool withPaymentId);
RowTone RecordTone(const TextList& record, bool withPaymentId);

// The rows of the schedule view: for each tag once (empty tags skipped, in the given order)
// the records of its schedule file below programDir, each as the tag followed by the record's
// cells without a payment ID.
std::vector<ListRow> ScheduleViewRows(const std::string& programDir, const TextList& tags);

// The record size of a tag's system: 9 for "PM_..." and "EG_...", else 8.
int ScheduleFieldCount(const std::string& tag);

}  // namespace pw
