#include "settings/migration.h"

#include <QSettings>
#include <QString>
#include <QVariant>

#include <vector>

#include "settings/ini_file.h"
#include "settings/keys.h"
#include "settings/passwords.h"
#include "settings/settings_store.h"
#include "store/file_io.h"

namespace pw {
namespace {

constexpr char kProfileOrganization[] = "Local AppWizard-Generated Applications";
constexpr char kProfileApplication[] = "Purseward";
constexpr char kProfileGroup[] = "Setting";

// Collects the edits of the new file and the values they come from.
class Builder {
public:
    explicit Builder(const LegacyProfile& profile) : profile_(profile) {}

    void Fixed(const char* section, const char* key, const std::string& value) {
        edits_.push_back({section, key, value});
    }
    void String(const char* section, const char* key, const std::string& def) {
        std::string v;
        if (!profile_.ReadString(key, v) || v.empty()) v = def;
        Fixed(section, key, v);
    }
    void Int(const char* section, const char* key, int def) {
        int v = def;
        if (!profile_.ReadInt(key, v)) v = def;
        Fixed(section, key, std::to_string(v));
    }
    // Credentials of the earlier version were plain; they are stored enciphered under the
    // empty key text (the unlock password right after the migration).
    void Credential(const char* section, const char* key) {
        std::string plain;
        profile_.ReadString(key, plain);
        Fixed(section, key, SettingsStore::SecretText(plain, std::string()));
        WipeString(plain);
    }

    const std::vector<IniEdit>& Edits() const { return edits_; }
    ~Builder() {
        for (IniEdit& e : edits_) WipeString(e.value);
    }

private:
    const LegacyProfile& profile_;
    std::vector<IniEdit> edits_;
};

void AddSettingSection(Builder& b) {
    using namespace keys;
    b.String(kSetting, kSelectLanguage, "");
    b.Int(kSetting, kEnableLR, kDefEnableOld);
    b.Int(kSetting, kEnablePM, kDefEnableOld);
    b.Int(kSetting, kEnableVM, kDefEnableOld);
    b.Int(kSetting, kEnableEG, kDefEnableOld);
    b.Fixed(kSetting, kProgramName, kProductWord);
    b.Fixed(kSetting, kPass1, "");
    b.Fixed(kSetting, kPass2, "");
    b.Fixed(kSetting, kCheck, CheckValue("", ""));
    b.String(kSetting, kExecutableModule, "");
    b.Fixed(kSetting, kProxyServer, "");
    b.Fixed(kSetting, kProxyUserName, "");
    b.Fixed(kSetting, kProxyPass, "");
}

void AddSystemSection(Builder& b, const keys::SystemKeys& k, const std::string& today) {
    using namespace keys;
    const char* s = k.section;
    auto has = [](const char* key) { return key[0] != '\0'; };
    for (const char* key : {k.account, k.apiName, k.save, k.pin, k.pass, k.accountLast})
        if (has(key)) b.Credential(s, key);
    if (has(k.checkGetLast)) b.Int(s, k.checkGetLast, kDefCheckGetLast);
    if (has(k.filterLastOperCount)) b.Int(s, k.filterLastOperCount, kDefFilterLastOperCount);
    if (has(k.checkFromToDate)) b.Int(s, k.checkFromToDate, kDefCheckFromToDate);
    if (has(k.filterDateFrom)) b.String(s, k.filterDateFrom, today);
    if (has(k.filterDateTo)) b.String(s, k.filterDateTo, today);
    // The second date pair of PM is not carried over.
    if (has(k.checkAccount)) b.Int(s, k.checkAccount, kDefCheckAccount);
    if (has(k.filterAccount)) b.String(s, k.filterAccount, "");
    if (has(k.checkBatch)) b.Int(s, k.checkBatch, kDefCheckBatch);
    if (has(k.filterBatch)) b.String(s, k.filterBatch, "");
    if (has(k.autoRefresh)) b.Int(s, k.autoRefresh, kDefAutoRefresh);
}

}  // namespace

bool QtLegacyProfile::ReadString(const std::string& key, std::string& value) const {
    value.clear();
    QSettings profile(kProfileOrganization, kProfileApplication);
    profile.beginGroup(kProfileGroup);
    const QString name = QString::fromStdString(key);
    if (!profile.contains(name)) return false;
    value = profile.value(name).toString().toStdString();
    return true;
}

bool QtLegacyProfile::ReadInt(const std::string& key, int& value) const {
    std::string text;
    if (!ReadString(key, text) || text.empty()) return false;
    value = ParseLeadingInt(text);
    return true;
}

bool RunFirstRunMigration(const std::string& settingsPath, const std::string& keyFilePath,
                          const LegacyProfile& profile, const std::string& todayDmy) {
    Builder b(profile);
    AddSettingSection(b);
    for (int i = 0; i < 4; ++i)  // LR, PM, VM, EG; GDP and ECU get nothing
        AddSystemSection(b, keys::KeysOf(i), todayDmy);

    // The key file goes first: a settings file without its key file would not be migrated
    // again, while a key file without settings is simply rewritten at the next start.
    if (!WriteFileAtomic(keyFilePath, MasterKey("", ""), true)) return false;
    return IniWriteMany(settingsPath, b.Edits());
}

}  // namespace pw
