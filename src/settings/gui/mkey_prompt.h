#pragma once
// The "Master-key" prompt: a multi-line edit that scrolls sideways instead of wrapping, OK
// and Cancel. The edit is emptied when the prompt is shown and again when it closes. Blanks
// and line ends around the pasted key are not part of it.
#include <optional>
#include <string>

#include <QDialog>

class QPlainTextEdit;

namespace pw {

class CMKeyPrompt : public QDialog {
    Q_OBJECT
public:
    explicit CMKeyPrompt(QWidget* parent = nullptr);
    ~CMKeyPrompt() override;

    // Shows the prompt modally; the pasted text on OK, nullopt on Cancel.
    static std::optional<std::string> Ask(QWidget* parent = nullptr);

    const std::string& Text() const { return text_; }
    std::string TakeText();

    QPlainTextEdit* Edit() const { return edit_; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPlainTextEdit* edit_;
    std::string text_;
};

}  // namespace pw
