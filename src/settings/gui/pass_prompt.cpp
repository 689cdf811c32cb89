#include "settings/gui/pass_prompt.h"

#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>

#include "settings/gui/prompt_frame.h"
#include "settings/gui/secure_clear.h"
#include "ui/base/tr.h"

namespace pw {

CPassPrompt::CPassPrompt(QWidget* parent) : QDialog(parent) {
    setObjectName("CPassPrompt");
    setWindowTitle(Purseward::tr("Password"));

    edit_ = new QLineEdit(this);
    edit_->setObjectName("edit1002");
    edit_->setEchoMode(QLineEdit::Password);
    edit_->setAccessibleName(Purseward::tr("Password"));
    edit_->setMinimumWidth(180);

    LayOutPrompt(*this, edit_);
}

CPassPrompt::~CPassPrompt() {
    ClearEdit(edit_);
    WipeString(text_);
}

std::string CPassPrompt::TakeText() { return TakePromptText(text_); }

void CPassPrompt::done(int result) {
    WipeString(text_);
    if (result == QDialog::Accepted) text_ = edit_->text().toStdString();
    ClearEdit(edit_);
    QDialog::done(result);
}

void CPassPrompt::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    edit_->setFocus(Qt::OtherFocusReason);
}

std::optional<std::string> CPassPrompt::Ask(QWidget* parent) {
    CPassPrompt dlg(parent);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return dlg.TakeText();
}

}  // namespace pw
