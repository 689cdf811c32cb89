#include "settings/gui/secure_clear.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace pw {

void ClearEdit(QLineEdit* edit) {
    if (!edit) return;
    // setText, unlike clear(), also drops the undo history.
    edit->setText(QString());
}

void ClearEdit(QPlainTextEdit* edit) {
    if (!edit) return;
    // clear() drops the undo history as well.
    edit->clear();
}

}  // namespace pw
