// Prepares a fresh data folder for the program: writes the first-run settings file (as the
// program itself does on its first start, with no earlier version to take values from),
// points the payment-system hosts at the local simulator, turns on all six tabs and stores one
// saved account per tab for the simulator's demo accounts (without their passwords, which the
// user types).
//   purseward-firstrun <data folder> <https host:port> <http host:port> <CA file> [<e-gold host:port>]
#include <cstdio>
#include <ctime>
#include <string>

#include "settings/ini_file.h"
#include "settings/keys.h"
#include "settings/migration.h"
#include "settings/passwords.h"
#include "settings/settings_store.h"

namespace {

// The simulator's demo accounts: account and second login field (API name, Store ID) of each
// system, in system order (LR, PM, VM, EG, GDP, ECU).
struct DemoAccount {
    const char* account;
    const char* second;
};
constexpr DemoAccount kDemoAccounts[6] = {
    {"U1234567", "demoapi"}, {"1234567", ""}, {"VM100001", ""},
    {"1234567", ""},         {"GDP1001", "ST-77"}, {"E1000100", ""},
};
constexpr const char* kEnableKeys[6] = {pw::keys::kEnableLR, pw::keys::kEnablePM,
                                        pw::keys::kEnableVM, pw::keys::kEnableEG,
                                        pw::keys::kEnableGDP, pw::keys::kEnableECU};

struct EmptyProfile : pw::LegacyProfile {
    bool ReadString(const std::string&, std::string&) const override { return false; }
    bool ReadInt(const std::string&, int&) const override { return false; }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: %s <data folder> <https host:port> <http host:port> <CA file> [<e-gold host:port>]\n",
                     argv[0]);
        return 2;
    }
    std::string dir = argv[1];
    if (dir.back() != '/') dir += '/';
    const std::string settings = dir + "Set/Purseward.ini";
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char today[16];
    std::strftime(today, sizeof today, "%d/%m/%Y", &local);
    if (!pw::RunFirstRunMigration(settings, pw::KeyFilePath("", dir), EmptyProfile(), today)) {
        std::fprintf(stderr, "cannot write %s\n", settings.c_str());
        return 1;
    }
    std::vector<pw::IniEdit> edits;
    for (int i = 0; i < 6; ++i) {
        const auto& k = pw::keys::KeysOf(i);
        edits.push_back({k.section, k.host, i == 3 && argc == 6 ? argv[5] : argv[2]});
    }
    edits.push_back({"EG", "EGPriceHost", argv[3]});
    edits.push_back({pw::keys::kSetting, pw::keys::kInfoSite, std::string("http://") + argv[3]});
    edits.push_back({pw::keys::kSetting, pw::keys::kCACertFile, argv[4]});
    if (!pw::IniWriteMany(settings, edits)) {
        std::fprintf(stderr, "cannot write %s\n", settings.c_str());
        return 1;
    }
    // The demo accounts as saved accounts whose secrets are not stored (save flag "false"),
    // enciphered as the program does without a program password.
    const pw::SettingsStore store(settings, "");
    pw::SettingsBatch demo(store);
    for (int i = 0; i < 6; ++i) {
        const auto& k = pw::keys::KeysOf(i);
        demo.WriteInt(pw::keys::kSetting, kEnableKeys[i], 1);
        demo.WriteSecret(k.section, k.account, kDemoAccounts[i].account);
        if (*k.apiName) demo.WriteSecret(k.section, k.apiName, kDemoAccounts[i].second);
        if (*k.save) demo.WriteSecret(k.section, k.save, "false");
    }
    if (!demo.Commit()) {
        std::fprintf(stderr, "cannot write the demo accounts into %s\n", settings.c_str());
        return 1;
    }
    std::printf("%s\n", settings.c_str());
    return 0;
}
