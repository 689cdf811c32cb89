#pragma once
// The "Password" prompt: one masked line, OK and Cancel. The typed text is taken when OK
// closes the dialog and the edit is emptied at once, so no copy stays in the widget.
#include <optional>
#include <string>

#include <QDialog>

class QLineEdit;

namespace pw {

class CPassPrompt : public QDialog {
    Q_OBJECT
public:
    explicit CPassPrompt(QWidget* parent = nullptr);
    ~CPassPrompt() override;

    // Shows the prompt modally; the typed text on OK, nullopt on Cancel.
    static std::optional<std::string> Ask(QWidget* parent = nullptr);

    // The text taken by the last OK (empty before one and after Cancel).
    const std::string& Text() const { return text_; }
    // Hands the taken text over and forgets it.
    std::string TakeText();

    QLineEdit* Edit() const { return edit_; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* edit_;
    std::string text_;
};

}  // namespace pw
