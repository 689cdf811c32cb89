#pragma once
// Due times of scheduled payments: OLE automation dates (days since 30 December 1899, the
// fraction of a day for the time) of the computer's local date and time, written "%f".
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace pw {

struct LocalDateTime {
    int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
};

// The OLE automation date of a local date and time (dates from 30 December 1899 on).
double OleDate(const LocalDateTime& t);
// "%f" of the date: six decimals.
std::string OleText(const LocalDateTime& t);
// The local date and time of now.
LocalDateTime LocalOf(std::time_t now);

// A due-time text in whole seconds since 30 December 1899 (rounded to the nearest second),
// nullopt when the text is not a plain non-negative number. Due times are compared in
// seconds, so the six decimals of the text cannot put a due minute a fraction later.
std::optional<std::int64_t> DueSeconds(const std::string& text);
// Seconds since 30 December 1899 of a local date and time.
std::int64_t OleSeconds(const LocalDateTime& t);

}  // namespace pw
