#include "accounts/gui/field_validators.h"

namespace pw {

QValidator::State NoSeparatorValidator::validate(QString& input, int&) const {
    for (const QChar c : input) {
        if (c == QLatin1Char('~')) return Invalid;
        if (digitsOnly_ && !c.isDigit()) return Invalid;
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) return Invalid;
    }
    return Acceptable;
}

}  // namespace pw
