#pragma once
// Emptying of the edits that held a password, so that no copy stays in the widget. Strings
// are wiped with WipeString of the settings store.
#include "settings/settings_store.h"

class QLineEdit;
class QPlainTextEdit;

namespace pw {

// Empties the edit and its undo history.
void ClearEdit(QLineEdit* edit);
void ClearEdit(QPlainTextEdit* edit);

}  // namespace pw
