#pragma once
// Program passwords and the master key: the start-up check, the payment check and the
// password change that re-enciphers every credential.
#include <functional>
#include <string>

#include "settings/settings_store.h"
#include "ui/base/modal_ui.h"

namespace pw {

// "Password1:<hash of run>~Password2:<hash of payment>".
std::string MasterKeyText(const std::string& runPassword, const std::string& paymentPassword);
// The master key text enciphered under the run password.
std::string MasterKey(const std::string& runPassword, const std::string& paymentPassword);
// "Purseward" enciphered under run + "~" + payment.
std::string CheckValue(const std::string& runPassword, const std::string& paymentPassword);

// <dir>Set/Purseward.key, dir being the program directory or, when it is empty, baseDir.
std::string KeyFilePath(const std::string& programDir, const std::string& baseDir);

class Passwords {
public:
    // store's unlock password is read and changed by these operations. programDir and baseDir
    // place the key file (KeyFilePath).
    Passwords(SettingsStore& store, ModalUi& ui, std::string programDir, std::string baseDir);

    void SetProgramDir(std::string dir) { programDir_ = std::move(dir); }

    // Asks for the run password when Pass1 is set; on success sets the store's unlock password
    // and holds Pass2 as stored. On failure (wrong or cancelled password, a Check that does not
    // match, a Pass2 that does not decipher) shows message 151 and returns false.
    bool StartupCheck();

    // The stored Pass2 text (cipher text, as in the file).
    const std::string& StoredPass2() const { return storedPass2_; }
    void SetStoredPass2(std::string s) { storedPass2_ = std::move(s); }

    // True when no payment password is set, or the prompt's text matches it.
    bool PaymentCheck();

    // Applies a password change as one atomic save of the settings file (Pass1, Pass2, Check,
    // every credential key of the six sections and ProxyPass re-enciphered), then shows
    // message 150. The new master key is first saved as "<key file>.new" and renamed over the
    // key file after the settings save; what an interrupted change left is recovered first
    // (RecoverKeyFile), and a ".new" that stays the only proof is never overwritten (the
    // change is refused with a message). Returns false and changes nothing
    // when the master key is missing or wrong (silently), or when a value cannot be
    // enciphered or the settings cannot be saved.
    bool ChangePasswords(const std::string& oldRun, const std::string& oldPay,
                         const std::string& newRun, const std::string& newPay);

    std::string KeyFile() const { return KeyFilePath(programDir_, baseDir_); }

    // A change that was stopped leaves "<key file>.new" behind. When its master key belongs
    // to the passwords the settings hold (unlock password and Pass2, confirmed by Check)
    // while the key file's does not, it is renamed over the key file; otherwise it proves
    // nothing and is removed. Run after the start-up check and before every change.
    enum class KeyRecovery { kNothing, kCompleted, kDiscarded, kFailed };
    KeyRecovery RecoverKeyFile();

    // The points of a change after which a stop leaves something to recover (for tests).
    enum class ChangeStep { kNewKeyWritten, kSettingsSaved, kKeyReplaced };
    void SetStepHookForTest(std::function<void(ChangeStep)> hook) { stepHook_ = std::move(hook); }

private:
    void Reached(ChangeStep step);

    SettingsStore& store_;
    ModalUi& ui_;
    std::string programDir_, baseDir_;
    std::string storedPass2_;
    std::function<void(ChangeStep)> stepHook_;
};

}  // namespace pw
