#include "settings/gui/mkey_prompt.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QShowEvent>

#include "settings/gui/prompt_frame.h"
#include "settings/gui/secure_clear.h"
#include "ui/base/tr.h"

namespace pw {

CMKeyPrompt::CMKeyPrompt(QWidget* parent) : QDialog(parent) {
    setObjectName("CMKeyPrompt");
    setWindowTitle(Purseward::tr("Master-key"));

    edit_ = new QPlainTextEdit(this);
    edit_->setObjectName("edit1002");
    edit_->setAccessibleName(Purseward::tr("Master-key"));
    edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit_->setTabChangesFocus(true);
    edit_->setUndoRedoEnabled(false);
    edit_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    edit_->setMinimumWidth(420);
    edit_->setFixedHeight(edit_->fontMetrics().height() * 2 +
                          edit_->horizontalScrollBar()->sizeHint().height() + 12);

    LayOutPrompt(*this, edit_);
}

CMKeyPrompt::~CMKeyPrompt() {
    ClearEdit(edit_);
    WipeString(text_);
}

std::string CMKeyPrompt::TakeText() { return TakePromptText(text_); }

void CMKeyPrompt::done(int result) {
    WipeString(text_);
    // The key is hex text without meaningful blanks: a line end or spaces picked up with a
    // paste around it are dropped.
    if (result == QDialog::Accepted) text_ = edit_->toPlainText().trimmed().toStdString();
    ClearEdit(edit_);
    QDialog::done(result);
}

void CMKeyPrompt::showEvent(QShowEvent* event) {
    ClearEdit(edit_);
    QDialog::showEvent(event);
    edit_->setFocus(Qt::OtherFocusReason);
}

std::optional<std::string> CMKeyPrompt::Ask(QWidget* parent) {
    CMKeyPrompt dlg(parent);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return dlg.TakeText();
}

}  // namespace pw
