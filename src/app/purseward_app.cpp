#include "app/purseward_app.h"

#include <sys/stat.h>

#include <QLibrary>

#include <ctime>

#include "app/event_log.h"
#include "crypto/cipher.h"

namespace pw {

bool CheckCipherAtStart(ModalUi& ui) {
    const std::string missing = MissingCipherComponent();
    if (missing.empty()) return true;
    ui.Message("Purseward cannot start: " + missing +
               " could not be loaded, so the saved passwords and accounts cannot be read. "
               "Install it (on Debian the package libssl3) or set OPENSSL_MODULES to its "
               "folder. Nothing was changed.");
    return false;
}
namespace {

CPursewardApp* g_instance = nullptr;

constexpr char kSetting[] = "Setting";

std::string TodayDmy(const Clock& clock) {
    const std::tm local = clock.LocalNow();
    char text[32];
    std::strftime(text, sizeof text, "%d/%m/%Y", &local);
    return text;
}

bool PresentAndNotEmpty(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
}

}  // namespace

CPursewardApp::CPursewardApp(std::string baseDir, ModalUi& ui, Clock& clock)
    : baseDir_(std::move(baseDir)),
      ui_(ui),
      clock_(clock),
      settings_(baseDir_ + "Set/Purseward.ini", std::string()),
      passwords_(settings_, ui, std::string(), baseDir_) {
    g_instance = this;
}

CPursewardApp::~CPursewardApp() {
    if (language_) language_->unload();
    if (g_instance == this) g_instance = nullptr;
}

CPursewardApp* CPursewardApp::Instance() { return g_instance; }

std::string CPursewardApp::ProgramDir() const {
    std::string dir = GetString(kSetting, "ProgramPath", std::string());
    if (dir.empty()) return baseDir_;
    if (dir.back() != '/') dir += '/';
    return dir;
}

int32_t CPursewardApp::GetInt(const std::string& section, const std::string& key,
                              int32_t def) const {
    return settings_.GetInt(section, key, def);
}

void CPursewardApp::WriteInt(const std::string& section, const std::string& key,
                             int32_t value) const {
    settings_.WriteInt(section, key, value);
}

std::string CPursewardApp::GetString(const std::string& section, const std::string& key,
                                     const std::string& def) const {
    return settings_.GetString(section, key, def);
}

std::string CPursewardApp::GetString(const std::string& section, const std::string& key) const {
    return settings_.GetString(section, key, std::string());
}

std::string CPursewardApp::GetSecret(const std::string& section, const std::string& key) const {
    return settings_.GetSecret(section, key);
}

std::string CPursewardApp::GetSecretWithKey(const std::string& section, const std::string& key,
                                            const std::string& keyText) const {
    return settings_.GetSecretWithKey(section, key, keyText);
}

void CPursewardApp::WriteSecret(const std::string& section, const std::string& key,
                                const std::string& value) const {
    settings_.WriteSecret(section, key, value);
}

void CPursewardApp::WriteSecretWithKey(const std::string& section, const std::string& key,
                                       const std::string& value,
                                       const std::string& keyText) const {
    settings_.WriteSecretWithKey(section, key, value, keyText);
}

void CPursewardApp::WriteString(const std::string& section, const std::string& key,
                                const std::string& value) const {
    settings_.WriteString(section, key, value);
}

void CPursewardApp::WriteLog(const std::string& message) const {
    WriteLogLine(ProgramDir(), message, clock_.Now());
}

void CPursewardApp::WriteLogAnswer(const std::string& answer,
                                   const std::vector<SecureString>& secrets) const {
    WriteLog(AnswerForLog(answer, secrets));
}

void CPursewardApp::PrepareSettings(const LegacyProfile& profile) {
    settingsPresent = PresentAndNotEmpty(SettingsPath());
    if (!settingsPresent) {
        RunFirstRunMigration(SettingsPath(),
                             KeyFilePath(GetString(kSetting, "ProgramPath"), baseDir_), profile,
                             TodayDmy(clock_));
    }
    passwords_.SetProgramDir(GetString(kSetting, "ProgramPath"));
    ReadEnableFlags();
}

void CPursewardApp::ReadEnableFlags() {
    static constexpr const char* kKeys[6] = {"Enable_LR", "Enable_PM",  "Enable_VM",
                                             "Enable_EG", "Enable_GDP", "Enable_ECU"};
    static constexpr int32_t kDefaults[6] = {1, 1, 1, 1, 0, 0};
    for (std::size_t i = 0; i < enable.size(); ++i)
        enable[i] = GetInt(kSetting, kKeys[i], kDefaults[i]);
}

void CPursewardApp::ScanLanguages() {
    LanguageLibraries found = ScanLanguageLibraries(baseDir_);
    languageNames = std::move(found.names);
    languagePaths = std::move(found.paths);
}

bool CPursewardApp::LoadSelectedLanguage() {
    if (language_) {
        language_->unload();
        language_.reset();
    }
    const LanguageLibraries offered{languageNames, languagePaths};
    language_ = LoadLanguageLibrary(baseDir_, offered, GetString(kSetting, "SelectLanguage"));
    return language_ != nullptr;
}

}  // namespace pw
