#include "payments/ole_date.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace pw {
namespace {

// Days from 1 January 1970 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

std::int64_t OleDay(const LocalDateTime& t) {
    return DaysFromCivil(t.year, t.month, t.day) - DaysFromCivil(1899, 12, 30);
}

}  // namespace

double OleDate(const LocalDateTime& t) {
    return static_cast<double>(OleDay(t)) +
           static_cast<double>(t.hour * 3600 + t.minute * 60 + t.second) / 86400.0;
}

std::string OleText(const LocalDateTime& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%f", OleDate(t));
    return buf;
}

LocalDateTime LocalOf(std::time_t now) {
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::int64_t OleSeconds(const LocalDateTime& t) {
    return OleDay(t) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

std::optional<std::int64_t> DueSeconds(const std::string& text) {
    if (text.empty() || text.size() > 32) return std::nullopt;
    bool digit = false, point = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c == '.' && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (!digit) return std::nullopt;
    const double days = std::strtod(text.c_str(), nullptr);
    if (!(days < 3.0e6)) return std::nullopt;  // beyond year 9999
    return std::llround(days * 86400.0);
}

}  // namespace pw
