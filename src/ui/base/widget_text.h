#pragma once
// Texts that come from a server or a file and are put into a menu item, a button, a label or a
// tab caption: there an "&" would mark the next character as the keyboard shortcut and vanish.
#include <QString>
#include <string>

namespace pw {

// text with every "&" doubled, so that the widget shows it as it is and takes no shortcut
// from it. Apply it once, where the text meets the widget.
QString EscapeMnemonics(const QString& text);
QString EscapeMnemonics(const std::string& text);

}  // namespace pw
