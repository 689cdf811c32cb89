#include "store/schedule_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "crypto/cipher.h"
#include "store/file_io.h"
#include "temp_dir.h"

namespace pw {
namespace {

using testing::ReadAll;
using testing::TempDir;
using testing::WriteRaw;

constexpr char kTag[] = "LR_U1234567";
constexpr int kFields = 8;
constexpr int kDue = 6;

std::string Record(const std::string& payee, const std::string& due) {
    return JoinList({"U7654321", payee, "1.50", "USD", "memo", "0", due, "1"}, "~");
}

std::string Cipher(const std::string& plain, const std::string& key) {
    std::string hex;
    EXPECT_TRUE(Encipher(plain, key, hex));
    return hex;
}

class ScheduleFileTest : public ::testing::Test {
protected:
    std::string FilePath() const { return ScheduleFilePath(dir.Path(), kTag); }
    ScheduleLoad Load() const { return LoadSchedule(dir.Path(), kTag, kFields, kDue); }
    TempDir dir;
};

TEST(ScheduleFilePath, NamesTheFileAfterTheTag) {
    EXPECT_EQ(ScheduleFilePath("/data/", "LR_U1234567"), "/data/Set/LR_U1234567.sav");
    EXPECT_EQ(ScheduleFilePath("/data/", "GDP_a.b c"), "/data/Set/GDP_a.b c.sav");
}

TEST(ScheduleFilePath, RefusesTagsThatAreNotPlainNames) {
    for (const std::string& tag :
         {std::string(), std::string("LR_../x"), std::string("LR_a/b"), std::string("LR_a\\b"),
          std::string(".."), std::string("LR_\nx"), std::string("LR_\tx"),
          std::string("LR_\x7f"), std::string("LR_a\0b", 6)}) {
        EXPECT_EQ(ScheduleFilePath("/data/", tag), "") << "tag " << tag;
    }
}

TEST_F(ScheduleFileTest, RoundTripKeepsOrderAndDueTimes) {
    const TextList records{Record("A", "40180.5"), Record("B", "40181.25"), Record("", "1")};
    ASSERT_TRUE(SaveSchedule(dir.Path(), kTag, records));

    const std::string raw = ReadAll(FilePath());
    const TextList lines = Split(raw, "\r\n");
    ASSERT_EQ(lines.size(), 4u);  // three records, each followed by CR LF
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[0], Cipher(records[0], kTag));

    const ScheduleLoad load = Load();
    EXPECT_EQ(load.records, records);
    EXPECT_EQ(load.dueTimes, (TextList{"40180.5", "40181.25", "1"}));
    EXPECT_EQ(load.skippedLines, 0);
}

TEST_F(ScheduleFileTest, SavedOwnerOnly) {
    ASSERT_TRUE(SaveSchedule(dir.Path(), kTag, {Record("A", "2")}));
    struct stat st {};
    ASSERT_EQ(::stat(FilePath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(ScheduleFileTest, EmptyListLeavesAnEmptyFile) {
    ASSERT_TRUE(SaveSchedule(dir.Path(), kTag, {Record("A", "2")}));
    ASSERT_TRUE(SaveSchedule(dir.Path(), kTag, {}));
    EXPECT_TRUE(FileExists(FilePath()));
    EXPECT_EQ(ReadAll(FilePath()), "");
    const ScheduleLoad load = Load();
    EXPECT_TRUE(load.records.empty());
    EXPECT_EQ(load.skippedLines, 0);
}

TEST_F(ScheduleFileTest, EmptyOrUnsafeTagWritesNothing) {
    EXPECT_FALSE(SaveSchedule(dir.Path(), "", {Record("A", "2")}));
    EXPECT_FALSE(SaveSchedule(dir.Path(), "../evil", {Record("A", "2")}));
    EXPECT_FALSE(FileExists(dir / "Set/.sav"));
    EXPECT_FALSE(FileExists(dir / "evil.sav"));
    EXPECT_TRUE(LoadSchedule(dir.Path(), "", kFields, kDue).records.empty());
}

TEST_F(ScheduleFileTest, AnotherAccountDoesNotReadIt) {
    ASSERT_TRUE(SaveSchedule(dir.Path(), kTag, {Record("A", "2")}));
    // Another account of the same system has its own file: nothing there.
    EXPECT_TRUE(LoadSchedule(dir.Path(), "LR_U9999999", kFields, kDue).records.empty());
    // Even the same file read under another key yields no record.
    WriteRaw(dir / "Set/LR_U9999999.sav", ReadAll(FilePath()));
    const ScheduleLoad foreign = LoadSchedule(dir.Path(), "LR_U9999999", kFields, kDue);
    EXPECT_TRUE(foreign.records.empty());
    EXPECT_EQ(foreign.skippedLines, 1);
}

TEST_F(ScheduleFileTest, BadLinesAreSkippedTheOthersLoadAndTheFileIsKept) {
    const std::string good1 = Cipher(Record("A", "10"), kTag);
    const std::string good2 = Cipher(Record("B", "20"), kTag);
    const std::string shortRecord = Cipher("only~three~fields", kTag);
    const std::string longRecord = Cipher(Record("C", "30") + "~extra", kTag);
    const std::string foreign = Cipher(Record("D", "40"), "PM_U1");
    const std::string damaged = good1.substr(0, good1.size() - 6) + "ZZ";
    const std::string content = good1 + "\r\n" + shortRecord + "\r\n" + "not hex at all\r\n" +
                                damaged + "\r\n" + foreign + "\r\n" + longRecord + "\r\n" +
                                good2 + "\r\n";
    WriteRaw(FilePath(), content);

    const ScheduleLoad load = Load();
    EXPECT_EQ(load.records, (TextList{Record("A", "10"), Record("B", "20")}));
    EXPECT_EQ(load.dueTimes, (TextList{"10", "20"}));
    EXPECT_EQ(load.skippedLines, 5);
    EXPECT_EQ(ReadAll(FilePath()), content);  // loading never rewrites
}

TEST_F(ScheduleFileTest, LineEndsOfEveryKind) {
    const std::string a = Cipher(Record("A", "1"), kTag);
    const std::string b = Cipher(Record("B", "2"), kTag);
    const std::string c = Cipher(Record("C", "3"), kTag);
    // Two CR LF pairs in a row, leading line ends, LF alone, and a last line without end.
    WriteRaw(FilePath(), "\r\n" + a + "\r\n\r\n" + b + "\n\n" + c);
    const ScheduleLoad load = Load();
    EXPECT_EQ(load.records, (TextList{Record("A", "1"), Record("B", "2"), Record("C", "3")}));
    EXPECT_EQ(load.skippedLines, 0);
}

TEST_F(ScheduleFileTest, MissingEmptyOrGarbageFileGivesNothing) {
    EXPECT_TRUE(Load().records.empty());
    WriteRaw(FilePath(), "");
    EXPECT_TRUE(Load().records.empty());
    WriteRaw(FilePath(), "\r\n\r\n\n");
    EXPECT_EQ(Load().skippedLines, 0);
    std::string noise;
    for (int i = 0; i < 5000; ++i) noise.push_back(static_cast<char>((i * 37) % 256));
    WriteRaw(FilePath(), noise);
    const ScheduleLoad load = Load();
    EXPECT_TRUE(load.records.empty());
    EXPECT_GT(load.skippedLines, 0);
}

TEST_F(ScheduleFileTest, OversizedFileIsReportedNotHalfRead) {
    const std::string a = Cipher(Record("A", "1"), kTag);
    std::string content = a + "\r\n";
    content.resize(kScheduleFileMaxBytes + 1, '\n');
    WriteRaw(FilePath(), content);
    const ScheduleLoad load = Load();
    EXPECT_TRUE(load.unreadable);
    EXPECT_EQ(load.tooLarge, kScheduleFileMaxBytes + 1);
    EXPECT_TRUE(load.records.empty());

    content.resize(kScheduleFileMaxBytes);  // at the limit it still loads
    WriteRaw(FilePath(), content);
    const ScheduleLoad atLimit = Load();
    EXPECT_FALSE(atLimit.unreadable);
    EXPECT_EQ(atLimit.tooLarge, 0u);
    EXPECT_EQ(atLimit.records, (TextList{Record("A", "1")}));
}

TEST_F(ScheduleFileTest, FileWithoutReadPermissionIsReported) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    ASSERT_TRUE(SaveSchedule(dir.Path(), kTag, {Record("A", "1")}));
    ASSERT_EQ(::chmod(FilePath().c_str(), 0200), 0);
    const ScheduleLoad load = Load();
    EXPECT_TRUE(load.unreadable);
    EXPECT_TRUE(load.records.empty());
}

TEST_F(ScheduleFileTest, MissingFileIsNotUnreadable) {
    EXPECT_FALSE(Load().unreadable);
    WriteRaw(FilePath(), "");
    EXPECT_FALSE(Load().unreadable);
}

TEST_F(ScheduleFileTest, NineFieldRecordsNeedNineFields) {
    const std::string tag = "PM_U1";
    const TextList nine{JoinList({"1", "2", "3", "4", "5", "6", "7", "40000.5", "9"}, "~")};
    ASSERT_TRUE(SaveSchedule(dir.Path(), tag, nine));
    EXPECT_EQ(LoadSchedule(dir.Path(), tag, 9, 7).dueTimes, (TextList{"40000.5"}));
    EXPECT_TRUE(LoadSchedule(dir.Path(), tag, 8, 6).records.empty());
}

TEST_F(ScheduleFileTest, RecordTheCipherRefusesIsLeftOutOthersSaved) {
    const TextList records{Record("A", "1"), Record(std::string(600, 'x'), "2"), Record("C", "3")};
    ASSERT_TRUE(SaveSchedule(dir.Path(), kTag, records));
    EXPECT_EQ(Load().records, (TextList{Record("A", "1"), Record("C", "3")}));
}

TEST_F(ScheduleFileTest, FailingWriteLeavesTheOldFileWhole) {
    ASSERT_TRUE(SaveSchedule(dir.Path(), kTag, {Record("A", "1"), Record("B", "2")}));
    const std::string before = ReadAll(FilePath());

    int calls = 0;
    SetWriteFunctionForTest([&](int fd, const char* data, std::size_t size) -> long {
        // Half of the first chunk goes through, then the disk is full.
        if (++calls == 1) return static_cast<long>(::write(fd, data, size / 2));
        errno = ENOSPC;
        return -1;
    });
    EXPECT_FALSE(SaveSchedule(dir.Path(), kTag, {Record("Z", "9")}));
    SetWriteFunctionForTest(nullptr);

    EXPECT_EQ(ReadAll(FilePath()), before);
    EXPECT_EQ(Load().records, (TextList{Record("A", "1"), Record("B", "2")}));
}

}  // namespace
}  // namespace pw
