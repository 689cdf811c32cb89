#pragma once
// Emptying of the widgets and strings that held a password, so that no copy stays behind.
#include <string>

class QLineEdit;
class QPlainTextEdit;

namespace pw {

// Overwrites the bytes, then empties the string.
void WipeString(std::string& s);
// Empties the edit and its undo history.
void ClearEdit(QLineEdit* edit);
void ClearEdit(QPlainTextEdit* edit);

}  // namespace pw
