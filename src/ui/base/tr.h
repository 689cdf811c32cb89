#pragma once
// Every text a window shows goes through Qt's translation system, in the one context
// "Purseward" (the context of the string table too), so that one text has one translation
// wherever it appears:
//
//   Purseward::tr("Settings")                     a text written in a window's code
//   QT_TRANSLATE_NOOP("Purseward", "Batch")       a text kept in a table of the core; the
//   TrText(text)                                  window translates it where it shows it
//
// The English texts are the source texts; res/translations/*.ts hold their translations.
#include <QCoreApplication>
#include <QString>
#include <string>

namespace pw {

class Purseward {
    Q_DECLARE_TR_FUNCTIONS(Purseward)
};

// The translation of a byte text (UTF-8) of the core that a table marked with
// QT_TRANSLATE_NOOP; a text without a translation is shown as it is.
inline QString TrText(const std::string& text) {
    return Purseward::tr(text.c_str());
}

}  // namespace pw
