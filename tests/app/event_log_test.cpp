#include "app/event_log.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

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


mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 0777;
}

TEST(WriteLogLine, OnlyTheOwnerMayReadTheLog) {
    TempDir dir;
    const mode_t oldMask = ::umask(0);  // the rights come from the log, not the mask
    WriteLogLine(dir.Path(), "first", 0);
    EXPECT_EQ(ModeOf(dir / "Purseward.log"), 0600u);
    // A log left readable by others is narrowed at the next line, and keeps its content.
    ::chmod((dir / "Purseward.log").c_str(), 0664);
    WriteLogLine(dir.Path(), "second", 0);
    ::umask(oldMask);
    EXPECT_EQ(ModeOf(dir / "Purseward.log"), 0600u);
    EXPECT_EQ(ReadAll(dir / "Purseward.log"), StampOf(0) + "  first\r\n" + StampOf(0) + "  second\r\n");
}

TEST(WriteLogLine, EmptyDirectoryIsTheCurrentDirectory) {
    TempDir dir;
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    WriteLogLine("", "here", 0);
    std::filesystem::current_path(old);
    EXPECT_EQ(ReadAll(dir / "Purseward.log"), StampOf(0) + "  here\r\n");
}

TEST(AnswerForLog, MasksTheSecretsInEveryFormAndKeepsTheRest) {
    const struct {
        std::string answer;
        std::vector<SecureString> secrets;
        std::string logged;
    } cases[] = {
        {"12.34/5.67", {"ecu pass#1", "ecu%20pass%231"}, "12.34/5.67"},
        {"ERROR bad password ecu pass#1\r\nfor /sci/balance.pl?password=ecu%20pass%231",
         {"ecu pass#1", "ecu%20pass%231"},
         "ERROR bad password ***\r\nfor /sci/balance.pl?password=***"},
        {"<error>k2 k2</error>", {"k2"}, "<error>*** ***</error>"},
        // Only whole occurrences: a short secret inside a longer run of letters and digits
        // is not the secret, and the answer stays readable.
        {"12.34/5.67", {"1"}, "12.34/5.67"},
        {"12.34/5.67", {"12"}, "***.34/5.67"},
        {"12.34/5.67", {"3"}, "12.34/5.67"},
        {"1/2", {"1"}, "***/2"},
        {"ERROR login 1 password 1", {"1"}, "ERROR login *** password ***"},
        {"k2k2", {"k2"}, "k2k2"},
        {"pw=#1;x", {"#1"}, "pw=***;x"},
        {"pw=#12", {"#1"}, "pw=#12"},
        {"x##1##", {"##1##"}, "x***"},
        // As typed, percent-encoded and XML-escaped, as SecretForms gives them.
        {"<e>a&amp;b</e> a%26b a&b", {"a&b", "a%26b", "a&amp;b"}, "<e>***</e> *** ***"},
        // Overlapping forms make one mask.
        {"[secretsecret2]", {"secret", "secretsecret2"}, "[***]"},
        {"<error>x</error>", {}, "<error>x</error>"},
        {"<error>x</error>", {""}, "<error>x</error>"},
    };
    for (const auto& c : cases) EXPECT_EQ(AnswerForLog(c.answer, c.secrets), c.logged) << c.answer;
}

TEST(AnswerForLog, OneCharacterSecretOverAMegabyteIsMaskedWhole) {
    // Every second byte is a whole occurrence of the secret: 500,000 masks in one answer.
    std::string answer;
    for (int i = 0; i < 500000; ++i) answer += "1 ";
    std::string logged;
    for (int i = 0; i < 500000; ++i) logged += "*** ";
    EXPECT_EQ(AnswerForLog(answer, {"1"}), logged);
}

}  // namespace
}  // namespace pw
