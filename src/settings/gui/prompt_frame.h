#pragma once
// What the two prompt dialogs share: the edit above OK (the default button) and Cancel, in
// that tab order.
#include <string>

class QDialog;
class QWidget;

namespace pw {

void LayOutPrompt(QDialog& dialog, QWidget* edit);

// Hands the text over and leaves the source empty.
std::string TakePromptText(std::string& text);

}  // namespace pw
