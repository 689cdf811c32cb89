#include "settings/settings_store.h"

#include <openssl/crypto.h>

#include <cstdio>
#include <limits>

#include "crypto/cipher.h"

namespace pw {

int32_t ParseLeadingInt(const std::string& text) {
    std::size_t i = 0;
    auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (i < text.size() && isSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t v = 0;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        v = v * 10 + (text[i] - '0');
        if (v > kLimit) v = kLimit;  // saturate; the digits that follow change nothing
    }
    if (negative) v = -v;
    if (v > std::numeric_limits<int32_t>::max()) v = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

void WipeString(std::string& s) {
    if (!s.empty()) OPENSSL_cleanse(s.data(), s.size());
    s.clear();
}

int32_t SettingsStore::GetInt(const std::string& section, const std::string& key,
                              int32_t def) const {
    std::string text;
    if (!IniRead(path_, section, key, text)) return def;
    return ParseLeadingInt(text);
}

void SettingsStore::WriteInt(const std::string& section, const std::string& key,
                             int32_t value) const {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", static_cast<int>(value));
    IniWrite(path_, section, key, buf);
}

std::string SettingsStore::GetString(const std::string& section, const std::string& key,
                                     const std::string& def) const {
    std::string text;
    if (!IniRead(path_, section, key, text)) return def;
    return text;
}

void SettingsStore::WriteString(const std::string& section, const std::string& key,
                                const std::string& value) const {
    IniWrite(path_, section, key, value);
}

std::string SettingsStore::GetSecret(const std::string& section, const std::string& key) const {
    return GetSecretWithKey(section, key, unlock_);
}

std::string SettingsStore::GetSecretWithKey(const std::string& section, const std::string& key,
                                            const std::string& keyText) const {
    std::string plain;
    TryPlainText(GetString(section, key), keyText, plain);
    return plain;
}

void SettingsStore::WriteSecret(const std::string& section, const std::string& key,
                                const std::string& value) const {
    TryWriteSecretWithKey(section, key, value, unlock_);
}

void SettingsStore::WriteSecretWithKey(const std::string& section, const std::string& key,
                                       const std::string& value,
                                       const std::string& keyText) const {
    TryWriteSecretWithKey(section, key, value, keyText);
}

bool SettingsStore::TryWriteSecret(const std::string& section, const std::string& key,
                                   const std::string& value) const {
    return TryWriteSecretWithKey(section, key, value, unlock_);
}

bool SettingsStore::TryWriteSecretWithKey(const std::string& section, const std::string& key,
                                          const std::string& value,
                                          const std::string& keyText) const {
    std::string hex;
    if (!TrySecretText(value, keyText, hex)) return false;
    return IniWrite(path_, section, key, hex);
}

bool SettingsStore::WriteMany(const std::vector<IniEdit>& edits) const {
    return IniWriteMany(path_, edits);
}

void SettingsBatch::WriteInt(const std::string& section, const std::string& key,
                             int32_t value) {
    edits_.push_back({section, key, std::to_string(value)});
}

void SettingsBatch::WriteString(const std::string& section, const std::string& key,
                                const std::string& value) {
    edits_.push_back({section, key, value});
}

void SettingsBatch::WriteSecret(const std::string& section, const std::string& key,
                                const std::string& value) {
    WriteSecretWithKey(section, key, value, store_.UnlockPassword());
}

void SettingsBatch::WriteSecretWithKey(const std::string& section, const std::string& key,
                                       const std::string& value, const std::string& keyText) {
    std::string hex;
    if (!SettingsStore::TrySecretText(value, keyText, hex)) {
        if (failure_ == Failure::kNone) {
            failure_ = value.size() > kMaxPlainBytes ? Failure::kSecretTooLong
                                                     : Failure::kNoCipher;
            failedSection_ = section;
            failedKey_ = key;
        }
        return;
    }
    edits_.push_back({section, key, std::move(hex)});
}

bool SettingsBatch::Commit() {
    if (failure_ != Failure::kNone) return false;
    if (edits_.empty()) return true;
    if (!store_.WriteMany(edits_)) {
        const std::optional<std::uint64_t> size = IniTooLarge(store_.Path());
        failure_ = size ? Failure::kFileTooLarge : Failure::kNotWritten;
        fileSize_ = size.value_or(0);
        return false;
    }
    edits_.clear();
    return true;
}

std::string SettingsStore::SecretText(const std::string& value, const std::string& keyText) {
    std::string hex;
    TrySecretText(value, keyText, hex);
    return hex;
}

bool SettingsStore::TrySecretText(const std::string& value, const std::string& keyText,
                                  std::string& out) {
    out.clear();
    if (value.empty()) return true;
    return Encipher(value, keyText, out);
}

bool SettingsStore::TryPlainText(const std::string& stored, const std::string& keyText,
                                 std::string& out) {
    out.clear();
    if (stored.empty()) return true;
    if (Decipher(stored, keyText, out)) return true;
    WipeString(out);  // a long text may have left a partial result
    return false;
}

}  // namespace pw
