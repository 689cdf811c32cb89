#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <unistd.h>

#include "crypto/cipher.h"
#include "settings/keys.h"
#include "store/file_io.h"
#include "settings_test_util.h"

namespace pw {
namespace {

using test::Slurp;
using test::Spill;

class StoreTest : public ::testing::Test {
protected:
    test::ScratchDir dir;
    std::string path = dir / "Set/Purseward.ini";
    SettingsStore store{path, "unlock"};
};

TEST(LeadingInt, FollowsTheCRule) {
    EXPECT_EQ(ParseLeadingInt("12abc"), 12);
    EXPECT_EQ(ParseLeadingInt("abc"), 0);
    EXPECT_EQ(ParseLeadingInt("7 days"), 7);
    EXPECT_EQ(ParseLeadingInt("-5"), -5);
    EXPECT_EQ(ParseLeadingInt("+3x"), 3);
    EXPECT_EQ(ParseLeadingInt(" \t42"), 42);
    EXPECT_EQ(ParseLeadingInt("--1"), 0);
    EXPECT_EQ(ParseLeadingInt("- 1"), 0);
    EXPECT_EQ(ParseLeadingInt(""), 0);
    EXPECT_EQ(ParseLeadingInt("2147483647"), INT32_MAX);
    EXPECT_EQ(ParseLeadingInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseLeadingInt("99999999999999999999999"), INT32_MAX);
    EXPECT_EQ(ParseLeadingInt("-99999999999999999999999"), INT32_MIN);
}

TEST_F(StoreTest, IntegersUseTheDefaultOnlyWhenNothingIsThere) {
    Spill(path, "[S]\r\ndays=7 days\r\nword=x\r\nempty=\r\nneg=-12\r\n");
    EXPECT_EQ(store.GetInt("S", "days", 99), 7);
    EXPECT_EQ(store.GetInt("S", "word", 99), 0);
    EXPECT_EQ(store.GetInt("S", "empty", 99), 99);
    EXPECT_EQ(store.GetInt("S", "missing", 99), 99);
    EXPECT_EQ(store.GetInt("S", "neg", 99), -12);
    store.WriteInt("S", "written", -2147483647 - 1);
    EXPECT_NE(Slurp(path).find("written=-2147483648\r\n"), std::string::npos);
    EXPECT_EQ(store.GetInt("S", "written", 0), INT32_MIN);
}

TEST_F(StoreTest, StringsUseTheDefaultWhenEmptyOrMissing) {
    Spill(path, "[S]\r\nempty=\r\nname=\"  spaced  \"\r\n");
    EXPECT_EQ(store.GetString("S", "empty", "def"), "def");
    EXPECT_EQ(store.GetString("S", "missing", "def"), "def");
    EXPECT_EQ(store.GetString("S", "missing"), "");
    EXPECT_EQ(store.GetString("S", "name"), "  spaced  ");
    store.WriteString("S", "name", "plain");
    EXPECT_EQ(store.GetString("S", "name", "def"), "plain");
}

TEST_F(StoreTest, NothingIsCachedBetweenStores) {
    SettingsStore other(path, "unlock");
    store.WriteString("S", "k", "1");
    EXPECT_EQ(other.GetString("S", "k"), "1");
    other.WriteString("S", "k", "2");
    EXPECT_EQ(store.GetString("S", "k"), "2");
}

TEST_F(StoreTest, WritesCreateTheSetFolder) {
    ASSERT_FALSE(std::filesystem::exists(dir / "Set"));
    store.WriteInt("Setting", "Enable_LR", 1);
    EXPECT_EQ(store.GetInt("Setting", "Enable_LR", 0), 1);
    EXPECT_EQ(test::ModeOf(path), 0600u);
}

TEST_F(StoreTest, SecretsAreStoredEncipheredUnderTheUnlockPassword) {
    store.WriteSecret("LR", "LRPass", "hunter2");
    std::string expected;
    ASSERT_TRUE(Encipher("hunter2", "unlock", expected));
    EXPECT_EQ(store.GetString("LR", "LRPass"), expected);
    EXPECT_EQ(store.GetSecret("LR", "LRPass"), "hunter2");
    EXPECT_EQ(store.GetSecretWithKey("LR", "LRPass", "unlock"), "hunter2");
    EXPECT_EQ(SettingsStore::SecretText("hunter2", "unlock"), expected);

    SettingsStore wrong(path, "other");
    EXPECT_EQ(wrong.GetSecret("LR", "LRPass"), "");
    EXPECT_EQ(store.GetSecretWithKey("LR", "LRPass", "other"), "");
}

TEST_F(StoreTest, SecretWithExplicitKeyText) {
    store.WriteSecretWithKey("PM", "PMPass", "pm-secret", "");
    std::string expected;
    ASSERT_TRUE(Encipher("pm-secret", " ", expected));  // empty key text acts as a blank
    EXPECT_EQ(store.GetString("PM", "PMPass"), expected);
    EXPECT_EQ(store.GetSecretWithKey("PM", "PMPass", ""), "pm-secret");
    EXPECT_EQ(store.GetSecret("PM", "PMPass"), "");
}

TEST_F(StoreTest, EmptySecretIsStoredEmpty) {
    store.WriteSecret("LR", "LRPass", "something");
    store.WriteSecret("LR", "LRPass", "");
    EXPECT_NE(Slurp(path).find("LRPass=\r\n"), std::string::npos);
    EXPECT_EQ(store.GetSecret("LR", "LRPass"), "");
    EXPECT_TRUE(store.TryWriteSecret("LR", "LRPass", ""));
}

TEST_F(StoreTest, DamagedSecretsReadEmpty) {
    std::string good;
    ASSERT_TRUE(Encipher("value", "unlock", good));
    Spill(path, "[S]\r\nhex=ZZZZZZZZZZZZZZZZ\r\nodd=" + good.substr(0, 15) +
                    "\r\ncut=" + good.substr(0, good.size() - 2) + "\r\nflip=" +
                    std::string(good.size(), '0') + "\r\n");
    for (const char* key : {"hex", "odd", "cut", "flip"})
        EXPECT_EQ(store.GetSecret("S", key), "") << key;
}

TEST_F(StoreTest, LongSecretsReadBackWhole) {
    std::string secret;
    for (int i = 0; i < 300; ++i) secret.push_back(static_cast<char>('a' + i % 26));
    store.WriteSecret("LR", "LRAccount", secret);
    EXPECT_GT(store.GetString("LR", "LRAccount").size(), 254u);
    EXPECT_EQ(store.GetSecret("LR", "LRAccount"), secret);

    const std::string largest(kMaxPlainBytes, 'q');
    EXPECT_TRUE(store.TryWriteSecret("LR", "LRAccount", largest));
    EXPECT_EQ(store.GetSecret("LR", "LRAccount"), largest);
}

TEST_F(StoreTest, SecretTooLongToEncipherKeepsTheOldValue) {
    store.WriteSecret("LR", "LRPass", "old");
    const std::string tooLong(kMaxPlainBytes + 1, 'x');
    EXPECT_FALSE(store.TryWriteSecret("LR", "LRPass", tooLong));
    EXPECT_FALSE(store.TryWriteSecretWithKey("LR", "LRPass", tooLong, "k"));
    store.WriteSecret("LR", "LRPass", tooLong);
    store.WriteSecretWithKey("LR", "LRPass", tooLong, "unlock");
    EXPECT_EQ(store.GetSecret("LR", "LRPass"), "old");
    std::string out = "junk";
    EXPECT_FALSE(SettingsStore::TrySecretText(tooLong, "k", out));
    EXPECT_EQ(out, "");
}

TEST_F(StoreTest, FailedSecretWriteIsReported) {
    store.WriteSecret("LR", "LRPass", "old");
    {
        test::DiskFull full;
        EXPECT_FALSE(store.TryWriteSecret("LR", "LRPass", "new"));
        EXPECT_FALSE(store.WriteMany({{"LR", "LRPass", ""}}));
        store.WriteString("LR", "LRPass", "");  // reports nothing, changes nothing
    }
    EXPECT_EQ(store.GetSecret("LR", "LRPass"), "old");
}

TEST(Keys, CredentialKeysFollowTheTable) {
    using V = std::vector<std::string>;
    EXPECT_EQ(keys::CredentialKeys(0),
              (V{"LRAccount", "APIName", "LRSave", "LRPass", "LRAccountLast"}));
    EXPECT_EQ(keys::CredentialKeys(1), (V{"PM_AccountID", "PMSave", "PMPass", "PMAccountLast"}));
    EXPECT_EQ(keys::CredentialKeys(2),
              (V{"VM_AccountID", "VMSave", "VMPin", "VMPass", "VMAccountLast"}));
    EXPECT_EQ(keys::CredentialKeys(3), (V{"EG_AccountID", "EGSave", "EGPass", "EGAccountLast"}));
    EXPECT_EQ(keys::CredentialKeys(4),
              (V{"GDPAccount", "StoreID", "GDPSave", "GDPPass", "GDPAccountLast"}));
    EXPECT_EQ(keys::CredentialKeys(5),
              (V{"ECUAccount", "ECUSave", "ECUPass", "ECUAccountLast"}));
    for (int i = 0; i < 6; ++i) EXPECT_STREQ(keys::KeysOf(i).section, keys::kPrefixes[i]);
}

TEST(Keys, FilterKeysOfTheSystems) {
    const auto& pm = keys::KeysOf(1);
    EXPECT_STREQ(pm.filterDateFromOld, "PM_FilterDateFromOld");
    EXPECT_STREQ(pm.checkGetLast, "");
    const auto& vm = keys::KeysOf(2);
    EXPECT_STREQ(vm.checkAccount, "");
    EXPECT_STREQ(vm.filterAccount, "");
    EXPECT_STREQ(vm.checkBatch, "VM_CheckBatch");
    EXPECT_STREQ(keys::KeysOf(3).checkAccount, "EG_CheckAccount");
    EXPECT_STREQ(keys::KeysOf(4).filterAccount, "FilterGDPAccount");
    EXPECT_STREQ(keys::KeysOf(5).autoRefresh, "ECUAutoRefresh");
    for (int i = 0; i < 6; ++i) {
        if (i == 1) continue;
        EXPECT_STREQ(keys::KeysOf(i).filterDateFromOld, "");
    }
}

// Several values as one change: one atomic save, or nothing at all.
TEST_F(StoreTest, ABatchIsOneSaveOrNothing) {
    Spill(path, "[LR]\r\nLRAccount=old\r\nFilterBatch=7\r\n");
    const std::string before = Slurp(path);
    struct Case {
        const char* name;
        std::size_t secretBytes;
        bool stored;
    };
    for (const Case& c : {Case{"fits", kMaxPlainBytes, true},
                          Case{"one byte too long", kMaxPlainBytes + 1, false}}) {
        Spill(path, before);
        int saves = 0;
        SetWriteFunctionForTest([&saves](int fd, const char* data, std::size_t size) {
            ++saves;
            return static_cast<long>(::write(fd, data, size));
        });
        SettingsBatch batch(store);
        batch.WriteString("LR", "FilterBatch", "123");
        batch.WriteInt("LR", "CheckBatch", 1);
        batch.WriteSecret("LR", "LRAccount", std::string(c.secretBytes, 'U'));
        batch.WriteSecretWithKey("LR", "LRPass", "pw", "other key");
        const bool stored = batch.Commit();
        SetWriteFunctionForTest({});
        EXPECT_EQ(stored, c.stored) << c.name;
        if (c.stored) {
            EXPECT_EQ(saves, 1) << c.name;
            EXPECT_EQ(store.GetString("LR", "FilterBatch"), "123");
            EXPECT_EQ(store.GetInt("LR", "CheckBatch", 0), 1);
            EXPECT_EQ(store.GetSecret("LR", "LRAccount"), std::string(c.secretBytes, 'U'));
            EXPECT_EQ(store.GetSecretWithKey("LR", "LRPass", "other key"), "pw");
        } else {
            EXPECT_EQ(saves, 0) << c.name;
            EXPECT_EQ(Slurp(path), before) << c.name;
            EXPECT_EQ(batch.Failed(), SettingsBatch::Failure::kSecretTooLong);
            EXPECT_EQ(batch.FailedSection() + "/" + batch.FailedKey(), "LR/LRAccount");
        }
    }
}

}  // namespace
}  // namespace pw
