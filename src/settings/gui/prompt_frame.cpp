#include "settings/gui/prompt_frame.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace pw {

void LayOutPrompt(QDialog& dialog, QWidget* edit) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    QWidget::setTabOrder(edit, buttons);
}

std::string TakePromptText(std::string& text) {
    std::string out = std::move(text);
    text.clear();
    return out;
}

}  // namespace pw
