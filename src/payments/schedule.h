#pragma once
// The schedule list of an account and its check. No widgets: the tab side supplies how a
// record is sent, how the list is saved, and how the user is told.
#include <cstdint>
#include <functional>
#include <string>

#include "accounts/account_schedule.h"
#include "accounts/transfer_request.h"
#include "payments/payment_outcome.h"
#include "payments/payment_record.h"

namespace pw {

// Puts records and due times in ascending order of due time; equal due times keep their
// order, and due times that are not plain numbers go last (they are never due).
void SortSchedule(TextList& records, TextList& dueTimes);
// Appends a scheduled record with its due time (the record's due field) and sorts.
void AddToSchedule(AccountSchedule& schedule, const std::string& record,
                   const PaymentVariant& variant);

struct ScheduleCheckHooks {
    // Sends the one record (the transfer queue holds it alone).
    std::function<TransferResult(const std::string& record)> send;
    // Saves the schedule file; false when it was not saved (the user has been told).
    std::function<bool()> save;
    // Tells the user (one message box).
    std::function<void(const std::string& text)> message;
    // A failure the user need not be stopped for (the request never left; it is tried
    // again at the next check). May be empty.
    std::function<void(const std::string& text)> quietNotice;
    // Refreshes the balances once, after a check that sent anything.
    std::function<void()> refresh;
};

struct ScheduleCheckCounts {
    int sent = 0, refused = 0, unknown = 0, notSent = 0;
    bool ran = false;  // false: the schedule was busy
};

// The schedule check at local time now (seconds since 30 December 1899, ole_date.h):
// nothing while the schedule is busy; otherwise the busy flag is held to the end. The walk
// stops at the first record not yet due. A failed record without "send if failed" is
// skipped; one whose amount is not a plain number of at most two decimals is marked failed
// without retry and message 129 shown, nothing sent. Each due record is first saved marked failed without retry; only when that save
// succeeds is it sent, and then it is removed when sent, marked failed with its own retry
// flag when refused, put back as it was when provably not sent, and left failed without
// retry when its fate is unknown. The list is saved after each change.
ScheduleCheckCounts RunScheduleCheck(const std::shared_ptr<AccountSchedule>& schedule,
                                     const PaymentVariant& variant, std::int64_t now,
                                     const ScheduleCheckHooks& hooks);

}  // namespace pw
