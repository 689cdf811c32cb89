#pragma once
// The nine accessors of the settings file. Secrets are hex cipher text under the unlock
// password. Nothing is cached: every call reads or writes the file.
#include <cstdint>
#include <string>
#include <vector>

#include "settings/ini_file.h"

namespace pw {

class SettingsStore {
public:
    SettingsStore() = default;
    SettingsStore(std::string path, std::string unlockPassword)
        : path_(std::move(path)), unlock_(std::move(unlockPassword)) {}

    const std::string& Path() const { return path_; }
    void SetPath(std::string path) { path_ = std::move(path); }
    const std::string& UnlockPassword() const { return unlock_; }
    void SetUnlockPassword(std::string p) { unlock_ = std::move(p); }

    // Integer rule: optional sign and leading digits, rest ignored (12abc is 12, abc is 0);
    // a missing or empty value gives def.
    int32_t GetInt(const std::string& section, const std::string& key, int32_t def) const;
    void WriteInt(const std::string& section, const std::string& key, int32_t value) const;
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& def = std::string()) const;
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) const;
    // A secret that does not decipher reads as empty; an empty plain value is stored empty.
    std::string GetSecret(const std::string& section, const std::string& key) const;
    std::string GetSecretWithKey(const std::string& section, const std::string& key,
                                 const std::string& keyText) const;
    void WriteSecret(const std::string& section, const std::string& key,
                     const std::string& value) const;
    void WriteSecretWithKey(const std::string& section, const std::string& key,
                            const std::string& value, const std::string& keyText) const;

    // As the two above, but false when nothing was stored: a non-empty value that cannot be
    // enciphered (longer than kMaxPlainBytes) leaves the old value in place, as does a file
    // that cannot be written.
    bool TryWriteSecret(const std::string& section, const std::string& key,
                        const std::string& value) const;
    bool TryWriteSecretWithKey(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& keyText) const;

    // Several writes as one atomic save of the file; false when it could not be written.
    bool WriteMany(const std::vector<IniEdit>& edits) const;

    // The enciphered form of a secret value as WriteSecretWithKey stores it ("" for "", and
    // "" when the value cannot be enciphered).
    static std::string SecretText(const std::string& value, const std::string& keyText);
    // As SecretText, but false when a non-empty value cannot be enciphered.
    static bool TrySecretText(const std::string& value, const std::string& keyText,
                              std::string& out);
    // Deciphers a stored secret text: true with "" for an empty text, false when a non-empty
    // text does not decipher under keyText.
    static bool TryPlainText(const std::string& stored, const std::string& keyText,
                             std::string& out);

private:
    std::string path_;
    std::string unlock_;
};

// Several settings values changed as one: the writes are collected, secrets enciphered as
// they come, and Commit stores them all with one read and one atomic save of the file. When
// one value cannot be stored (a secret too long to encipher) the whole change is refused and
// the file stays as it was. The plain texts of secrets are not kept.
class SettingsBatch {
public:
    // kFileTooLarge: the settings file is larger than it can be read whole (FileSize()).
    enum class Failure { kNone, kSecretTooLong, kNoCipher, kNotWritten, kFileTooLarge };

    explicit SettingsBatch(const SettingsStore& store) : store_(store) {}
    SettingsBatch(const SettingsBatch&) = delete;
    SettingsBatch& operator=(const SettingsBatch&) = delete;

    void WriteInt(const std::string& section, const std::string& key, int32_t value);
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value);
    void WriteSecret(const std::string& section, const std::string& key,
                     const std::string& value);
    void WriteSecretWithKey(const std::string& section, const std::string& key,
                            const std::string& value, const std::string& keyText);

    std::size_t Size() const { return edits_.size(); }
    // True when everything was stored (an empty change stores nothing and succeeds).
    bool Commit();
    Failure Failed() const { return failure_; }
    // The section and key of the secret that could not be enciphered.
    const std::string& FailedSection() const { return failedSection_; }
    const std::string& FailedKey() const { return failedKey_; }
    // The size of the settings file when it was too large (kFileTooLarge).
    std::uint64_t FileSize() const { return fileSize_; }

private:
    const SettingsStore& store_;
    std::vector<IniEdit> edits_;
    Failure failure_ = Failure::kNone;
    std::string failedSection_, failedKey_;
    std::uint64_t fileSize_ = 0;
};

// C rule for leading digits, as atoi does (no overflow trap: out-of-range values clamp).
int32_t ParseLeadingInt(const std::string& text);

// Overwrites a string that held a password or a plain secret, then empties it.
void WipeString(std::string& s);

}  // namespace pw
