#include "payments/payment_rows.h"

#include <chrono>
#include <cstdio>
#include <optional>

#include "accounts/tab_logic.h"
#include "payments/ole_date.h"
#include "store/schedule_file.h"

namespace pw {
namespace {

// Days from 30 December 1899 (day 0 of due times) to 1 January 1970.
constexpr std::int64_t kOleEpochOffset = 25569;

std::string Field(const TextList& record, std::size_t i) {
    return i < record.size() ? record[i] : std::string();
}

}  // namespace

std::string OleDateText(const std::string& field) {
    const std::optional<std::int64_t> seconds = DueSeconds(field);
    if (!seconds) return std::string();
    const std::int64_t days = *seconds / 86400, inDay = *seconds % 86400;
    const std::chrono::year_month_day date{
        std::chrono::sys_days{std::chrono::days{days - kOleEpochOffset}}};
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u %02d:%02d", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(inDay / 3600), static_cast<int>(inDay / 60 % 60));
    return buf;
}

RowTone RecordTone(const TextList& record, bool withPaymentId) {
    const std::size_t scheduled = withPaymentId ? 4 : 3;
    if (Field(record, scheduled) != "yes") return RowTone::Normal;
    return !record.empty() && record.back() == "yes" ? RowTone::Failed : RowTone::Scheduled;
}

ListRow RecordRow(const TextList& record, bool withPaymentId) {
    ListRow row;
    const std::size_t shown = withPaymentId ? 7 : 6, due = shown - 2;
    for (std::size_t i = 0; i < shown; ++i) {
        const std::string f = Field(record, i);
        if (i == 1)
            row.cells.push_back(FormatCents(ToCents(f)));
        else if (i == due)
            row.cells.push_back(" " + OleDateText(f));
        else
            row.cells.push_back(" " + f);
    }
    row.tone = RecordTone(record, withPaymentId);
    return row;
}

int ScheduleFieldCount(const std::string& tag) {
    return tag.rfind("PM_", 0) == 0 || tag.rfind("EG_", 0) == 0 ? 9 : 8;
}

std::vector<ListRow> ScheduleViewRows(const std::string& programDir, const TextList& tags) {
    std::vector<ListRow> rows;
    TextList seen;
    for (const std::string& tag : tags) {
        if (tag.empty() || FindInList(seen, tag) >= 0) continue;
        seen.push_back(tag);
        const int count = ScheduleFieldCount(tag);
        const ScheduleLoad load = LoadSchedule(programDir, tag, count, count == 9 ? 5 : 4);
        for (const std::string& record : load.records) {
            TextList fields = Split(record, "~");
            if (fields.size() == 9) fields.erase(fields.begin() + 3);
            ListRow row = RecordRow(fields, false);
            row.cells.insert(row.cells.begin(), " " + tag);
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

}  // namespace pw
