#pragma once
// Conversions shared by the files of the account tab.
#include <QDate>
#include <QString>
#include <string>

#include "accounts/account_client.h"

namespace pw::tabutil {

inline QString Q(const std::string& s) { return QString::fromStdString(s); }
inline std::string S(const QString& s) { return s.toStdString(); }
inline QDate ToQDate(const Date& d) { return QDate(d.year, d.month, d.day); }
inline Date FromQDate(const QDate& d) { return Date{d.year(), d.month(), d.day()}; }
// A settings key the system has.
inline bool Has(const char* key) { return key != nullptr && key[0] != '\0'; }

}  // namespace pw::tabutil
