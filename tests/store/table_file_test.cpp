#include "store/table_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "store/file_io.h"
#include "temp_dir.h"

namespace pw {
namespace {

using testing::ReadAll;
using testing::TempDir;
using testing::WriteRaw;

class TableFileTest : public ::testing::Test {
protected:
    ListTable TableAt(const std::string& name) {
        ListTable t;
        t.path = dir / ("Set/" + name);
        return t;
    }
    TextList LoadFrom(const std::string& content) {
        ListTable t = TableAt("Balance.set");
        WriteRaw(t.path, content);
        LoadColumnWidths(t);
        return t.columnWidths;
    }
    TempDir dir;
};

TEST_F(TableFileTest, ReadsTheWidthsLine) {
    EXPECT_EQ(LoadFrom("ColumnWidth=60;80;150\r\n"), (TextList{"60", "80", "150"}));
    EXPECT_EQ(LoadFrom("ColumnWidth=60;;150\r\n"), (TextList{"60", "", "150"}));
    EXPECT_EQ(LoadFrom("ColumnWidth=60\r\n"), (TextList{"60"}));
    // Text after the first line end is not part of the widths.
    EXPECT_EQ(LoadFrom("ColumnWidth=1;2\r\nColumnWidth=9;9\r\n"), (TextList{"1", "2"}));
}

TEST_F(TableFileTest, WithoutLineEndGivesOneEmptyWidth) {
    EXPECT_EQ(LoadFrom("ColumnWidth=60;80"), (TextList{""}));
    EXPECT_EQ(LoadFrom("ColumnWidth=60;80\n"), (TextList{""}));
}

TEST_F(TableFileTest, KeyIsStrippedAsLetterSetThenEquals) {
    // Every leading letter of "ColumnWidth" goes, then every "=".
    EXPECT_EQ(LoadFrom("ColumnWidth==60;70\r\n"), (TextList{"60", "70"}));
    EXPECT_EQ(LoadFrom("ColumnWidthColumnWidth=5\r\n"), (TextList{"5"}));
    // A leading character outside the set stops the stripping.
    EXPECT_EQ(LoadFrom("xColumnWidth=5\r\n"), (TextList{"xColumnWidth=5"}));
}

TEST_F(TableFileTest, MissingEmptyOrForeignFileKeepsDefaults) {
    ListTable t = TableAt("History.set");
    t.columnWidths = {"70", "90"};
    LoadColumnWidths(t);  // no file
    EXPECT_EQ(t.columnWidths, (TextList{"70", "90"}));

    WriteRaw(t.path, "");
    LoadColumnWidths(t);
    EXPECT_EQ(t.columnWidths, (TextList{"70", "90"}));

    WriteRaw(t.path, "Width=1;2\r\n");
    LoadColumnWidths(t);
    EXPECT_EQ(t.columnWidths, (TextList{"70", "90"}));

    WriteRaw(t.path, std::string("\0\xff\x01garbage", 10));
    LoadColumnWidths(t);
    EXPECT_EQ(t.columnWidths, (TextList{"70", "90"}));

    ListTable folder;
    folder.path = dir.Path();  // a folder, not a file
    folder.columnWidths = {"1"};
    LoadColumnWidths(folder);
    EXPECT_EQ(folder.columnWidths, (TextList{"1"}));
}

TEST_F(TableFileTest, ADamagedFileIsToldNeitherReadNorWrittenOver) {
    const std::string line = "ColumnWidth=3;4\r\n";
    const struct {
        std::string content;
        bool damaged;
    } cases[] = {
        {line + std::string(kTableFileMaxBytes - line.size(), 'z'), false},  // just fits
        {line + std::string(kTableFileMaxBytes - line.size() + 1, 'z'), true},
        {line + std::string(100000, 'z'), true},  // the widths inside the bound do not count
        {std::string(kTableFileMaxBytes, ' ') + line, true},
        {"ColumnWidth=" + std::string(kTableFileMaxBytes, '7') + "\r\n", true},
    };
    for (const auto& c : cases) {
        ListTable t = TableAt("Big.set");
        WriteRaw(t.path, c.content);
        t.columnWidths = {"50"};
        const std::string told = LoadColumnWidths(t);
        EXPECT_EQ(t.columnWidths, c.damaged ? TextList{"50"} : (TextList{"3", "4"}));
        EXPECT_EQ(told.empty(), !c.damaged);
        if (c.damaged) {
            EXPECT_NE(told.find(t.path + " is " + std::to_string(c.content.size()) + " bytes long"),
                      std::string::npos) << told;
        }
        EXPECT_EQ(WriteColumnWidthsFile(t), !c.damaged);
        if (c.damaged) {
            EXPECT_EQ(ReadAll(t.path), c.content);  // nothing lost
        }
    }
}

TEST_F(TableFileTest, SaveWritesExactlyOneLineAndCreatesTheFolder) {
    ListTable t = TableAt("PMBalance.set");
    t.columnWidths = {"60"};
    ASSERT_TRUE(WriteColumnWidthsFile(t));
    EXPECT_EQ(ReadAll(t.path), "ColumnWidth=60\r\n");

    t.columnWidths = {"60", "", "150"};
    ASSERT_TRUE(WriteColumnWidthsFile(t));
    EXPECT_EQ(ReadAll(t.path), "ColumnWidth=60;;150\r\n");

    struct stat st {};
    ASSERT_EQ(::stat(t.path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(TableFileTest, SaveTakesTheControlWidthsForEveryEntry) {
    // More widths than the control has columns: each entry is written, 0 beyond the columns.
    ListTable t = TableAt("Balance.set");
    t.columnWidths = {"1", "2", "3", "4"};
    const int columns[] = {61, 82, 143};
    ASSERT_TRUE(SaveColumnWidths(t, [&](int i) { return i < 3 ? columns[i] : 0; }));
    EXPECT_EQ(t.columnWidths, (TextList{"61", "82", "143", "0"}));
    EXPECT_EQ(ReadAll(t.path), "ColumnWidth=61;82;143;0\r\n");

    ListTable again = TableAt("Balance.set");
    LoadColumnWidths(again);
    EXPECT_EQ(again.columnWidths, t.columnWidths);
}

TEST_F(TableFileTest, EmptyWidthsListLeavesTheFileAlone) {
    ListTable t = TableAt("Balance.set");
    WriteRaw(t.path, "ColumnWidth=5\r\n");
    EXPECT_TRUE(WriteColumnWidthsFile(t));
    EXPECT_EQ(ReadAll(t.path), "ColumnWidth=5\r\n");

    ListTable nowhere;
    nowhere.columnWidths = {"5"};
    EXPECT_FALSE(WriteColumnWidthsFile(nowhere));
}

TEST_F(TableFileTest, FailedSaveLeavesTheOldFileWhole) {
    ListTable t = TableAt("Balance.set");
    t.columnWidths = {"10", "20"};
    ASSERT_TRUE(WriteColumnWidthsFile(t));

    SetWriteFunctionForTest([](int, const char*, std::size_t) -> long {
        errno = ENOSPC;
        return -1;
    });
    t.columnWidths = {"99", "99"};
    EXPECT_FALSE(WriteColumnWidthsFile(t));
    SetWriteFunctionForTest(nullptr);

    EXPECT_EQ(ReadAll(t.path), "ColumnWidth=10;20\r\n");
    // No temporary file is left behind.
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir / "Set")) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

}  // namespace
}  // namespace pw
