#include "ui/base/widget_text.h"

namespace pw {

QString EscapeMnemonics(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('&'), QLatin1String("&&"));
    return out;
}

QString EscapeMnemonics(const std::string& text) {
    return EscapeMnemonics(QString::fromStdString(text));
}

}  // namespace pw
