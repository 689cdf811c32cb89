#pragma once
// The schedule of one account in memory: its scheduled payment records, their due times and
// the busy flag. Every tab logged in to the same account holds the same one, so a record is
// sent by one check only and no tab's save drops what another added.
#include <cstdint>
#include <memory>
#include <string>

#include "store/text_list.h"

namespace pw {

struct AccountSchedule {
    TextList records;   // payment records, in ascending order of due time
    TextList dueTimes;  // parallel to records: the due-time field of each
    // The file exists but was not read whole: it must not be saved over.
    bool unreadable = false;
    std::uint64_t tooLarge = 0;  // the size of a file too large to be read
    // Payment windows open or sending, and schedule checks running, on this account (any
    // tab). While it is above 0 the schedule check does nothing.
    int busy = 0;
};

// Holds the busy flag of a schedule for a scope (and the schedule itself, should its tab let
// go of it meanwhile).
class BusyScope {
  public:
    explicit BusyScope(std::shared_ptr<AccountSchedule> schedule) : schedule_(std::move(schedule)) {
        ++schedule_->busy;
    }
    ~BusyScope() { --schedule_->busy; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    std::shared_ptr<AccountSchedule> schedule_;
};

// The schedule of tag's file below programDir: the one a tab of this process already holds,
// else read from the file (fieldCount, dueField: the system's record layout). Released when
// the last tab lets go of it.
std::shared_ptr<AccountSchedule> OpenAccountSchedule(const std::string& programDir,
                                                     const std::string& tag, int fieldCount,
                                                     int dueField);

}  // namespace pw
