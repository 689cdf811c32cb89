#pragma once
// The "AutoRefresh balance" dialog: "AutoRefresh balance every" N "minutes", OK, Cancel.
// The tab asks for the number through ModalUi::PromptNumber and checks its range itself; a
// Qt ModalUi shows this dialog for that prompt.
#include <QDialog>
#include <optional>

class QLineEdit;

namespace pw {

class AutoRefreshDialog : public QDialog {
    Q_OBJECT
public:
    explicit AutoRefreshDialog(int minutes, QWidget* parent = nullptr);
    // The number typed; nullopt when the edit is empty or the number does not fit an int.
    std::optional<int> Minutes() const;
    QLineEdit* Edit() const { return edit_; }

    // Shows the dialog modally; nullopt when cancelled.
    static std::optional<int> Ask(QWidget* parent, int minutes);

private:
    QLineEdit* edit_;
};

}  // namespace pw
