#include "accounts/gui/auto_refresh_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "accounts/gui/field_validators.h"
#include "ui/base/tr.h"

namespace pw {

AutoRefreshDialog::AutoRefreshDialog(int minutes, QWidget* parent) : QDialog(parent) {
    setWindowTitle(Purseward::tr("AutoRefresh balance"));
    auto* label = new QLabel(Purseward::tr("AutoRefresh balance every"), this);
    edit_ = new QLineEdit(QString::number(minutes), this);
    edit_->setValidator(new NoSeparatorValidator(true, edit_));
    edit_->setMaxLength(9);
    edit_->setAccessibleName(Purseward::tr("AutoRefresh balance every"));
    label->setBuddy(edit_);
    auto* unit = new QLabel(Purseward::tr("minutes"), this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(Purseward::tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(Purseward::tr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(edit_);
    row->addWidget(unit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    edit_->selectAll();
    edit_->setFocus();
}

std::optional<int> AutoRefreshDialog::Minutes() const {
    bool ok = false;
    const int v = edit_->text().toInt(&ok);
    if (!ok) return std::nullopt;
    return v;
}

std::optional<int> AutoRefreshDialog::Ask(QWidget* parent, int minutes) {
    AutoRefreshDialog dlg(minutes, parent);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    // An empty or oversized number is out of range for the caller's check.
    return dlg.Minutes().value_or(-1);
}

}  // namespace pw
