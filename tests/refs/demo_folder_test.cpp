// The run command's demo folder: purseward-firstrun turns on all six tabs and stores one saved
// account per system for the simulator's demo accounts, without their passwords.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "refs/saved_accounts.h"
#include "settings/keys.h"
#include "settings/settings_store.h"
#include "../store/temp_dir.h"

namespace pw {
namespace {

TEST(DemoFolder, EverySystemOnWithItsDemoAccountAndNoStoredPassword) {
    testing::TempDir dir;
    const std::string cmd = std::string(PW_FIRSTRUN_PATH) + " " + dir.Path() +
                            " 127.0.0.1:18443 127.0.0.1:18080 " + dir.Path() +
                            "ca.pem 127.0.0.1:18444 >/dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    const SettingsStore store(dir / "Set/Purseward.ini", "");

    struct Row {
        int system;
        const char* enable;
        const char* savedRow;  // empty: no saved account list
        const char* account;
        const char* second;
    };
    const Row rows[] = {
        {0, keys::kEnableLR, "U1234567~demoapi~false~", "U1234567", "demoapi"},
        {1, keys::kEnablePM, "1234567~false~", "1234567", ""},
        {2, keys::kEnableVM, "VM100001~false~~", "VM100001", ""},
        {3, keys::kEnableEG, "1234567~false~", "1234567", ""},
        {4, keys::kEnableGDP, "", "GDP1001", "ST-77"},
        {5, keys::kEnableECU, "", "E1000100", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.system);
        const auto& k = keys::KeysOf(r.system);
        EXPECT_EQ(store.GetInt(keys::kSetting, r.enable, 0), 1);
        EXPECT_EQ(store.GetSecret(k.section, k.account), r.account);
        if (*k.apiName) {
            EXPECT_EQ(store.GetSecret(k.section, k.apiName), r.second);
        }
        EXPECT_EQ(store.GetString(k.section, k.pass), "");
        if (*r.savedRow) {
            const TextList saved = ReadSavedAccounts(store, SavedAccountKindOf(r.system));
            ASSERT_EQ(saved.size(), 1u);
            EXPECT_EQ(saved[0], r.savedRow);
        }
    }
}

}  // namespace
}  // namespace pw
