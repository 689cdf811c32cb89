#include "accounts/account_schedule.h"

#include <map>

#include "store/schedule_file.h"

namespace pw {

std::shared_ptr<AccountSchedule> OpenAccountSchedule(const std::string& programDir,
                                                     const std::string& tag, int fieldCount,
                                                     int dueField) {
    // One schedule per file in the process; all of this runs on the user-interface thread.
    static std::map<std::string, std::weak_ptr<AccountSchedule>> open;
    const std::string path = ScheduleFilePath(programDir, tag);
    if (path.empty()) return std::make_shared<AccountSchedule>();
    for (auto it = open.begin(); it != open.end();)
        it = it->second.expired() ? open.erase(it) : std::next(it);
    if (auto held = open[path].lock()) return held;
    auto schedule = std::make_shared<AccountSchedule>();
    ScheduleLoad load = LoadSchedule(programDir, tag, fieldCount, dueField);
    schedule->records = std::move(load.records);
    schedule->dueTimes = std::move(load.dueTimes);
    schedule->unreadable = load.unreadable;
    schedule->tooLarge = load.tooLarge;
    open[path] = schedule;
    return schedule;
}

}  // namespace pw
