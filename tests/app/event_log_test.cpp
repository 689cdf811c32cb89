#include "app/event_log.h"

#include <gtest/gtest.h>

#include "../store/temp_dir.h"

namespace pw {
namespace {

using testing::ReadAll;
using testing::TempDir;

std::tm Local(int year, int month, int day, int hour, int min, int sec) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = min;
    tm.tm_sec = sec;
    return tm;
}

std::string StampOf(std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%d/%m/%Y %H:%M:%S", &tm);
    return text;
}

TEST(FormatLogLine, StampTwoBlanksMessageCrLf) {
    EXPECT_EQ(FormatLogLine(Local(2009, 12, 6, 14, 5, 9), "OnBnClickedButton1:start"),
              "06/12/2009 14:05:09  OnBnClickedButton1:start\r\n");
    EXPECT_EQ(FormatLogLine(Local(2010, 1, 31, 0, 0, 0), ""), "31/01/2010 00:00:00  \r\n");
    EXPECT_EQ(FormatLogLine(Local(1999, 10, 1, 23, 59, 59), "x"), "01/10/1999 23:59:59  x\r\n");
}

TEST(FormatLogLine, MessageIsWrittenUnchanged) {
    const std::string answer = "<html>\r\n<body>\nline two\r\n%s %d %%</body>";
    EXPECT_EQ(FormatLogLine(Local(2009, 12, 6, 1, 2, 3), answer),
              "06/12/2009 01:02:03  " + answer + "\r\n");
    const std::string binary("a\0b", 3);
    EXPECT_EQ(FormatLogLine(Local(2009, 12, 6, 1, 2, 3), binary),
              "06/12/2009 01:02:03  " + binary + "\r\n");
}

TEST(WriteLogLine, CreatesThenAppendsInLocalTime) {
    TempDir dir;
    const std::time_t t1 = 1260108309;  // December 2009
    const std::time_t t2 = t1 + 3661;
    WriteLogLine(dir.Path(), "first", t1);
    EXPECT_EQ(ReadAll(dir / "Purseward.log"), StampOf(t1) + "  first\r\n");
    WriteLogLine(dir.Path(), "second\r\nspans lines", t2);
    EXPECT_EQ(ReadAll(dir / "Purseward.log"),
              StampOf(t1) + "  first\r\n" + StampOf(t2) + "  second\r\nspans lines\r\n");
}

TEST(WriteLogLine, UnopenableFileIsPassedOverSilently) {
    TempDir dir;
    WriteLogLine(dir / "missing/", "lost", 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
    std::filesystem::create_directory(dir / "Purseward.log");  // a folder in its place
    WriteLogLine(dir.Path(), "lost", 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Purseward.log"));
}

}  // namespace
}  // namespace pw
