#pragma once
// Validators of the tab's edits: no value may hold "~", the separator of every row and record.
#include <QValidator>

namespace pw {

class NoSeparatorValidator : public QValidator {
    Q_OBJECT
public:
    // digitsOnly: a number edit (count, batch).
    explicit NoSeparatorValidator(bool digitsOnly, QObject* parent = nullptr)
        : QValidator(parent), digitsOnly_(digitsOnly) {}
    State validate(QString& input, int& pos) const override;

private:
    bool digitsOnly_;
};

}  // namespace pw
