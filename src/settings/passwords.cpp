#include "settings/passwords.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "crypto/cipher.h"
#include "settings/keys.h"
#include "store/file_io.h"
#include "ui/base/strings.h"

namespace pw {
namespace {

constexpr int kMsgMasterKeySaved = 150;
constexpr int kMsgWrongPassword = 151;
constexpr std::size_t kKeyFileMaxBytes = 64 * 1024;
constexpr char kNewKeySuffix[] = ".new";

std::string NotChanged(const std::string& what) {
    return "The passwords were not changed: " + what + ". The old passwords still hold.";
}

// Wipes the password texts it holds when it goes out of scope.
class Wiper {
public:
    explicit Wiper(std::initializer_list<std::string*> texts) : texts_(texts) {}
    ~Wiper() {
        for (std::string* t : texts_) WipeString(*t);
    }
    Wiper(const Wiper&) = delete;
    Wiper& operator=(const Wiper&) = delete;

private:
    std::vector<std::string*> texts_;
};

// Renames from over to, and makes the rename durable.
bool ReplaceFile(const std::string& from, const std::string& to) {
    if (std::rename(from.c_str(), to.c_str()) != 0) return false;
    const std::string dir = DirectoryOf(to);
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    return true;
}

std::string TrimWhitespace(const std::string& s) {
    const char* ws = " \t\r\n";
    const std::size_t b = s.find_first_not_of(ws);
    if (b == std::string::npos) return std::string();
    return s.substr(b, s.find_last_not_of(ws) - b + 1);
}

// The key file's content, or empty when it is missing, empty or longer than a key file can be
// (not read at all; *tooLarge, when given, gets its size). The hex text carries no meaningful
// blanks, so surrounding whitespace (a line end added by an editor) is dropped.
std::string ReadKeyFile(const std::string& path, std::uint64_t* tooLarge = nullptr) {
    std::string text;
    std::uint64_t size = 0;
    const FileRead read = ReadFileWithin(path, kKeyFileMaxBytes, text, &size);
    if (read == FileRead::kTooLarge && tooLarge != nullptr) *tooLarge = size;
    if (read != FileRead::kRead) return std::string();
    return TrimWhitespace(text);
}

}  // namespace

std::string MasterKeyText(const std::string& runPassword, const std::string& paymentPassword) {
    return "Password1:" + PasswordHash(runPassword) + "~Password2:" +
           PasswordHash(paymentPassword);
}

std::string MasterKey(const std::string& runPassword, const std::string& paymentPassword) {
    std::string out;
    Encipher(MasterKeyText(runPassword, paymentPassword), runPassword, out);
    return out;
}

std::string CheckValue(const std::string& runPassword, const std::string& paymentPassword) {
    std::string key = runPassword + "~" + paymentPassword;
    std::string out;
    Encipher(keys::kProductWord, key, out);
    WipeString(key);
    return out;
}

std::string KeyFilePath(const std::string& programDir, const std::string& baseDir) {
    std::string dir = programDir.empty() ? baseDir : programDir;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir + "Set/Purseward.key";
}

Passwords::Passwords(SettingsStore& store, ModalUi& ui, std::string programDir,
                     std::string baseDir)
    : store_(store), ui_(ui), programDir_(std::move(programDir)), baseDir_(std::move(baseDir)) {}

bool Passwords::StartupCheck() {
    using namespace keys;
    const std::string pass1 = store_.GetString(kSetting, kPass1);
    const std::string pass2 = store_.GetString(kSetting, kPass2);
    const std::string check = store_.GetString(kSetting, kCheck);

    std::string run, pay;
    Wiper wipe{&run, &pay};
    bool ok = true;
    if (!pass1.empty()) {
        std::optional<std::string> typed = ui_.PromptPassword();
        if (!typed) {
            ok = false;
        } else {
            run = *typed;
            WipeString(*typed);
            ok = PasswordHash(run) == pass1;
        }
    }
    // A Pass2 that does not decipher under the run password can only be a damaged file.
    ok = ok && SettingsStore::TryPlainText(pass2, run, pay);
    ok = ok && !check.empty() && CheckValue(run, pay) == check;
    if (!ok) {
        ui_.Message(Str(kMsgWrongPassword));
        return false;
    }
    store_.SetUnlockPassword(run);
    storedPass2_ = pass2;
    RecoverKeyFile();
    return true;
}

Passwords::KeyRecovery Passwords::RecoverKeyFile() {
    using namespace keys;
    const std::string keyFile = KeyFile();
    const std::string newKeyFile = keyFile + kNewKeySuffix;
    if (!FileExists(newKeyFile)) return KeyRecovery::kNothing;
    // The passwords the settings hold now: the unlock password and the deciphered Pass2,
    // which the Check value must confirm.
    std::string run = store_.UnlockPassword(), pay;
    Wiper wipe{&run, &pay};
    if (!SettingsStore::TryPlainText(store_.GetString(kSetting, kPass2), run, pay) ||
        CheckValue(run, pay) != store_.GetString(kSetting, kCheck))
        return KeyRecovery::kNothing;
    const std::string expected = MasterKey(run, pay);
    if (expected.empty()) return KeyRecovery::kNothing;
    if (ReadKeyFile(newKeyFile) == expected && ReadKeyFile(keyFile) != expected) {
        // The change got as far as the settings save: finish it.
        if (!ReplaceFile(newKeyFile, keyFile)) return KeyRecovery::kFailed;
        return KeyRecovery::kCompleted;
    }
    // Stopped before the settings save (its passwords never took effect), or a copy of the
    // key file that is still valid: proof of nothing the key file does not prove.
    return std::remove(newKeyFile.c_str()) == 0 ? KeyRecovery::kDiscarded : KeyRecovery::kFailed;
}

void Passwords::Reached(ChangeStep step) {
    if (stepHook_) stepHook_(step);
}

bool Passwords::PaymentCheck() {
    if (storedPass2_.empty()) return true;
    std::optional<std::string> typed = ui_.PromptPassword();
    if (!typed) return false;
    std::string cipher;
    Encipher(*typed, store_.UnlockPassword(), cipher);
    WipeString(*typed);
    return !cipher.empty() && cipher == storedPass2_;
}

bool Passwords::ChangePasswords(const std::string& oldRun, const std::string& oldPay,
                                const std::string& newRun, const std::string& newPay) {
    using namespace keys;
    const std::string keyFile = KeyFile();
    const std::string newKeyFile = keyFile + kNewKeySuffix;
    auto fail = [this](const std::string& what) {
        ui_.Message(NotChanged(what));
        return false;
    };

    // An earlier change that was stopped is finished or undone first. Should its new key file
    // still be the only proof of the current passwords, this change must not overwrite it.
    RecoverKeyFile();
    const std::string expected = MasterKey(oldRun, oldPay);
    if (!expected.empty() && FileExists(newKeyFile) && ReadKeyFile(newKeyFile) == expected &&
        ReadKeyFile(keyFile) != expected)
        return fail("the key file " + newKeyFile +
                    " of an earlier change could not be renamed to " + keyFile);

    // 1-2. The master key must belong to the current passwords.
    std::uint64_t tooLarge = 0;
    std::string master = ReadKeyFile(keyFile, &tooLarge);
    if (tooLarge > 0) {
        ui_.Message("The key file " + keyFile + " is " + std::to_string(tooLarge) +
                    " bytes long, more than the " + std::to_string(kKeyFileMaxBytes) +
                    " bytes a key file can be: it was not read. Type the master key instead.");
    }
    if (master.empty()) {
        std::optional<std::string> typed = ui_.PromptMasterKey();
        if (typed) master = TrimWhitespace(*typed);
    }
    if (expected.empty() || master != expected) return false;

    // 3-5. The new password entries.
    std::vector<IniEdit> edits;
    std::string plain;
    struct EditWiper {
        std::vector<IniEdit>& e;
        std::string& p;
        ~EditWiper() {
            for (IniEdit& x : e) WipeString(x.value);
            WipeString(p);
        }
    } wipeEdits{edits, plain};

    std::string newPass2;
    if (!SettingsStore::TrySecretText(newPay, newRun, newPass2))
        return fail("the payment password is too long to be enciphered");
    const std::string newCheck = CheckValue(newRun, newPay);
    const std::string newMaster = MasterKey(newRun, newPay);
    if (newCheck.empty() || newMaster.empty())
        return fail("the passwords are too long to be enciphered");
    edits.push_back({kSetting, kPass2, newPass2});
    edits.push_back({kSetting, kPass1, newRun.empty() ? std::string() : PasswordHash(newRun)});
    edits.push_back({kSetting, kCheck, newCheck});

    // 7. Every credential (and the proxy password) under the new run password. A value that
    // does not decipher under the old one is left as it is rather than emptied.
    const std::string oldUnlock = store_.UnlockPassword();
    auto reencipher = [&](const std::string& section, const std::string& key) {
        if (!SettingsStore::TryPlainText(store_.GetString(section, key), oldUnlock, plain))
            return true;
        std::string hex;
        const bool ok = SettingsStore::TrySecretText(plain, newRun, hex);
        WipeString(plain);
        if (ok) edits.push_back({section, key, hex});
        return ok;
    };
    auto tooLong = [&fail](const std::string& section, const std::string& key) {
        return fail("the saved value " + key + " of [" + section +
                    "] is too long to be enciphered");
    };
    for (int i = 0; i < static_cast<int>(kPrefixes.size()); ++i)
        for (const std::string& key : CredentialKeys(i))
            if (!reencipher(kPrefixes[i], key)) return tooLong(kPrefixes[i], key);
    if (!reencipher(kSetting, kProxyPass)) return tooLong(kSetting, kProxyPass);

    // 8. The new master key goes beside the old one first; the settings are then saved in
    // one piece, and only then does the new key file replace the old one.
    // A stop after any of these steps is put right by RecoverKeyFile at the next start or
    // change.
    if (!WriteFileAtomic(newKeyFile, newMaster))
        return fail("the key file " + newKeyFile + " could not be written");
    Reached(ChangeStep::kNewKeyWritten);
    if (!store_.WriteMany(edits)) {
        std::remove(newKeyFile.c_str());
        return fail("the settings file " + store_.Path() + " could not be saved");
    }
    Reached(ChangeStep::kSettingsSaved);
    store_.SetUnlockPassword(newRun);
    storedPass2_ = newPass2;
    if (!ReplaceFile(newKeyFile, keyFile) && WriteFileAtomic(keyFile, newMaster))
        std::remove(newKeyFile.c_str());
    Reached(ChangeStep::kKeyReplaced);

    // 9.
    std::error_code ec;
    std::string shown = std::filesystem::absolute(keyFile, ec).string();
    if (ec) shown = keyFile;
    ui_.Message(Str(kMsgMasterKeySaved) + shown);
    return true;
}

}  // namespace pw
