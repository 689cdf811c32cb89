#include "payments/schedule.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <vector>

#include "payments/amount.h"
#include "payments/ole_date.h"
#include "ui/base/strings.h"
#include "ui/base/tr.h"

namespace pw {

void SortSchedule(TextList& records, TextList& dueTimes) {
    const std::size_t n = std::min(records.size(), dueTimes.size());
    std::vector<std::optional<std::int64_t>> due(n);
    for (std::size_t i = 0; i < n; ++i) due[i] = DueSeconds(dueTimes[i]);
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (!due[a] || !due[b]) return due[a].has_value() && !due[b].has_value();
        return *due[a] < *due[b];
    });
    TextList r, d;
    r.reserve(n);
    d.reserve(n);
    for (const std::size_t i : order) {
        r.push_back(std::move(records[i]));
        d.push_back(std::move(dueTimes[i]));
    }
    records = std::move(r);
    dueTimes = std::move(d);
}

void AddToSchedule(AccountSchedule& schedule, const std::string& record,
                   const PaymentVariant& variant) {
    const TextList f = Split(record, "~");
    const auto dueField = static_cast<std::size_t>(variant.DueField());
    schedule.records.push_back(record);
    schedule.dueTimes.push_back(dueField < f.size() ? f[dueField] : std::string());
    SortSchedule(schedule.records, schedule.dueTimes);
}

namespace {

// The index of text in records at or after from, else at any place; -1 when gone.
int Find(const TextList& records, const std::string& text, std::size_t from) {
    for (std::size_t i = from; i < records.size(); ++i)
        if (records[i] == text) return static_cast<int>(i);
    for (std::size_t i = 0; i < std::min(from, records.size()); ++i)
        if (records[i] == text) return static_cast<int>(i);
    return -1;
}

}  // namespace

ScheduleCheckCounts RunScheduleCheck(const std::shared_ptr<AccountSchedule>& schedule,
                                     const PaymentVariant& variant, std::int64_t now,
                                     const ScheduleCheckHooks& hooks) {
    ScheduleCheckCounts counts;
    AccountSchedule& s = *schedule;
    if (s.busy > 0) return counts;
    // Message boxes and password prompts of this check let timers fire: every check of this
    // account finds the flag set until the walk is over.
    const BusyScope busy(schedule);
    counts.ran = true;
    std::size_t i = 0;
    while (i < s.records.size() && i < s.dueTimes.size()) {
        const std::optional<std::int64_t> due = DueSeconds(s.dueTimes[i]);
        if (!due || *due > now) break;
        const std::optional<PaymentRecord> record = ParseRecord(s.records[i], variant);
        if (!record || (record->failed && !record->sendIfFailed)) {
            ++i;
            continue;
        }
        const std::string original = s.records[i];
        if (!ExactAmount(record->amount)) {
            // An amount no request may carry (a record from an edited file): failed, not
            // tried again, and said so.
            PaymentRecord failed = *record;
            failed.failed = true;
            failed.sendIfFailed = false;
            s.records[i] = RecordText(failed, variant);
            if (!hooks.save()) s.records[i] = original;
            hooks.message(Str(129));
            ++i;
            continue;
        }
        PaymentRecord marked = *record;
        marked.failed = true;
        marked.sendIfFailed = false;
        const std::string markedText = RecordText(marked, variant);
        s.records[i] = markedText;
        if (!hooks.save()) {
            // Without the mark on disk a crash could send it twice: it is not sent now.
            s.records[i] = original;
            break;
        }
        const TransferResult result = hooks.send(original);
        // The lists may have changed while a prompt or the request ran (a payment window
        // added a record): the record is looked up again.
        const int at = Find(s.records, markedText, i);
        if (at < 0) {
            ++i;
            continue;
        }
        const auto j = static_cast<std::size_t>(at);
        switch (result.state) {
            case TransferState::Confirmed:
                ++counts.sent;
                s.records.erase(s.records.begin() + at);
                s.dueTimes.erase(s.dueTimes.begin() + at);
                i = j;
                break;
            case TransferState::Refused: {
                ++counts.refused;
                PaymentRecord failed = *record;
                failed.failed = true;
                s.records[j] = RecordText(failed, variant);
                i = j + 1;
                break;
            }
            case TransferState::NotBuilt:
            case TransferState::NotSent:
                s.records[j] = original;
                i = j + 1;
                break;
            case TransferState::Unknown:
                ++counts.unknown;
                i = j + 1;
                break;
        }
        hooks.save();
        if (result.state == TransferState::Refused || !result.errorReport.empty())
            hooks.message(result.errorReport);
        if (result.state == TransferState::NotBuilt)
            hooks.message(TrText(kPaymentNotSentText).toStdString());
        if (result.state == TransferState::Unknown)
            hooks.message(UnknownOutcomeMessage(*record,
                                                result.exchange.text.empty()
                                                    ? "the answer carried no confirmation"
                                                    : result.exchange.text,
                                                true));
        if (result.state == TransferState::NotSent) {
            ++counts.notSent;
            if (hooks.quietNotice) hooks.quietNotice(NotSentMessage(*record, result.exchange.text));
        }
    }
    if ((counts.sent > 0 || counts.refused > 0 || counts.unknown > 0) && hooks.refresh)
        hooks.refresh();
    return counts;
}

}  // namespace pw
