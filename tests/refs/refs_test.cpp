// Saved account rows and their stored columns; reference list files.
#include <gtest/gtest.h>

#include "crypto/cipher.h"
#include "refs/ref_lists.h"
#include "refs/saved_accounts.h"
#include "settings/ini_file.h"
#include "settings/settings_store.h"
#include "../store/temp_dir.h"

namespace pw {
namespace {

using testing::ReadAll;
using testing::TempDir;

struct EntryCase {
    int system;
    SavedAccountEntry entry;
    std::string row;
    std::string secretCell;  // cell of the secret column
};

TEST(SavedAccounts, EntriesBecomeRowsAndBack) {
    const std::vector<EntryCase> cases = {
        {0, {{"U1111111", "api1", "sw1"}, true}, "U1111111~api1~true~sw1", "*****"},
        {0, {{"U2222222", "api2", "sw2"}, false}, "U2222222~api2~false~", ""},
        {1, {{"1234567", "pp"}, true}, "1234567~true~pp", "*****"},
        {1, {{"1234567", "pp"}, false}, "1234567~false~", ""},
        {2, {{"V1", "4321", "pw"}, true}, "V1~true~4321~pw", "*****"},
        {2, {{"V1", "4321", "pw"}, false}, "V1~false~~", ""},
        {3, {{"555", "egpass"}, true}, "555~true~egpass", "*****"},
    };
    for (const EntryCase& c : cases) {
        const SavedAccountKind& kind = SavedAccountKindOf(c.system);
        SCOPED_TRACE(c.row);
        EXPECT_EQ(SavedRowFromEntry(kind, c.entry), c.row);
        EXPECT_EQ(SavedAccountCell(kind, c.row, kind.secretColumn), c.secretCell);
        EXPECT_EQ(SavedAccountCell(kind, c.row, 0), c.entry.texts[0]);
        const SavedAccountEntry back = EntryFromSavedRow(kind, c.row);
        EXPECT_EQ(back.save, c.entry.save);
        EXPECT_EQ(back.texts[0], c.entry.texts[0]);
    }
    // The V-Money PIN is shown in clear.
    EXPECT_EQ(SavedAccountCell(SavedAccountKindOf(2), "V1~true~4321~pw", 2), "4321");
}

TEST(SavedAccounts, KindsCarryTheirKeysCaptionsAndFiles) {
    struct K { int system; std::vector<std::string> keys; std::string caption, file; int res; };
    const std::vector<K> cases = {
        {0, {"LRAccount", "APIName", "LRSave", "LRPass"}, "LR Accounts", "RefAccount.set", 147},
        {1, {"PM_AccountID", "PMSave", "PMPass"}, "PM Accounts", "PMRefAccount.set", 149},
        {2, {"VM_AccountID", "VMSave", "VMPin", "VMPass"}, "VM Accounts", "VMRefAccount.set", 158},
        {3, {"EG_AccountID", "EGSave", "EGPass"}, "EG Accounts", "EGRefAccount.set", 166},
    };
    for (const K& c : cases) {
        const SavedAccountKind& k = SavedAccountKindOf(c.system);
        EXPECT_EQ(k.keys, c.keys);
        EXPECT_EQ(k.listCaption, c.caption);
        EXPECT_EQ(k.tableFile, c.file);
        EXPECT_EQ(k.listResource, c.res);
        EXPECT_EQ(k.columns.size(), c.keys.size());
        EXPECT_EQ(k.columns[static_cast<std::size_t>(k.saveField)].align, Align::Center);
    }
    EXPECT_FALSE(HasSavedAccountList(4));
}

TEST(SavedAccounts, EditorProblems) {
    struct P { int system; std::vector<std::string> texts; int message, focus; };
    const std::vector<P> cases = {
        {0, {"", "api", ""}, 110, 0}, {0, {"U1", "", ""}, 111, 1}, {0, {"U1", "api", ""}, 0, -1},
        {1, {"", "pp"}, 132, 0},      {3, {"", ""}, 132, 0},      {2, {"", "1", "2"}, 137, 0},
    };
    for (const P& c : cases) {
        int focus = -1;
        EXPECT_EQ(SavedEntryProblem(SavedAccountKindOf(c.system), {c.texts, true}, focus), c.message);
        EXPECT_EQ(focus, c.focus);
    }
}

class SavedStore : public ::testing::Test {
protected:
    TempDir dir;
    std::string ini = dir / "Set/Purseward.ini";
    SettingsStore store{ini, "unlock"};
    const SavedAccountKind& lr = SavedAccountKindOf(0);
    std::string Raw(const std::string& key) {
        std::string v;
        IniRead(ini, "LR", key, v);
        return v;
    }
};

TEST_F(SavedStore, TwoAccountsGiveTheColumnsEnciphered) {
    ASSERT_TRUE(WriteSavedAccounts(store, lr, {"U1111111~api1~true~sw1", "U2222222~api2~false~"}));
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"LRAccount", "U1111111~U2222222"}, {"APIName", "api1~api2"},
        {"LRSave", "true~false"}, {"LRPass", "sw1~"}};
    for (const auto& [key, plain] : expected) {
        const std::string raw = Raw(key);
        EXPECT_NE(raw, plain);
        EXPECT_EQ(raw.find_first_not_of("0123456789ABCDEF"), std::string::npos) << key;
        EXPECT_EQ(store.GetSecret("LR", key), plain);
    }
}

TEST_F(SavedStore, DeletingTheOnlyRowWritesEveryKeyEmpty) {
    ASSERT_TRUE(WriteSavedAccounts(store, lr, {"U1~a~true~s"}));
    ASSERT_TRUE(WriteSavedAccounts(store, lr, {}));
    const std::string text = ReadAll(ini);
    for (const char* key : {"LRAccount=\r\n", "APIName=\r\n", "LRSave=\r\n", "LRPass=\r\n"})
        EXPECT_NE(text.find(key), std::string::npos) << key;
    EXPECT_TRUE(ReadSavedAccounts(store, lr).empty());
}

TEST_F(SavedStore, TwentyAccountsReadBackAfterARestart) {
    TextList rows;
    for (int i = 0; i < 20; ++i)
        rows.push_back("U10000" + std::to_string(10 + i) + "~api" + std::to_string(i) + "~" +
                       (i % 2 ? "true~secret" + std::to_string(i) : "false~"));
    ASSERT_TRUE(SavedAccountsFit(lr, rows));
    ASSERT_TRUE(WriteSavedAccounts(store, lr, rows));
    const SettingsStore restarted(ini, "unlock");
    EXPECT_EQ(ReadSavedAccounts(restarted, lr), rows);
}

TEST_F(SavedStore, AListTooLongIsRefusedAndNothingStoredChanges) {
    ASSERT_TRUE(WriteSavedAccounts(store, lr, {"U1~a~true~s"}));
    const std::string before = ReadAll(ini);
    TextList rows = {"U1~a~true~s"};
    // The API names alone outgrow what one column can hold.
    while (rows.size() < 60) rows.push_back("U2~" + std::string(9, 'n') + "~false~");
    EXPECT_FALSE(SavedAccountsFit(lr, rows));
    EXPECT_FALSE(WriteSavedAccounts(store, lr, rows));
    EXPECT_EQ(ReadAll(ini), before);
    // The longest list that fits still goes in whole: 101 save flags make 504 bytes.
    TextList fit(101, "U~a~true~s");
    EXPECT_TRUE(SavedAccountsFit(lr, fit));
    fit.push_back("U~a~true~s");
    EXPECT_FALSE(SavedAccountsFit(lr, fit));
    fit.pop_back();
    EXPECT_TRUE(WriteSavedAccounts(store, lr, fit));
    EXPECT_EQ(ReadSavedAccounts(store, lr).size(), fit.size());
}

TEST_F(SavedStore, ExtraPartsOfAColumnAreDroppedOnTheNextSave) {
    // A hand-edited file: the API names hold a third part that no account has.
    store.WriteSecret("LR", "LRAccount", "U1~U2");
    store.WriteSecret("LR", "APIName", "a1~a2~stray");
    store.WriteSecret("LR", "LRSave", "true~false");
    store.WriteSecret("LR", "LRPass", "s1~");
    const TextList rows = ReadSavedAccounts(store, lr);
    EXPECT_EQ(rows, (TextList{"U1~a1~true~s1", "U2~a2~false~"}));
    ASSERT_TRUE(WriteSavedAccounts(store, lr, rows));
    EXPECT_EQ(store.GetSecret("LR", "APIName"), "a1~a2");
    EXPECT_EQ(store.GetSecret("LR", "LRAccount"), "U1~U2");
    EXPECT_EQ(store.GetSecret("LR", "LRPass"), "s1~");
}

// ---- Reference lists --------------------------------------------------------------------------

TEST(RefLists, EditorsAreChosenByFileName) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"LRAccountTo.ini", 1}, {"PMAccountTo.ini", 3}, {"EGAccountTo.ini", 3},
        {"VMAccountTo.ini", 4}, {"LRMemo.ini", 2},      {"PMMemo.ini", 2},
        {"VMMemo.ini", 2},      {"EGMemo.ini", 2},      {"old_EGMemo.ini", 2},
        {"Other.ini", 0},
    };
    for (const auto& [file, kind] : cases) EXPECT_EQ(RefEditorFor(file), kind) << file;
    for (const RefListSpec& s : RefLists()) {
        EXPECT_EQ(s.titles.size(), RefEditorOf(RefEditorFor(s.file)).labels.size()) << s.file;
        EXPECT_EQ(RefListByCommand(s.command), &s);
        EXPECT_EQ(&RefListOf(s.systemIndex, s.memo), &s);
    }
    EXPECT_EQ(RefListByCommand(32819), nullptr);
    EXPECT_EQ(RefLists().size(), 8u);
}

TEST(RefLists, BlankLinesAreDroppedAndRowsEndWithCrLf) {
    struct C { std::string text; TextList rows; };
    const std::vector<C> cases = {
        {"", {}},
        {"\r\n\r\n", {}},
        {"U1~Name~c1\r\n\r\n\r\nU2~~c2\r\n", {"U1~Name~c1", "U2~~c2"}},
        {"memo one\nmemo two", {"memo one", "memo two"}},
    };
    for (const C& c : cases) EXPECT_EQ(ParseRefList(c.text), c.rows);
    EXPECT_EQ(FormatRefList({"a~b", "c"}), "a~b\r\nc\r\n");
}

TEST(RefLists, CellsOfShortRowsAreEmpty) {
    EXPECT_EQ(RefCellText("U1", 0), "U1");
    EXPECT_EQ(RefCellText("U1", 1), "");
    EXPECT_EQ(RefCellText("U1~~note", 2), "note");
    EXPECT_EQ(RefCellText("U1~a~b~extra", 3), "extra");
}

TEST(RefLists, FilesAreReadWholeAndWrittenIntoAFreshRefFolder) {
    TempDir dir;
    const std::string path = RefListPath(dir.Path(), "LRMemo.ini");
    TextList rows = {"stale"};
    EXPECT_EQ(ReadRefList(path, rows), RefLoad::Missing);
    EXPECT_TRUE(rows.empty());
    ASSERT_TRUE(WriteRefList(path, {"first", "second"}));  // Ref/ did not exist
    EXPECT_EQ(ReadAll(path), "first\r\nsecond\r\n");
    EXPECT_EQ(ReadRefList(path, rows), RefLoad::Ok);
    EXPECT_EQ(rows, (TextList{"first", "second"}));
    // A file longer than is read is not taken as a shorter list.
    ASSERT_TRUE(WriteRefList(path, {std::string(kRefListMaxBytes, 'x')}));
    EXPECT_EQ(ReadRefList(path, rows), RefLoad::Unreadable);
}

}  // namespace
}  // namespace pw
