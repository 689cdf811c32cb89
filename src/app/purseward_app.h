#pragma once
// The application object: settings path, language lists, enable flags, the unlock password
// and the stored Pass2 live here for the whole run; everything else reaches the settings
// through its accessors.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/language_library.h"
#include "crypto/secure_string.h"
#include "settings/migration.h"
#include "settings/passwords.h"
#include "settings/settings_store.h"
#include "ui/base/clock.h"
#include "ui/base/modal_ui.h"

namespace pw {

// Start-up stops here when the crypto library lacks what the cipher needs: without it every
// secret would read empty and be written back empty. Shows a message naming what is missing
// and returns false.
bool CheckCipherAtStart(ModalUi& ui);

class CPursewardApp {
public:
    // baseDir: the working directory with a trailing "/".
    CPursewardApp(std::string baseDir, ModalUi& ui, Clock& clock);
    // Unloads the selected language library.
    ~CPursewardApp();
    CPursewardApp(const CPursewardApp&) = delete;
    CPursewardApp& operator=(const CPursewardApp&) = delete;

    // The application object of the running program (set by the constructor).
    static CPursewardApp* Instance();

    const std::string& BaseDir() const { return baseDir_; }
    std::string SettingsPath() const { return baseDir_ + "Set/Purseward.ini"; }
    // ProgramPath, or the base directory when it is empty.
    std::string ProgramDir() const;

    // The nine accessors.
    int32_t GetInt(const std::string& section, const std::string& key, int32_t def) const;
    void WriteInt(const std::string& section, const std::string& key, int32_t value) const;
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& def) const;
    std::string GetString(const std::string& section, const std::string& key) const;
    std::string GetSecret(const std::string& section, const std::string& key) const;
    std::string GetSecretWithKey(const std::string& section, const std::string& key,
                                 const std::string& keyText) const;
    void WriteSecret(const std::string& section, const std::string& key,
                     const std::string& value) const;
    void WriteSecretWithKey(const std::string& section, const std::string& key,
                            const std::string& value, const std::string& keyText) const;
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) const;

    SettingsStore& Settings() { return settings_; }
    const SettingsStore& Settings() const { return settings_; }
    Passwords& Pw() { return passwords_; }
    ModalUi& Ui() { return ui_; }
    Clock& GetClock() { return clock_; }

    const std::string& UnlockPassword() const { return settings_.UnlockPassword(); }
    const std::string& StoredPass2() const { return passwords_.StoredPass2(); }
    bool PaymentCheck() { return passwords_.PaymentCheck(); }

    // Appends one line to the event log.
    void WriteLog(const std::string& message) const;
    // Logs the answer of an exchange with the secrets of its request masked (AnswerForLog).
    // The request URL itself is never logged.
    void WriteLogAnswer(const std::string& answer, const std::vector<SecureString>& secrets) const;

    // Language lists, index-aligned.
    std::vector<std::string> languageNames;
    std::vector<std::string> languagePaths;
    // Enable flags in the order LR, PM, VM, EG, GDP, ECU.
    std::array<int32_t, 6> enable{1, 1, 1, 1, 0, 0};
    bool settingsPresent = false;

    // Steps of start-up that need no window: reads the settings presence, runs the first-run
    // migration when needed and reads the enable flags.
    void PrepareSettings(const LegacyProfile& profile);
    void ReadEnableFlags();

    // Fills the language lists from BaseDir() + "Language/Purseward_*.so".
    void ScanLanguages();
    // Loads the library of the language named by SelectLanguage and keeps it for the run;
    // false (built-in texts stay) when none is selected or it cannot be loaded.
    bool LoadSelectedLanguage();
    // The loaded language library, or nullptr.
    QLibrary* Language() const { return language_.get(); }

private:
    std::string baseDir_;
    ModalUi& ui_;
    Clock& clock_;
    SettingsStore settings_;
    Passwords passwords_;
    std::unique_ptr<QLibrary> language_;
};

}  // namespace pw
