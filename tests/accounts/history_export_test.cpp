// The record text of the four full systems, the counterpart masking, the receipt name and the
// CSV export: its content, its name, its messages and its failures.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "accounts/history_export.h"
#include "accounts/record_text.h"
#include "store/file_io.h"
#include "ui/base/fake_seams.h"
#include "../store/temp_dir.h"

namespace pw {
namespace {

using testing::ReadAll;
using testing::TempDir;
using testing::WriteRaw;

TEST(RecordText, FourSystemsLineByLine) {
    struct Case {
        const RecordDescription& d;
        std::string row;
        Masking masking;
        std::string text;
        std::string image;
    } cases[] = {
        {LibertyReserveRecord(),
         "2009-03-05 10:00~U1234567 (Name)~-10.00~0.10~90.00~LRUSD~777~rent~false~api",
         {true, 3},
         "Date : 2009-03-05 10:00\r\nFrom/To Account : U1234*** (Name)\r\nAmount : -10.00\r\n"
         "Currency : LRUSD\r\nBatch : 777\r\nMemo : rent",
         "LR_777.jpg"},
        {PerfectMoneyRecord(), "03.05.09 10:00~U7654321~5.00~0.02~USD~888~gift~P42", {false, 3},
         "Date : 03.05.09 10:00\r\nFrom/To Account : U7654321\r\nAmount : 5.00\r\n"
         "Currency : USD\r\nBatch : 888\r\nMemo : gift\r\nPayment ID : P42",
         "PM_888.jpg"},
        {VMoneyRecord(), "2009-03-05~Sent~V100200 (Ann Lee)~-3.00~999~tea", {true, 2},
         "Date : 2009-03-05\r\nTransType : Sent\r\nFrom/To Account : V1002** (Ann Lee)\r\n"
         "Amount : -3.00\r\nBatch : 999\r\nMemo : tea\r\n",
         "VM_999.jpg"},
        {EGoldRecord(), "3/5/2009~Spend~Gold~0.0123~11.50~1234567~USD~935.00~555~coins",
         {true, 3},
         "Date : 3/5/2009\r\nPayment Type : Spend\r\nFrom/To Account : 1234***\r\n"
         "Weight : 0.0123 oz Gold\r\nAmount : 11.50\r\nCurrency : USD\r\nBatch : 555\r\n"
         "Memo : coins",
         "EG_555.jpg"},
        // A first word shorter than N becomes N asterisks.
        {PerfectMoneyRecord(), "d~U12 (A)", {true, 5},
         "Date : d\r\nFrom/To Account : ***** (A)\r\nAmount : \r\nCurrency : \r\nBatch : \r\n"
         "Memo : \r\nPayment ID : ",
         "PM_.jpg"},
        // A short row gives empty fields; a batch cannot lead into another folder.
        {LibertyReserveRecord(), "d~~1~0~0~LRUSD~../x", {true, 3},
         "Date : d\r\nFrom/To Account : \r\nAmount : 1\r\nCurrency : LRUSD\r\nBatch : ../x\r\n"
         "Memo : ",
         "LR_.._x.jpg"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RenderRecord(c.d, c.row, c.masking), c.text) << c.d.prefix;
        EXPECT_EQ(ReceiptImageName(c.d, c.row), c.image) << c.d.prefix;
    }
    EXPECT_EQ(RecordDescriptionOf(3), &EGoldRecord());
    EXPECT_EQ(RecordDescriptionOf(4), nullptr);  // GDP and ECU have no record view
}

TEST(HistoryExport, FileContentAndName) {
    const TextList columns = {"Date", "From/To", "Amount", "Memo"};
    struct Case {
        TextList rows;
        std::string csv;
    } cases[] = {
        {{}, "Date;From/To;Amount;Memo\r\n"},
        {{"d1~U1 (A)~-1.00~rent", "d2~U2~2.50~"},
         "Date;From/To;Amount;Memo\r\nd1;U1 (A);-1.00;rent\r\nd2;U2;2.50;\r\n"},
        // Written as stored: a ";" in the memo adds a column, nothing is quoted.
        {{"d~U3~0.00~a;b \"q\""}, "Date;From/To;Amount;Memo\r\nd;U3;0.00;a;b \"q\"\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(HistoryCsv(columns, RowList(c.rows)), c.csv);
    EXPECT_EQ(ExportFileName("/p/", "LR", Date{2009, 3, 5}), "/p/LRHistory_20090305.csv");
    EXPECT_EQ(ExportFileName("", "EG", Date{2010, 12, 31}), "EGHistory_20101231.csv");
    EXPECT_EQ(ExportCompleteMessage("/p/x.csv"), " Export complete.\r\n File /p/x.csv created.");
    EXPECT_NE(ExportFailedMessage("/p/x.csv").find(" /p/x.csv "), std::string::npos);
}

TEST(HistoryExport, AsksWritesAndTells) {
    const std::string csv = "Date;Memo\r\nd1;m1\r\nd2;m2\r\n";
    struct Case {
        const char* name;
        std::optional<std::string> chosen;  // below the folder; nullopt: Cancel
        bool failWrites;
        std::string fileAfter;  // out.csv afterwards
        std::string message;    // "" none, "ok", "fail"
    } cases[] = {
        {"written", "out.csv", false, csv, "ok"},
        {"cancelled", std::nullopt, false, "old", ""},
        // A write that fails half-way leaves the old file whole and says so.
        {"disk full", "out.csv", true, "old", "fail"},
        // A folder that cannot be created (its parent is a file).
        {"no folder", "plain/out.csv", false, "old", "fail"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        WriteRaw(dir / "out.csv", "old");
        WriteRaw(dir / "plain", "a file");
        ScriptedUi ui;
        ui.saveNames.push_back(c.chosen ? std::optional<std::string>(dir / *c.chosen)
                                        : std::nullopt);
        if (c.failWrites)
            SetWriteFunctionForTest([](int fd, const char* data, std::size_t size) -> long {
                if (::write(fd, data, std::min<std::size_t>(size, 5)) < 0) return -1;
                errno = ENOSPC;
                return -1;
            });
        ExportHistoryTo(ui, dir.Path(), "LR", Date{2009, 3, 5}, {"Date", "Memo"},
                        {"d1~m1", "d2~m2"});
        SetWriteFunctionForTest(WriteFunction());

        ASSERT_EQ(ui.saveSuggested.size(), 1u);
        EXPECT_EQ(ui.saveSuggested[0], dir / "LRHistory_20090305.csv");
        const std::string path = dir / c.chosen.value_or("out.csv");
        EXPECT_EQ(ReadAll(dir / "out.csv"), c.fileAfter);
        if (c.message.empty()) {
            EXPECT_TRUE(ui.messages.empty());
        } else {
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.messages[0], c.message == "ok" ? ExportCompleteMessage(path)
                                                        : ExportFailedMessage(path));
        }
        // No temporary file is left beside the export.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
    }
}

TEST(HistoryExport, ProposesTheDocumentsFolderAndWritesOwnerOnly) {
    TempDir dir;
    std::filesystem::create_directories(dir / "Documents");
    WriteRaw(dir / "NotAFolder", "x");
    struct Case {
        std::string documents, proposed;
    };
    const std::vector<Case> cases = {
        {dir / "Documents", dir / "Documents/"},
        {dir / "Documents/", dir / "Documents/"},
        {dir / "Missing", "/prog/"},
        {dir / "NotAFolder", "/prog/"},
        {"", "/prog/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExportFolder(c.documents, "/prog/"), c.proposed) << c.documents;

    ScriptedUi ui;
    ui.saveNames.push_back(dir / "Documents/LRHistory_20090305.csv");
    const mode_t old = ::umask(022);
    ExportHistoryTo(ui, ExportFolder(dir / "Documents", "/prog/"), "LR", Date{2009, 3, 5},
                    {"Date"}, {"d1"});
    ::umask(old);
    ASSERT_EQ(ui.saveSuggested.size(), 1u);
    EXPECT_EQ(ui.saveSuggested[0], dir / "Documents/LRHistory_20090305.csv");
    struct stat st {};
    ASSERT_EQ(::stat((dir / "Documents/LRHistory_20090305.csv").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

}  // namespace
}  // namespace pw
