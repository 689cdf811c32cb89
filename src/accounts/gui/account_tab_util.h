#pragma once
// Conversions shared by the files of the account tab.
#include <openssl/crypto.h>

#include <QByteArray>
#include <QDate>
#include <QString>
#include <string>
#include <string_view>

#include "accounts/account_client.h"

namespace pw::tabutil {

inline QString Q(const std::string& s) { return QString::fromStdString(s); }
inline std::string S(const QString& s) { return s.toStdString(); }
// The text of an edit that holds a credential: its bytes go straight into a SecureString and
// the conversion's buffer is overwritten (the edit's own QString is Qt's).
inline SecureString SecureS(const QString& s) {
    QByteArray bytes = s.toUtf8();
    SecureString out(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    OPENSSL_cleanse(bytes.data(), static_cast<std::size_t>(bytes.size()));
    return out;
}
inline QString QSecure(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
inline QDate ToQDate(const Date& d) { return QDate(d.year, d.month, d.day); }
inline Date FromQDate(const QDate& d) { return Date{d.year(), d.month(), d.day()}; }
// A settings key the system has.
inline bool Has(const char* key) { return key != nullptr && key[0] != '\0'; }

}  // namespace pw::tabutil
